#include "window/layout.h"

#include "vocabulary/catalogue.h"

#include <algorithm>
#include <limits>

namespace sevrane {

namespace {

// The client area, top to bottom: margin, message, gap, list box, gap, buttons, margin; left to
// right: margin, list box, margin. The buttons hang from the right edge.
constexpr std::int64_t kMarginX = 20;
constexpr std::int64_t kMessageTop = 15;
constexpr std::int64_t kMessageGap = 15;
constexpr std::int64_t kButtonGap = 15;
constexpr std::int64_t kBottomMargin = 15;
constexpr std::int64_t kCancelRightEdge = 20; // from the Cancel button to the client's edge
constexpr std::int64_t kButtonSpacing = 6;    // between OK and Cancel
constexpr std::int64_t kCancelFromRight = kCancelRightEdge + kButtonWidth;
constexpr std::int64_t kOkFromRight = kCancelFromRight + kButtonSpacing + kButtonWidth;
static_assert(kCancelFromRight == 95 && kOkFromRight == 176);
// Every client pixel but the message and the list box.
constexpr std::int64_t kVerticalChrome =
    kMessageTop + kMessageGap + kButtonGap + kButtonHeight + kBottomMargin;
static_assert(kVerticalChrome == 83);
// The list box's border: one pixel on each side.
constexpr std::int64_t kListBorders = 2;
// The client height the list box may not use, its border included.
constexpr std::int64_t kReservedHeight = kVerticalChrome + kListBorders;
// The list box's inner width stays within the work area less the side margins and its border.
constexpr std::int64_t kReservedWidth = 2 * kMarginX + kListBorders;
// Without "/w" the client is never narrower than this, less the frame.
constexpr std::int64_t kMinimumWindowWidth = 160;
constexpr std::int64_t kExtentSlack = 25;
// A scroll bar takes its width and one border pixel.
constexpr std::int64_t kScrollBarBorder = 1;
// Tab stops in dialog units: four to an average character of the list's font. With "/m", the
// units to an average character of the message font: fewer for a font up to six pixels wide.
constexpr std::int32_t kDialogUnitsPerCharacter = 4;
constexpr std::int32_t kNarrowFontWidth = 6;
constexpr double kNarrowFontUnitsPerCharacter = 3.45;
constexpr double kUnitsPerCharacter = 6.25;

std::int32_t Narrow(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

LayoutRect ButtonAt(const LayoutRect& listBox, std::int32_t clientWidth, std::int64_t fromRight) {
    const std::int32_t left = Narrow(clientWidth - fromRight);
    const std::int32_t top = Narrow(std::int64_t{listBox.bottom} + kButtonGap);
    return {left, top, left + kButtonWidth, top + kButtonHeight};
}

// The list box's inner size as the layout grows it, in wide arithmetic: the products of a large
// "/r" must compare exactly.
struct ListSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool horizontalScroll = false;
};

struct Bounds {
    std::int64_t rowHeight = 0;
    std::int64_t scrollWidth = 0;  // a vertical bar and its border pixel
    std::int64_t scrollHeight = 0; // a horizontal bar and its border pixel
    std::int64_t widest = 0;       // the inner width the work area allows
    std::int64_t available = 0;    // the client height left to the list box's rows
    std::int64_t rowLimit = 0;     // non-positive when not even one row fits: refused below
    bool scrollsVertically = false;
};

Bounds BoundsOf(const LayoutInput& in) {
    Bounds b;
    b.rowHeight = in.rowHeight;
    b.scrollWidth = std::int64_t{in.verticalScrollWidth} + kScrollBarBorder;
    b.scrollHeight = std::int64_t{in.horizontalScrollHeight} + kScrollBarBorder;
    b.widest = std::int64_t{in.workWidth} - in.frameX - kReservedWidth;
    b.available = std::int64_t{in.workHeight} - in.frameY - in.messageHeight - kReservedHeight;
    if (in.settings.rows) {
        b.rowLimit = *in.settings.rows;
    } else if (b.rowHeight > 0) {
        b.rowLimit = b.available / b.rowHeight;
    }
    b.scrollsVertically = in.itemCount > b.rowLimit;
    return b;
}

std::int64_t InnerWidth(const LayoutInput& in, const Bounds& b) {
    if (in.settings.width) {
        const std::int64_t width = std::int64_t{*in.settings.width} - in.frameX - kReservedWidth;
        return b.scrollsVertically ? width - b.scrollWidth : width;
    }
    std::int64_t width =
        std::max<std::int64_t>(in.messageWidth, std::int64_t{in.itemWidth} + kExtentSlack);
    width = std::max(width, kMinimumWindowWidth - (in.frameX + kListBorders));
    return std::min(width, b.widest); // applied last: wins when the bounds cross
}

ListSize SizeList(const LayoutInput& in, const Bounds& b) {
    ListSize list;
    list.width = InnerWidth(in, b);
    list.height = b.rowHeight * std::max<std::int64_t>(0, std::min(in.itemCount, b.rowLimit));
    // Room for a horizontal bar when the widest item does not fit.
    if (list.width - kListBorders < in.itemWidth) {
        list.horizontalScroll = true;
        if (list.height + b.scrollHeight < b.available) {
            list.height += b.scrollHeight;
        }
    }
    if (b.scrollsVertically) {
        if (list.width + b.scrollWidth < b.widest) {
            list.width += b.scrollWidth;
        } else if (list.width - b.scrollWidth < in.itemWidth) {
            list.horizontalScroll = true;
        }
    }
    return list;
}

std::optional<LayoutRefusal> FitTest(const LayoutInput& in, const Bounds& b, bool scrolls) {
    const std::int64_t reserved = scrolls ? b.scrollHeight : 0;
    if (b.available < b.rowHeight + reserved) {
        return LayoutRefusal{LayoutRefusal::Kind::MessageTooLarge, 0};
    }
    const std::optional<std::int32_t> rows = in.settings.rows;
    if (rows && std::int64_t{*rows} * b.rowHeight > b.available) {
        return LayoutRefusal{LayoutRefusal::Kind::RowsTooLarge, *rows};
    }
    return std::nullopt;
}

// Past the fit tests every size here lies within the work area.
WindowLayout PlaceWindow(const LayoutInput& in, const ListSize& list) {
    const std::int64_t listWidth = list.width + in.listBoxGrowth.width;
    const std::int64_t listHeight = list.height + in.listBoxGrowth.height;
    const std::int64_t clientWidth = listWidth + 2 * kMarginX;
    const std::int64_t clientHeight = std::int64_t{in.messageHeight} + kVerticalChrome + listHeight;
    const std::int64_t windowWidth = clientWidth + in.mainWindowGrowth.width;
    const std::int64_t windowHeight = clientHeight + in.mainWindowGrowth.height;
    // Truncating halves: an odd remainder goes to the right and the bottom.
    const std::int64_t x = in.workLeft + (in.workWidth - windowWidth) / 2;
    const std::int64_t y = in.workTop + (in.workHeight - windowHeight) / 2;
    const std::int64_t listTop = std::int64_t{in.messageHeight} + kMessageTop + kMessageGap;

    WindowLayout layout;
    layout.messageHeight = in.messageHeight;
    layout.listBox = {Narrow(kMarginX), Narrow(listTop), Narrow(kMarginX + listWidth),
                      Narrow(listTop + listHeight)};
    layout.window = {Narrow(x), Narrow(y), Narrow(x + windowWidth), Narrow(y + windowHeight)};
    layout.horizontalScroll = list.horizontalScroll;
    layout.horizontalExtent = Narrow(std::int64_t{in.itemWidth} + kExtentSlack);
    layout.tabStop = ListTabStop(in.settings, in.averageCharWidth);
    return layout;
}

} // namespace

LayoutRect WindowLayout::OkButton(std::int32_t clientWidth) const {
    return ButtonAt(listBox, clientWidth, kOkFromRight);
}

LayoutRect WindowLayout::CancelButton(std::int32_t clientWidth) const {
    return ButtonAt(listBox, clientWidth, kCancelFromRight);
}

LayoutRect MessageRectIn(const LayoutRect& client, std::int32_t messageHeight) {
    const std::int32_t top = Narrow(client.top + kMessageTop);
    return {Narrow(client.left + kMarginX), top, Narrow(client.right - kMarginX),
            top + messageHeight};
}

std::int32_t MaximumMessageWidth(const LayoutInput& input) {
    const std::int64_t bound = input.settings.width.value_or(input.workWidth);
    return Narrow(bound - input.frameX - 2 * kMarginX);
}

std::int32_t MaximumMessageHeight(const LayoutInput& input) {
    return Narrow(std::int64_t{input.workHeight} - input.frameY);
}

std::optional<std::int32_t> ListTabStop(const WindowSettings& settings,
                                        std::int32_t averageCharWidth) {
    if (settings.useUiFont) {
        // Dialog units per average character of the message font, in double precision.
        const double factor = averageCharWidth <= kNarrowFontWidth ? kNarrowFontUnitsPerCharacter
                                                                   : kUnitsPerCharacter;
        return static_cast<std::int32_t>(settings.TabLength() * factor);
    }
    if (settings.tabLength) {
        return *settings.tabLength * kDialogUnitsPerCharacter;
    }
    return std::nullopt;
}

LayoutResult ComputeLayout(const LayoutInput& in) {
    const Bounds bounds = BoundsOf(in);
    const ListSize list = SizeList(in, bounds);
    if (const auto refusal = FitTest(in, bounds, list.horizontalScroll)) {
        return *refusal;
    }
    return PlaceWindow(in, list);
}

std::optional<std::int32_t> NarrowerMessageWidth(const LayoutInput& input) {
    const LayoutResult first = ComputeLayout(input);
    const auto* layout = std::get_if<WindowLayout>(&first);
    if (layout == nullptr || layout->listBox.Width() >= input.messageWidth) {
        return std::nullopt; // refused whatever the message's width, or wide enough
    }
    return layout->listBox.Width();
}

Failure RefusalFailure(const LayoutRefusal& refusal) {
    if (refusal.kind == LayoutRefusal::Kind::MessageTooLarge) {
        return Failure{MessageId::MsgMessageTooLarge, {}};
    }
    return Failure{MessageId::MsgRowsTooLarge, FormatNumber(refusal.rows)};
}

} // namespace sevrane
