// The value of "/i": a file, optionally followed by a comma and an icon index.
#pragma once

#include "vocabulary/settings.h"

#include <string_view>
#include <variant>

namespace sevrane {

enum class IconValueError { InvalidParameter, InvalidIndex };

std::variant<IconSpec, IconValueError> ParseIconValue(std::u16string_view value);

} // namespace sevrane
