#include "app/options.h"

namespace sevrane {
ParseResult ParseArguments(std::span<const std::u16string> arguments, std::int32_t) {
    ParseResult result;
    for (const auto& a : arguments) {
        if (result.settings.title.empty()) result.settings.title = a;
        else if (result.settings.message.empty()) result.settings.message = a;
        else result.settings.items.push_back(a);
    }
    return result;
}
std::optional<std::u16string> CheckSettings(const Settings&) { return std::nullopt; }
} // namespace sevrane
