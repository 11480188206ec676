#include "window/layout.h"

#include "vocabulary/catalogue.h"

#include <algorithm>
#include <limits>

namespace sevrane {

namespace {

// Client-area budget, top to bottom: 15 margin, message, 15 gap, list box, 15 gap, buttons 23,
// 15 margin. Left to right: 20 margin, list box, 20 margin.
constexpr std::int64_t kMarginX = 20;
constexpr std::int64_t kMessageTop = 15;
constexpr std::int64_t kVerticalChrome = 83;
// The client height the list box may not use, its two border pixels included.
constexpr std::int64_t kReservedHeight = kVerticalChrome + 2;
// The list box's inner width stays within the work area less the side margins and its border.
constexpr std::int64_t kReservedWidth = 2 * kMarginX + 2;
// Without "/w" the client is never narrower than this, less the frame.
constexpr std::int64_t kMinimumWindowWidth = 160;
constexpr std::int64_t kExtentSlack = 25;

std::int32_t Narrow(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

LayoutRect WindowLayout::OkButton(std::int32_t clientWidth) const {
    const std::int32_t left = clientWidth - 176;
    const std::int32_t top = listBox.bottom + 15;
    return {left, top, left + kButtonWidth, top + kButtonHeight};
}

LayoutRect WindowLayout::CancelButton(std::int32_t clientWidth) const {
    const std::int32_t left = clientWidth - 95;
    const std::int32_t top = listBox.bottom + 15;
    return {left, top, left + kButtonWidth, top + kButtonHeight};
}

LayoutRect MessageRectIn(const LayoutRect& client, std::int32_t messageHeight) {
    const std::int32_t top = client.top + static_cast<std::int32_t>(kMessageTop);
    return {client.left + static_cast<std::int32_t>(kMarginX), top,
            client.right - static_cast<std::int32_t>(kMarginX), top + messageHeight};
}

std::int32_t MaximumMessageWidth(const LayoutInput& input) {
    const std::int64_t bound = input.widthGiven ? input.width : input.workWidth;
    return Narrow(bound - input.frameX - 2 * kMarginX);
}

std::int32_t MaximumMessageHeight(const LayoutInput& input) {
    return Narrow(std::int64_t{input.workHeight} - input.frameY);
}

std::optional<std::int32_t> ListTabStop(bool useUiFont, bool tabGiven, std::int32_t tabLength,
                                        std::int32_t averageCharWidth) {
    if (useUiFont) {
        // Dialog units per average character of the message font, in double precision.
        const double factor = averageCharWidth <= 6 ? 3.45 : 6.25;
        return static_cast<std::int32_t>(tabLength * factor);
    }
    if (tabGiven) {
        return tabLength * 4;
    }
    return std::nullopt;
}

LayoutResult ComputeLayout(const LayoutInput& in) {
    // Wide arithmetic throughout: the products of a large "/r" must compare exactly.
    const std::int64_t rowHeight = in.rowHeight;
    const std::int64_t itemWidth = in.itemWidth;
    const std::int64_t scrollWidth = std::int64_t{in.verticalScrollWidth} + 1;
    const std::int64_t scrollHeight = std::int64_t{in.horizontalScrollHeight} + 1;
    const std::int64_t widest = std::int64_t{in.workWidth} - in.frameX - kReservedWidth;
    const std::int64_t available =
        std::int64_t{in.workHeight} - in.frameY - in.messageHeight - kReservedHeight;

    // Rows: a non-positive limit is refused by the fit test below.
    std::int64_t rowLimit = 0;
    if (in.rowsGiven) {
        rowLimit = in.rows;
    } else if (rowHeight > 0) {
        rowLimit = available / rowHeight;
    }
    const bool scrollsVertically = in.itemCount > rowLimit;

    // Inner width of the list box.
    std::int64_t innerWidth = 0;
    if (in.widthGiven) {
        innerWidth = std::int64_t{in.width} - in.frameX - kReservedWidth;
        if (scrollsVertically) {
            innerWidth -= scrollWidth;
        }
    } else {
        innerWidth = std::max<std::int64_t>(in.messageWidth, itemWidth + kExtentSlack);
        innerWidth = std::max(innerWidth, kMinimumWindowWidth - (in.frameX + 2));
        innerWidth = std::min(innerWidth, widest); // applied last: wins when the bounds cross
    }

    // Inner height, and room for a horizontal bar when the widest item does not fit.
    std::int64_t innerHeight =
        rowHeight * std::max<std::int64_t>(0, std::min<std::int64_t>(in.itemCount, rowLimit));
    bool horizontalScroll = false;
    if (innerWidth - 2 < itemWidth) {
        horizontalScroll = true;
        if (innerHeight + scrollHeight < available) {
            innerHeight += scrollHeight;
        }
    }

    if (scrollsVertically) {
        if (innerWidth + scrollWidth < widest) {
            innerWidth += scrollWidth;
        } else if (innerWidth - scrollWidth < itemWidth) {
            horizontalScroll = true;
        }
    }
    const std::int64_t reserved = horizontalScroll ? scrollHeight : 0;

    if (available < rowHeight + reserved) {
        return LayoutRefusal{LayoutRefusal::Kind::MessageTooLarge, 0};
    }
    if (in.rowsGiven && std::int64_t{in.rows} * rowHeight > available) {
        return LayoutRefusal{LayoutRefusal::Kind::RowsTooLarge, in.rows};
    }

    // Past the fit tests every size below lies within the work area.
    const std::int64_t listWidth = innerWidth + in.listBoxGrowth.width;
    const std::int64_t listHeight = innerHeight + in.listBoxGrowth.height;
    const std::int64_t clientWidth = listWidth + 2 * kMarginX;
    const std::int64_t clientHeight = std::int64_t{in.messageHeight} + kVerticalChrome + listHeight;
    const std::int64_t windowWidth = clientWidth + in.mainWindowGrowth.width;
    const std::int64_t windowHeight = clientHeight + in.mainWindowGrowth.height;
    // Truncating halves: an odd remainder goes to the right and the bottom.
    const std::int64_t x = in.workLeft + (in.workWidth - windowWidth) / 2;
    const std::int64_t y = in.workTop + (in.workHeight - windowHeight) / 2;

    WindowLayout layout;
    layout.messageHeight = in.messageHeight;
    const std::int64_t listTop = std::int64_t{in.messageHeight} + 30;
    layout.listBox = {static_cast<std::int32_t>(kMarginX), Narrow(listTop),
                      Narrow(kMarginX + listWidth), Narrow(listTop + listHeight)};
    layout.window = {Narrow(x), Narrow(y), Narrow(x + windowWidth), Narrow(y + windowHeight)};
    layout.horizontalScroll = horizontalScroll;
    layout.horizontalExtent = Narrow(itemWidth + kExtentSlack);
    layout.tabStop = ListTabStop(in.useUiFont, in.tabGiven, in.tabLength, in.averageCharWidth);
    return layout;
}

LayoutInput FitMessageToList(LayoutInput input,
                             const std::function<TextSize(std::int32_t width)>& measureAt) {
    const LayoutResult first = ComputeLayout(input);
    const auto* layout = std::get_if<WindowLayout>(&first);
    if (layout == nullptr) {
        return input; // refused whatever the message's width
    }
    const std::int32_t painted = layout->listBox.Width();
    if (painted >= input.messageWidth) {
        return input;
    }
    const TextSize size = measureAt(painted);
    input.messageWidth = size.width;
    input.messageHeight = size.height;
    return input;
}

std::u16string RefusalText(const LayoutRefusal& refusal) {
    if (refusal.kind == LayoutRefusal::Kind::MessageTooLarge) {
        return std::u16string(MessageText(MessageId::MsgMessageTooLarge));
    }
    return ComposeMessage(FormatNumber(refusal.rows), MessageId::MsgRowsTooLarge);
}

} // namespace sevrane
