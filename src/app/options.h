// The command line turned into Settings, or its first failure.
#pragma once

#include "vocabulary/catalogue.h"
#include "vocabulary/settings.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sevrane {

struct ParseResult {
    Settings settings;
    std::optional<Failure> error; // the first error found; settings are then partial
};

// One left-to-right walk over the arguments (without the program path); stops at the first error.
ParseResult ParseArguments(std::span<const std::u16string> arguments, std::int32_t workAreaWidth);

// The checks of the record as a whole, in their fixed order; the first failure.
std::optional<Failure> CheckSettings(const Settings& settings);

} // namespace sevrane
