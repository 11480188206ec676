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
// Wine breaks each run between TABs as if it began the line: the first word after a TAB stays on
// its line even where it does not fit, and after a TAB that passes the width nothing breaks the
// line again; what passes the width is cut at the message's edge. A message with TABs is
// therefore measured and painted with its lines broken here, each within the width, and Wine has
// nothing left to break. Windows breaks before a word that would pass the edge, TAB or not
// (lines "are automatically broken between words"), as here.
struct MessageMeasure {
    HDC dc;
    const Settings& settings;
    std::int32_t maximumHeight;
    Measurement& result;

    TextSize operator()(std::int32_t width) const {
        if (settings.message.find(u'\t') == std::u16string::npos) {
            return BrokenAt(width, settings.message);
        }
        DRAWTEXTPARAMS params = DrawParameters(settings.window.TabLength());
        result.paintedMessage =
            BreakLinesWithTabs(settings.message, width, [&](std::u16string_view line) {
                RECT rect{0, 0, 0, 0};
                ::DrawTextExW(
                    dc, const_cast<wchar_t*>(Wide(line.data())), static_cast<int>(line.size()),
                    &rect, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | DT_NOPREFIX | DT_CALCRECT,
                    &params);
                return static_cast<std::int32_t>(rect.right - rect.left);
            });
        return BrokenAt(width, *result.paintedMessage);
    }

    TextSize BrokenAt(std::int32_t width, const std::u16string& message) const {
        RECT rect{0, 0, width, maximumHeight};
        DRAWTEXTPARAMS params = DrawParameters(settings.window.TabLength());
        // DrawTextExW takes a writable buffer but only writes to it with DT_MODIFYSTRING.
        if (::DrawTextExW(dc, const_cast<wchar_t*>(Wide(message)), -1, &rect,
                          MessageFormatFor(message) | DT_CALCRECT, &params) == 0 &&
            !result.failure) {
            result.failure = LastFailure(L"DrawTextExW");
        }
        return TextSize{rect.right - rect.left, rect.bottom - rect.top};
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
