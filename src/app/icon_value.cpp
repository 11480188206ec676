#include "app/icon_value.h"

#include <cstdint>
#include <limits>
#include <string>

namespace sevrane {
namespace {

// The index text has already been checked to be an optional leading "-" and digits. An empty
// text or a lone "-" is 0; magnitudes beyond the 32-bit range stop at its ends.
std::int32_t ConvertIndex(std::u16string_view text) {
    const bool negative = !text.empty() && text.front() == u'-';
    if (negative) {
        text.remove_prefix(1);
    }
    // One above INT32_MAX is the largest magnitude that still matters (INT32_MIN).
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char16_t digit : text) {
        magnitude = magnitude * 10 + (digit - u'0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-magnitude);
    }
    return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max()
                               : static_cast<std::int32_t>(magnitude);
}

} // namespace

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
    spec.index = ConvertIndex(text);
    // -1 would make the extraction count the icons instead of returning one.
    if (spec.index == -1) {
        return IconValueError::InvalidIndex;
    }
    return spec;
}

} // namespace sevrane
