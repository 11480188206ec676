#include "window/measure_win.h"

#include "platform/message_font_win.h"
#include "platform/wide_win.h"
#include "window/item_width_win.h"
#include "window/window_styles_win.h"

#include <algorithm>

namespace sevrane {

namespace {

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

// The message within a given width, drawn as it will be painted, and its size there, in the
// context's font. The first failure is kept in the measurement.
class MessageMeasure {
public:
    MessageMeasure(HDC dc, const Settings& settings, std::int32_t maximumHeight,
                   std::optional<PlatformFailure>& failure)
        : dc_(dc), settings_(settings), maximumHeight_(maximumHeight), failure_(failure),
          params_(DrawParameters(settings.window.TabLength())) {}

    MessageDrawing DrawingAt(std::int32_t width) {
        return DrawingFor(settings_.message, width, lineWidth_);
    }

    void SizeAt(std::int32_t width, const MessageDrawing& drawing, LayoutInput& in) {
        RECT rect{0, 0, width, maximumHeight_};
        // DrawTextExW takes a writable buffer but only writes to it with DT_MODIFYSTRING.
        if (::DrawTextExW(dc_, const_cast<wchar_t*>(Wide(drawing.text)), -1, &rect,
                          DrawFormat(drawing) | DT_CALCRECT, &params_) == 0 &&
            !failure_) {
            failure_ = LastFailure(L"DrawTextExW");
        }
        // The platform counts the TABs that end a line, which hang invisible past the edge: a
        // table with empty last columns would widen the window to the work area's width.
        in.messageWidth = drawing.linesBroken ? WidestLine(drawing.text, width, lineWidth_)
                                              : rect.right - rect.left;
        in.messageHeight = rect.bottom - rect.top;
    }

private:
    HDC dc_;
    const Settings& settings_;
    std::int32_t maximumHeight_;
    std::optional<PlatformFailure>& failure_;
    DRAWTEXTPARAMS params_;
    // One line as it is drawn, its TABs expanded.
    LineWidth lineWidth_ = [this](std::u16string_view line) {
        RECT rect{0, 0, 0, 0};
        ::DrawTextExW(dc_, const_cast<wchar_t*>(Wide(line.data())), static_cast<int>(line.size()),
                      &rect, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | DT_NOPREFIX | DT_CALCRECT,
                      &params_);
        return static_cast<std::int32_t>(rect.right - rect.left);
    };
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

UniqueFont CreateMessageFont() {
    LOGFONTW logFont{};
    if (!QueryMessageFont(logFont)) {
        // An own copy of the GUI font keeps the run's font deletable like any other.
        if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont) !=
            sizeof(logFont)) {
            return UniqueFont();
        }
    }
    return UniqueFont(::CreateFontIndirectW(&logFont));
}

DRAWTEXTPARAMS DrawParameters(std::int32_t tabLength) {
    DRAWTEXTPARAMS params{};
    params.cbSize = sizeof(params);
    params.iTabLength = tabLength;
    params.iLeftMargin = 0;
    params.iRightMargin = 0;
    return params;
}

Measurement MeasureLayout(HWND mainWindow, HFONT font, const Settings& settings,
                          const RECT& workArea) {
    Measurement result;
    LayoutInput& in = result.input;
    DescribeFrames(mainWindow, workArea, in);
    in.settings = settings.window;
    in.itemCount = static_cast<std::int64_t>(settings.items.size());

    // Without a context or its metrics nothing is measured: Wine's DrawTextExW divides by the
    // average character width to expand a TAB, and a process ended by that reads as a choice.
    const WindowDc dc(mainWindow);
    if (!dc) {
        result.failure = LastFailure(L"GetDC");
        return result;
    }
    // Without "/m" the context keeps its default font: the one the list box and the painted
    // message use too.
    const SelectionScope selection(dc.get(), settings.window.useUiFont ? font : nullptr);
    TEXTMETRICW metrics{};
    if (!::GetTextMetricsW(dc.get(), &metrics)) {
        result.failure = LastFailure(L"GetTextMetricsW");
        return result;
    }
    in.rowHeight = metrics.tmHeight;
    in.averageCharWidth = metrics.tmAveCharWidth;

    MessageMeasure message(dc.get(), settings, MaximumMessageHeight(in), result.failure);
    std::int32_t width = MaximumMessageWidth(in);
    result.message = message.DrawingAt(width);
    message.SizeAt(width, result.message, in);
    in.itemWidth = WidestItem(dc.get(), settings.items, in);
    if (const std::optional<std::int32_t> narrower = NarrowerMessageWidth(in)) {
        width = *narrower;
        result.message = message.DrawingAt(width);
        message.SizeAt(width, result.message, in);
    }
    return result;
}

} // namespace sevrane
