// The width of list items as the list box draws them, measured in a device context that holds
// the list box's font.
#pragma once

#include "window/text_width.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace sevrane {

// The list box's average character width, the one it converts its tab stops with.
std::int32_t ListAverageWidth(HDC dc);

// The distances of the tab stops the list box draws with: its one stop converted, or without one
// the defaults of both platforms.
TabDistances ListTabDistances(HDC dc, std::optional<std::int32_t> tabStop,
                              std::int32_t averageCharWidth);

// The advances of plain characters in the font the device context holds, as the list box's
// drawing steps by them; what it cannot give is left negative.
AdvanceTable::Source ItemAdvances(HDC dc);

class ItemMeasure {
public:
    ItemMeasure(HDC dc, TabDistances tabs);

    // An item as the list box draws it with TabbedTextOutW: one line, in which CR and LF are
    // glyphs of the font like any other character, each run between TABs as wide as
    // GetTextExtentPoint32W measures it, the TABs at the stops, which count from the list box's
    // edge and not from the text a pixel inside it. Widths come from the advance table when
    // every character allows it, from the platform otherwise.
    std::int32_t Width(const char16_t* item);

private:
    std::int32_t PlatformWidth(const char16_t* item);

    HDC dc_;
    TabDistances tabs_;
    AdvanceTable table_;
};

} // namespace sevrane
