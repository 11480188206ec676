// Widths of single lines from the advance widths of their characters: plain arithmetic, fed by
// the platform one character at a time.
//
// GDI applies no kerning and no character extra here, so a line of characters that need no
// shaping, no combining and no other font is exactly the sum of their advances. Everything
// else is left to the platform by the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sevrane {

// Whether the width of this UTF-16 unit in a line is its advance, whatever stands beside it:
// true for the letters, digits, punctuation and symbols of Latin, Greek, Cyrillic, kana, CJK and
// the full-width forms; false for controls, combining marks, surrogate halves, format and
// joiner characters, and every script that is shaped or written right to left.
bool IsPlainCharacter(char16_t unit);

// A list box tab stop in pixels: the stop in dialog units, converted with the list box's own
// average character width (over A-Z a-z) and rounded as MulDiv rounds.
std::int32_t TabStopPixels(std::int32_t stop, std::int32_t listAverageWidth);

// The distance of the default tab stops of a list box without stops of its own: the wider of
// 32 dialog units, which Windows documents, and 8 average character widths, which Wine draws,
// so that an item measured with it fits on both.
std::int32_t DefaultTabPixels(std::int32_t averageCharWidth, std::int32_t listAverageWidth);

// Where a run of TABs that starts at x ends: the first one goes to the next stop after x, each
// further one a stop on, stops every tabPixels from 0. A non-positive distance does not move.
std::int64_t AfterTabs(std::int64_t x, std::int64_t count, std::int32_t tabPixels);

// The width of a line as a one-stop tabbed text is laid out: each run of TABs with AfterTabs,
// each run of other characters by segmentWidth(start, length).
template <typename SegmentWidth>
std::int64_t TabbedWidth(const char16_t* text, std::size_t length, std::int32_t tabPixels,
                         SegmentWidth segmentWidth) {
    std::int64_t x = 0;
    std::size_t i = 0;
    while (i < length) {
        std::size_t tabs = 0;
        while (i < length && text[i] == u'\t') {
            ++tabs;
            ++i;
        }
        const std::size_t start = i;
        while (i < length && text[i] != u'\t') {
            ++i;
        }
        if (tabs > 0) {
            x = AfterTabs(x, static_cast<std::int64_t>(tabs), tabPixels);
        }
        if (i > start) {
            x += segmentWidth(start, i - start);
        }
    }
    return x;
}

struct LineWidth {
    std::int64_t width = 0;
    std::size_t length = 0; // code units before the terminating NUL
    bool tabbed = false;    // the line holds a TAB
};

// A per-font table of advance widths, each asked of the platform on first use.
class AdvanceTable {
public:
    // The platform's advance of one plain character in the font, or none when the font cannot
    // give it by itself (no glyph of its own: another font would be linked in).
    using Source = std::function<std::optional<std::int32_t>(char16_t)>;

    explicit AdvanceTable(Source source);

    // The width of a zero-terminated line with TABs at multiples of tabPixels, or none when a
    // character cannot be answered from the table.
    std::optional<LineWidth> Measure(const char16_t* text, std::int32_t tabPixels);

private:
    std::int32_t Fill(char16_t unit);

    Source source_;
    std::vector<std::int32_t> advances_; // kUnknown until asked, kNotPlain when unanswerable
};

} // namespace sevrane
