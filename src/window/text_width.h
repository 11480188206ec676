// Widths of single lines from the advance widths of their characters: plain arithmetic, fed by
// the platform one character at a time.
//
// GDI applies no kerning and no character extra here, so a line of characters that need no
// shaping, no combining and no other font is exactly the sum of their advances. Everything
// else is left to the platform by the caller.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace sevrane {

// Whether the width of this UTF-16 unit in a line is its advance, whatever stands beside it:
// true for the letters, digits, punctuation and symbols of Latin, Greek, Cyrillic, kana, CJK and
// the full-width forms; false for controls, combining marks, surrogate halves, format and
// joiner characters, and every script that is shaped or written right to left.
bool IsPlainCharacter(char16_t unit);

// A list box tab stop in pixels: the stop in dialog units, converted with the list box's own
// average character width (over A-Z a-z) and rounded as MulDiv rounds.
std::int32_t TabStopPixels(std::int32_t stop, std::int32_t listAverageWidth);

// The distances of the tab stops an item may be drawn at. A list box with a stop of its own
// draws at that one; without one, Windows draws every 32 dialog units and Wine every 8 average
// character widths. The item is laid out at both and keeps the wider layout: the wider stop is
// no bound, as a run that passes the narrower stop jumps to the next one.
struct TabDistances {
    std::int32_t first = 0;
    std::int32_t second = 0; // the same as first for a stop of the list box's own
};

// The stops of a list box with one stop of its own, given in dialog units.
TabDistances OwnTabDistances(std::int32_t stop, std::int32_t listAverageWidth);

// The two platforms' default stops of a list box without stops of its own.
TabDistances DefaultTabDistances(std::int32_t averageCharWidth, std::int32_t listAverageWidth);

// Where a run of TABs that starts at x ends: the first one goes to the next stop after x, each
// further one a stop on, stops every tabPixels from 0. A non-positive distance does not move.
std::int64_t AfterTabs(std::int64_t x, std::int64_t count, std::int32_t tabPixels);

// The list box draws an item this far in from its left edge, but counts its tab stops from the
// edge itself: a run that ends just short of a stop there jumps a whole stop further than the
// same run laid out from the stops' origin.
inline constexpr std::int32_t kListTextInset = 1;

// One line laid out at both tab distances at once, each from the list box's text inset and, as
// a list box that counts its stops from the text's start would draw it, from the stops' origin.
// The width is the widest of the four layouts, each measured from its own start.
class TabLayout {
public:
    explicit TabLayout(TabDistances tabs)
        : tracks_{{{tabs.first, 0, 0},
                   {tabs.second, 0, 0},
                   {tabs.first, kListTextInset, kListTextInset},
                   {tabs.second, kListTextInset, kListTextInset}}} {}

    void Advance(std::int64_t width) {
        for (Track& track : tracks_) {
            track.x += width;
        }
    }
    void Tabs(std::int64_t count) {
        for (Track& track : tracks_) {
            track.x = AfterTabs(track.x, count, track.distance);
        }
    }
    std::int64_t Width() const {
        std::int64_t widest = 0;
        for (const Track& track : tracks_) {
            widest = std::max(widest, track.x - track.start);
        }
        return widest;
    }

private:
    struct Track {
        std::int32_t distance;
        std::int64_t start;
        std::int64_t x;
    };
    std::array<Track, 4> tracks_;
};

// The width of a line as a one-stop tabbed text is laid out, the wider of its two layouts: each
// run of TABs with AfterTabs, each run of other characters by segmentWidth(start, length).
template <typename SegmentWidth>
std::int64_t TabbedWidth(const char16_t* text, std::size_t length, TabDistances tabs,
                         SegmentWidth segmentWidth) {
    TabLayout layout(tabs);
    std::size_t i = 0;
    while (i < length) {
        std::size_t count = 0;
        while (i < length && text[i] == u'\t') {
            ++count;
            ++i;
        }
        const std::size_t start = i;
        while (i < length && text[i] != u'\t') {
            ++i;
        }
        if (count > 0) {
            layout.Tabs(static_cast<std::int64_t>(count));
        }
        if (i > start) {
            layout.Advance(segmentWidth(start, i - start));
        }
    }
    return layout.Width();
}

// A per-font table of advance widths, asked of the platform a block of characters at a time on
// the first use of one of them: a few calls instead of two for every character.
class AdvanceTable {
public:
    // Fills advances[i] with the platform's advance of the plain character units[i] in the font,
    // or with a negative value when the font cannot give it by itself (no glyph of its own:
    // another font would be linked in). Both spans have the same size.
    using Source =
        std::function<void(std::span<const char16_t> units, std::span<std::int32_t> advances)>;

    // Characters asked together: the block of this size that holds the one in need.
    static constexpr std::size_t kBlock = 128;

    explicit AdvanceTable(Source source);

    // The width of a zero-terminated line laid out as TabbedWidth lays it out, or none when a
    // character cannot be answered from the table.
    std::optional<std::int64_t> Measure(const char16_t* text, TabDistances tabs);

private:
    // One block of advances per kBlock characters, made when one of them is first met: a short
    // list touches a few hundred bytes instead of a table of every character. An advance is
    // kNotPlain when the platform cannot answer it.
    using Block = std::array<std::int32_t, kBlock>;

    const Block& Fill(char16_t unit);

    Source source_;
    std::array<std::unique_ptr<Block>, 0x10000 / kBlock> blocks_;
};

} // namespace sevrane
