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

// The distance in pixels of the tab stops the list box draws with: its one stop converted, or
// without one the wider of the platforms' defaults.
std::int32_t ListTabPixels(HDC dc, std::optional<std::int32_t> tabStop,
                           std::int32_t averageCharWidth);

class ItemMeasure {
public:
    // params: the DRAWTEXTPARAMS of the items without TABs; tabPixels: the list box's stops.
    ItemMeasure(HDC dc, const DRAWTEXTPARAMS& params, std::int32_t tabPixels);

    // An item without TABs measures as DrawTextExW measures it; an item with TABs as
    // TabbedTextOutW lays it out at the list box's stops. Widths come from the advance table
    // when every character allows it, from the platform otherwise.
    std::int32_t Width(const char16_t* item);

    // Items measured by the platform so far.
    std::size_t PlatformCount() const { return platformCount_; }

private:
    std::int32_t PlatformWidth(const char16_t* item, bool tabbed);

    HDC dc_;
    DRAWTEXTPARAMS params_;
    std::int32_t tabPixels_;
    AdvanceTable table_;
    std::size_t platformCount_ = 0;
};

} // namespace sevrane
