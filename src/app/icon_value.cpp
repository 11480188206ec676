#include "app/icon_value.h"

#include "app/saturated_number.h"

#include <string>

namespace sevrane {

std::variant<IconSpec, IconValueError> ParseIconValue(std::u16string_view value) {
    const std::size_t comma = value.find(u',');
    if (comma == std::u16string_view::npos) {
        // Without a comma the whole value is the file, whatever it holds.
        return IconSpec{std::u16string(value), 0};
    }
    if (comma == 0 || comma == value.size() - 1 || value.rfind(u',') != comma) {
        return IconValueError::InvalidParameter;
    }

    IconSpec spec{std::u16string(value.substr(0, comma)), 0};
    std::size_t start = comma + 1;
    if (value[start] == u' ') {
        ++start; // exactly one space after the comma is allowed
    }
    const std::u16string_view text = value.substr(start);
    if (text.find_first_not_of(u"-0123456789") != std::u16string_view::npos) {
        return IconValueError::InvalidIndex;
    }
    const std::size_t minus = text.find(u'-');
    if (minus != std::u16string_view::npos &&
        (minus != 0 || text.find(u'-', 1) != std::u16string_view::npos)) {
        return IconValueError::InvalidIndex;
    }
    // An empty index or a lone "-" is 0.
    const bool negative = !text.empty() && text.front() == u'-';
    spec.index = ParseSaturatedNumber(text.substr(negative ? 1 : 0), negative).value_or(0);
    // -1 would make the extraction count the icons instead of returning one.
    if (spec.index == -1) {
        return IconValueError::InvalidIndex;
    }
    return spec;
}

} // namespace sevrane
