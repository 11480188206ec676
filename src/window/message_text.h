// The message's text as it is measured and painted: where its lines break, and how it is drawn.
// Plain rules, no platform calls; the platform gives the width of a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace sevrane {

// Wine's DrawTextExW measures a line without TABs longer than this in pieces of this many units
// and reports the widest piece: a longer line is never measured, and counts as too wide.
inline constexpr std::size_t kMaximumMeasuredLine = 1024;

// The width of one line as drawn, its TABs expanded; given at most kMaximumMeasuredLine units.
using LineWidth = std::function<std::int32_t(std::u16string_view line)>;

// How the message is drawn, decided once while measuring; the window paints it as it stands.
struct MessageDrawing {
    std::u16string text;      // the message, with line breaks added where it holds TABs
    bool linesBroken = false; // broken here, to be drawn as they stand

    friend bool operator==(const MessageDrawing&, const MessageDrawing&) = default;
};

// A message without TABs is left to the platform's own breaking. One with TABs has its lines
// broken here within width: Wine breaks each run between TABs as if it began the line, and never
// breaks after a TAB that passes the edge, so what passes the edge would be cut. Windows documents
// only that lines "are automatically broken between words".
MessageDrawing DrawingFor(std::u16string_view message, std::int32_t width,
                          const LineWidth& lineWidth);

// The lines broken as a text engine breaks them: after a run of spaces or TABs, which hangs at
// the end of its line unmeasured, or between ideographs; at the farthest such place whose line
// keeps within width. A word wider than the line keeps a line of its own. Only line breaks are
// added.
std::u16string BreakLines(std::u16string_view message, std::int32_t width,
                          const LineWidth& lineWidth);

// The width of the widest line's ink, its trailing blanks not counted: what a message whose lines
// were broken within width shows. A line too long to be measured counts as width.
std::int32_t WidestLine(std::u16string_view text, std::int32_t width, const LineWidth& lineWidth);

// Whether a line may break between these two units, the second starting the next line.
bool BreaksBetween(char16_t before, char16_t after);

} // namespace sevrane
