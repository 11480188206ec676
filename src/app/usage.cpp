#include "app/usage.h"

#include <cmath>

namespace sevrane {

namespace {
// No real font makes a space narrower than a pixel; this keeps a broken measurement from
// producing an indent wider than any screen.
constexpr std::int32_t kMaxIndent = 64;
} // namespace

std::u16string_view UsageMeasuredText(std::u16string_view usage) {
    const std::size_t firstLf = usage.find(u'\n');
    if (firstLf == std::u16string_view::npos || firstLf + 2 > usage.size()) {
        return {};
    }
    const std::size_t start = firstLf + 2;
    const std::size_t space = usage.find(u' ', start);
    if (space == std::u16string_view::npos) {
        return {};
    }
    return usage.substr(start, space - start + 1);
}

std::int32_t UsageIndentCount(std::int32_t textWidth, float spaceWidth) {
    if (textWidth <= 0 || !(spaceWidth > 0.0f) || !std::isfinite(spaceWidth)) {
        return 0;
    }
    // Single precision on purpose: 52 / 3.5 gives 14, never a rounded-up 15.
    const float quotient = static_cast<float>(textWidth) / spaceWidth;
    if (!(quotient < static_cast<float>(kMaxIndent))) {
        return kMaxIndent;
    }
    return static_cast<std::int32_t>(quotient);
}

std::u16string ExpandUsageTabs(std::u16string_view usage, std::int32_t indent) {
    const std::u16string spaces(static_cast<std::size_t>(indent > 0 ? indent : 0), u' ');
    std::u16string expanded;
    expanded.reserve(usage.size() + 16 * spaces.size());
    for (const char16_t unit : usage) {
        if (unit == u'\t') {
            expanded.append(spaces);
        } else {
            expanded.push_back(unit);
        }
    }
    return expanded;
}

} // namespace sevrane
