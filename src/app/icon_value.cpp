#include "app/icon_value.h"
namespace sevrane {
std::variant<IconSpec, IconValueError> parseIconValue(std::u16string_view value) {
    return IconSpec{std::u16string(value), 0};
}
} // namespace sevrane
