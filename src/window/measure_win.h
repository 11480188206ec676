// The platform half of the layout: the font, the metrics and the measured texts.
#pragma once

#include "platform/handles_win.h"
#include "platform/trace_win.h"
#include "vocabulary/settings.h"
#include "window/layout.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace sevrane {

// Measuring and drawing the message use one DRAWTEXTPARAMS and the format MessageFormatFor
// gives, so that the message is painted exactly as it was measured ("&" stays literal).
inline constexpr UINT kMessageFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_TABSTOP | DT_NOPREFIX |
                                       DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;
static_assert(kMessageFormat == 0x4C8D0);

// DrawTextExW's ellipses do not support TABs; Wine's assert ends the process with 3, which reads
// as "item 3 chosen". A message that holds a TAB is measured and drawn without them.
constexpr UINT MessageFormatFor(std::u16string_view message) {
    constexpr UINT kEllipses = DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;
    return message.find(u'\t') == std::u16string_view::npos ? kMessageFormat
                                                            : kMessageFormat & ~kEllipses;
}

DRAWTEXTPARAMS DrawParameters(std::int32_t tabLength);

struct Measurement {
    UniqueFont font; // the run's one font, created whether or not "/m" uses it for the texts
    LayoutInput input;
    // A message with TABs as it is measured and painted, its lines broken (see measure_win.cpp).
    std::optional<std::u16string> paintedMessage;
    // Set without a device context, metrics or the message's size: nothing can be laid out.
    std::optional<PlatformFailure> failure;
};

// Measures in the main window's device context: its default font, or with "/m" the message
// font, which the main window then also receives.
Measurement MeasureLayout(HWND mainWindow, const Settings& settings, const RECT& workArea);

} // namespace sevrane
