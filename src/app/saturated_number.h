// Decimal digits as a signed 32-bit number that stops at the range's ends however many digits
// (leading zeros included) it has: the rule of the numeric options and of the icon index.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace sevrane {

// None when a unit is not a digit; an empty text is 0.
inline std::optional<std::int32_t> ParseSaturatedNumber(std::u16string_view digits,
                                                        bool negative = false) {
    // One above INT32_MAX is the largest magnitude that still matters (INT32_MIN).
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (const char16_t unit : digits) {
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        magnitude = std::min(magnitude * 10 + (unit - u'0'), kMax + 1);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : std::min(magnitude, kMax));
}

} // namespace sevrane
