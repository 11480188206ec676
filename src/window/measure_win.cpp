#include "window/measure_win.h"

#include "platform/message_font_win.h"
#include "platform/wide_win.h"
#include "window/item_width_win.h"
#include "window/window_styles_win.h"

#include <algorithm>

namespace sevrane {

namespace {

UniqueFont CreateMessageFont() {
    LOGFONTW logFont{};
    if (!QueryMessageFont(logFont)) {
        // Without the system's message font, take the GUI font the shell's controls use; an own
        // copy keeps the run's font deletable like any other.
        if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont) !=
            sizeof(logFont)) {
            return UniqueFont();
        }
    }
    return UniqueFont(::CreateFontIndirectW(&logFont));
}

FrameGrowth GrowthOf(DWORD style) {
    RECT rect{0, 0, 0, 0};
    ::AdjustWindowRect(&rect, style, FALSE);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The work area, and what the frames of the main window and the list box add.
void DescribeFrames(HWND mainWindow, const RECT& workArea, LayoutInput& in) {
    in.workLeft = workArea.left;
    in.workTop = workArea.top;
    in.workWidth = workArea.right - workArea.left;
    in.workHeight = workArea.bottom - workArea.top;
    RECT outer{};
    RECT client{};
    ::GetWindowRect(mainWindow, &outer);
    ::GetClientRect(mainWindow, &client);
    in.frameX = (outer.right - outer.left) - (client.right - client.left);
    in.frameY = (outer.bottom - outer.top) - (client.bottom - client.top);
    in.verticalScrollWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    in.horizontalScrollHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    in.mainWindowGrowth = GrowthOf(kMainWindowStyle);
    in.listBoxGrowth = GrowthOf(kListBoxFrameStyle);
}

// The message's size within a given width, in the context's font and the flags it is painted
// with. The first failure is kept in the measurement.
//
// Wine keeps the first word after a TAB on its line even where it does not fit (it breaks each
// run between TABs as if it began the line), and so ends nearly every line that holds TABs with a
// word that may pass the width the line was broken at: it would be cut at the message's edge.
// The lines are then broken at the widest width whose lines all fit, found by halving. Windows
// breaks before a word that would pass the edge, TAB or not, and never comes here.
struct MessageMeasure {
    HDC dc;
    const Settings& settings;
    std::int32_t maximumHeight;
    Measurement& result;

    TextSize operator()(std::int32_t width) const {
        const TextSize whole = BrokenAt(width);
        result.messageBreakWidth = width;
        TextSize fitting = whole;
        // Narrower breaks give narrower lines nearly always, not strictly: the widest break width
        // tried whose lines fit is kept.
        std::int32_t fits = 0;
        std::int32_t passes = width;
        while (whole.width > width && passes - fits > 1) {
            const std::int32_t middle = fits + (passes - fits) / 2;
            if (const TextSize size = BrokenAt(middle); size.width <= width) {
                fits = middle;
                fitting = size;
                result.messageBreakWidth = middle;
            } else {
                passes = middle;
            }
        }
        // A word wider than the whole width fits nowhere: broken at the width, as before.
        return fitting;
    }

    TextSize BrokenAt(std::int32_t width) const {
        RECT message{0, 0, width, maximumHeight};
        DRAWTEXTPARAMS params = DrawParameters(settings.window.TabLength());
        // DrawTextExW takes a writable buffer but only writes to it with DT_MODIFYSTRING.
        if (::DrawTextExW(dc, const_cast<wchar_t*>(Wide(settings.message)), -1, &message,
                          MessageFormatFor(settings.message) | DT_CALCRECT, &params) == 0 &&
            !result.failure) {
            result.failure = LastFailure(L"DrawTextExW");
        }
        return TextSize{message.right - message.left, message.bottom - message.top};
    }
};

// Items are measured as the list box will draw them: in its font, TABs at its stops.
std::int32_t WidestItem(HDC dc, const ItemList& items, const LayoutInput& in) {
    const TabDistances tabs =
        ListTabDistances(dc, ListTabStop(in.settings, in.averageCharWidth), in.averageCharWidth);
    ItemMeasure itemMeasure(dc, tabs);
    std::int32_t widest = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        widest = std::max(widest, itemMeasure.Width(items.c_str(i)));
    }
    return widest;
}

} // namespace

DRAWTEXTPARAMS DrawParameters(std::int32_t tabLength) {
    DRAWTEXTPARAMS params{};
    params.cbSize = sizeof(params);
    params.iTabLength = tabLength;
    params.iLeftMargin = 0;
    params.iRightMargin = 0;
    return params;
}

Measurement MeasureLayout(HWND mainWindow, const Settings& settings, const RECT& workArea) {
    Measurement result;
    LayoutInput& in = result.input;
    DescribeFrames(mainWindow, workArea, in);
    in.settings = settings.window;
    in.itemCount = static_cast<std::int64_t>(settings.items.size());

    const WindowDc dc(mainWindow);
    if (!dc) {
        result.failure = LastFailure(L"GetDC");
    }
    result.font = CreateMessageFont();
    // Without "/m" the context keeps its default font: the one the list box and the painted
    // message use too.
    const HFONT measuringFont = settings.window.useUiFont ? result.font.get() : nullptr;
    const SelectionScope selection(dc.get(), measuringFont);
    if (settings.window.useUiFont) {
        ::SendMessageW(mainWindow, WM_SETFONT, reinterpret_cast<WPARAM>(measuringFont), FALSE);
    }
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc.get(), &metrics)) {
        in.rowHeight = metrics.tmHeight;
        in.averageCharWidth = metrics.tmAveCharWidth;
    } else if (!result.failure) {
        result.failure = LastFailure(L"GetTextMetricsW");
    }

    const MessageMeasure measureMessage{dc.get(), settings, MaximumMessageHeight(in), result};
    const TextSize message = measureMessage(MaximumMessageWidth(in));
    in.messageWidth = message.width;
    in.messageHeight = message.height;
    in.itemWidth = WidestItem(dc.get(), settings.items, in);
    in = FitMessageToList(in, measureMessage);
    return result;
}

} // namespace sevrane
