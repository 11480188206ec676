// The window's geometry from measured values: plain arithmetic, no platform calls.
#pragma once

#include "vocabulary/catalogue.h"
#include "vocabulary/settings.h"

#include <cstdint>
#include <optional>
#include <variant>

namespace sevrane {

// What AdjustWindowRect adds to a client rectangle of one window style.
struct FrameGrowth {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Everything the geometry depends on, as measured on the platform.
struct LayoutInput {
    // Work area, screen coordinates.
    std::int32_t workLeft = 0;
    std::int32_t workTop = 0;
    std::int32_t workWidth = 0;
    std::int32_t workHeight = 0;
    // Frame overhead of the main window as created: outer minus client size.
    std::int32_t frameX = 0;
    std::int32_t frameY = 0;
    // Metrics of the measuring font.
    std::int32_t rowHeight = 0;        // tmHeight
    std::int32_t averageCharWidth = 0; // tmAveCharWidth
    std::int32_t verticalScrollWidth = 0;
    std::int32_t horizontalScrollHeight = 0;
    FrameGrowth mainWindowGrowth;
    FrameGrowth listBoxGrowth;
    // What the command line asks, and how many items there are.
    WindowSettings settings;
    std::int64_t itemCount = 0;
    // Measured texts.
    std::int32_t messageWidth = 0;
    std::int32_t messageHeight = 0;
    std::int32_t itemWidth = 0; // the widest item, 0 for an empty list
};

struct LayoutRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

inline constexpr std::int32_t kButtonWidth = 75;
inline constexpr std::int32_t kButtonHeight = 23;

struct WindowLayout {
    std::int32_t messageHeight = 0;
    LayoutRect listBox; // in the main window's client area
    LayoutRect window;  // outer rectangle, screen coordinates
    bool horizontalScroll = false;
    std::int32_t horizontalExtent = 0; // sent only with horizontalScroll
    std::optional<std::int32_t> tabStop;

    // The buttons hang from the right edge of the client area as the window really got it.
    LayoutRect OkButton(std::int32_t clientWidth) const;
    LayoutRect CancelButton(std::int32_t clientWidth) const;
};

// The message's rectangle in a client rectangle, for a message of the measured height: all the
// window procedure needs in order to paint.
LayoutRect MessageRectIn(const LayoutRect& client, std::int32_t messageHeight);

struct LayoutRefusal {
    enum class Kind { MessageTooLarge, RowsTooLarge };
    Kind kind = Kind::MessageTooLarge;
    std::int32_t rows = 0; // the "/r" value, for RowsTooLarge

    friend bool operator==(const LayoutRefusal&, const LayoutRefusal&) = default;
};

using LayoutResult = std::variant<WindowLayout, LayoutRefusal>;

// The widest message the window can hold, and the height it may take, for measuring.
std::int32_t MaximumMessageWidth(const LayoutInput& input);
std::int32_t MaximumMessageHeight(const LayoutInput& input);

LayoutResult ComputeLayout(const LayoutInput& input);

// The message is painted in the client area less its side margins, which is as wide as the
// list box. When the layout leaves it less than the width it was measured at (a "/w" as wide as
// the work area, with more items than rows, keeps the room for the vertical bar), the message
// must be measured again at that width, which this gives; none when it fits or is refused. A
// taller message only leaves fewer rows, so the list keeps its bar and its width: one new
// measurement settles it.
std::optional<std::int32_t> NarrowerMessageWidth(const LayoutInput& input);

// The list box's one tab stop, or none when it keeps its own defaults.
std::optional<std::int32_t> ListTabStop(const WindowSettings& settings,
                                        std::int32_t averageCharWidth);

// The warning a refusal is reported with.
Failure RefusalFailure(const LayoutRefusal& refusal);

} // namespace sevrane
