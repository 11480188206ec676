// The platform half of the layout: the metrics and the measured texts.
#pragma once

#include "platform/handles_win.h"
#include "platform/trace_win.h"
#include "vocabulary/settings.h"
#include "window/layout.h"
#include "window/message_text.h"

#include <windows.h>

#include <optional>

namespace sevrane {

// Measuring and drawing the message use one DRAWTEXTPARAMS and the format DrawFormat gives, so
// that the message is painted exactly as it was measured ("&" stays literal).
inline constexpr UINT kMessageFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_TABSTOP | DT_NOPREFIX |
                                       DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;
static_assert(kMessageFormat == 0x4C8D0);

// Lines broken here are measured and drawn as they stand, breaking only at their line ends:
// Wine counts the spaces that end a line and would break it again where they pass the edge,
// which the breaking here lets them do. Nor are they given DrawTextExW's ellipses, which do not
// support TABs: Wine's assert ends the process with 3, which reads as "item 3 chosen".
inline constexpr UINT kBrokenMessageFormat = DT_EXPANDTABS | DT_TABSTOP | DT_NOPREFIX;

constexpr UINT DrawFormat(const MessageDrawing& drawing) {
    return drawing.linesBroken ? kBrokenMessageFormat : kMessageFormat;
}

DRAWTEXTPARAMS DrawParameters(std::int32_t tabLength);

// The run's one font, created whether or not "/m" uses it for the texts: the system's message
// font, or the GUI font the shell's controls use when it cannot be read.
UniqueFont CreateMessageFont();

struct Measurement {
    LayoutInput input;
    MessageDrawing message; // as it was measured at the width it is painted in
    // Set without a device context, metrics or the message's size: nothing can be laid out.
    std::optional<PlatformFailure> failure;
};

// Measures in the main window's device context: its default font, or with "/m" the run's font,
// which the main window then holds.
Measurement MeasureLayout(HWND mainWindow, HFONT font, const Settings& settings,
                          const RECT& workArea);

} // namespace sevrane
