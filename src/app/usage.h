// The arithmetic of the usage box's indent, apart from the font that is measured for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sevrane {

// The part of the usage text whose width sets the indent: the start of its third line up to
// and including the first space there ("sevrane " in both languages).
std::u16string_view UsageMeasuredText(std::u16string_view usage);

// How many spaces of width spaceWidth fit into textWidth, truncated. A space width that is
// not a positive number, or a measurement that failed (negative width), gives no indent.
std::int32_t UsageIndentCount(std::int32_t textWidth, float spaceWidth);

// The usage text with every TAB replaced by indent spaces; nothing else changes.
std::u16string ExpandUsageTabs(std::u16string_view usage, std::int32_t indent);

} // namespace sevrane
