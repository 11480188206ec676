// The command line turned into Settings, or the text of its first error.
#pragma once

#include "vocabulary/settings.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sevrane {

struct ParseResult {
    Settings settings;
    std::optional<std::u16string> error; // the first error found; settings are then partial
};

// One left-to-right walk over the arguments (without the program path); stops at the first error.
ParseResult ParseArguments(std::span<const std::u16string> arguments, std::int32_t workAreaWidth);

// The checks of the record as a whole, in their fixed order; the first failure's text.
std::optional<std::u16string> CheckSettings(const Settings& settings);

} // namespace sevrane
