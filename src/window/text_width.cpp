#include "window/text_width.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sevrane {

namespace {

constexpr std::int32_t kNotPlain = -1;

struct Range {
    char16_t first;
    char16_t last;
};

// Ranges whose characters stand alone in a line. Left out on purpose: C0 and C1 controls,
// U+00AD (soft hyphen), combining marks (U+0300-036F, U+0483-0489, U+302A-302F, U+3099-309A),
// joiners, marks and other format characters (U+200B-200F, U+2028-202F, U+205F-206F), every
// shaped, right-to-left or Indic script, Hangul (its jamo combine), surrogates, variation
// selectors and the specials at the end of the plane.
constexpr Range kPlainRanges[] = {
    {0x0020, 0x007E}, // ASCII
    {0x00A0, 0x00AC}, // Latin-1 ...
    {0x00AE, 0x024F}, // ... Latin Extended-A and -B
    {0x0250, 0x02AF}, // IPA
    {0x0370, 0x03FF}, // Greek
    {0x0400, 0x0482}, // Cyrillic ...
    {0x048A, 0x052F}, // ... without its combining marks
    {0x1E00, 0x1FFF}, // Latin Extended Additional, Greek Extended
    {0x2010, 0x2027}, // dashes, quotes, bullets, ellipsis
    {0x2030, 0x205E}, // per mille, primes, punctuation
    {0x2070, 0x209F}, // super- and subscripts
    {0x20A0, 0x20CF}, // currency
    {0x2100, 0x27BF}, // letterlike, number forms, arrows, maths, technical, boxes, shapes
    {0x3000, 0x3029}, // CJK symbols and punctuation ...
    {0x3030, 0x303F}, // ... without the tone marks
    {0x3041, 0x3096}, // hiragana
    {0x309B, 0x30FF}, // spacing sound marks, katakana
    {0x31F0, 0x31FF}, // katakana extensions
    {0x3400, 0x4DBF}, // CJK extension A
    {0x4E00, 0x9FFF}, // CJK unified ideographs
    {0xF900, 0xFAFF}, // CJK compatibility ideographs
    {0xFF01, 0xFFEE}, // half-width and full-width forms
};

} // namespace

bool IsPlainCharacter(char16_t unit) {
    return std::any_of(std::begin(kPlainRanges), std::end(kPlainRanges),
                       [unit](const Range& r) { return r.first <= unit && unit <= r.last; });
}

std::int32_t TabStopPixels(std::int32_t stop, std::int32_t listAverageWidth) {
    // MulDiv(stop, average, 4): the exact product, rounded half away from zero.
    const std::int64_t product = std::int64_t{stop} * listAverageWidth;
    const std::int64_t rounded = product >= 0 ? (product + 2) / 4 : -((-product + 2) / 4);
    return static_cast<std::int32_t>(rounded);
}

TabDistances OwnTabDistances(std::int32_t stop, std::int32_t listAverageWidth) {
    const std::int32_t pixels = TabStopPixels(stop, listAverageWidth);
    return {pixels, pixels};
}

TabDistances DefaultTabDistances(std::int32_t averageCharWidth, std::int32_t listAverageWidth) {
    // Windows documents a stop every 32 dialog units; Wine 8 draws one every 8 average
    // characters of the font.
    constexpr std::int32_t kWindowsDefaultStop = 32;
    constexpr std::int32_t kWineDefaultCharacters = 8;
    return {TabStopPixels(kWindowsDefaultStop, listAverageWidth),
            kWineDefaultCharacters * averageCharWidth};
}

std::int64_t AfterTabs(std::int64_t x, std::int64_t count, std::int32_t tabPixels) {
    if (tabPixels <= 0) {
        return x;
    }
    return (x / tabPixels + count) * tabPixels;
}

AdvanceTable::AdvanceTable(Source source) : source_(std::move(source)) {}

const AdvanceTable::Block& AdvanceTable::Fill(char16_t unit) {
    const std::size_t first = unit / kBlock * kBlock;
    auto block = std::make_unique<Block>();
    block->fill(kNotPlain);
    std::array<char16_t, kBlock> plain{};
    std::array<std::size_t, kBlock> slot{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < kBlock; ++i) {
        const auto candidate = static_cast<char16_t>(first + i);
        if (IsPlainCharacter(candidate)) {
            plain[count] = candidate;
            slot[count++] = i;
        }
    }
    if (count > 0) {
        std::array<std::int32_t, kBlock> given{};
        given.fill(kNotPlain);
        source_(std::span(plain.data(), count), std::span(given.data(), count));
        for (std::size_t i = 0; i < count; ++i) {
            (*block)[slot[i]] = std::max(given[i], kNotPlain);
        }
    }
    blocks_[unit / kBlock] = std::move(block);
    return *blocks_[unit / kBlock];
}

std::optional<std::int64_t> AdvanceTable::Measure(const char16_t* text, TabDistances tabs) {
    // One pass over the line; the table answers almost every character without a call.
    TabLayout layout(tabs);
    std::int64_t run = 0; // the width of the characters since the last TAB
    std::int64_t count = 0;
    for (const char16_t* p = text; *p != u'\0'; ++p) {
        const char16_t unit = *p;
        if (unit == u'\t') {
            ++count;
            continue;
        }
        if (count > 0) {
            layout.Advance(run);
            layout.Tabs(count);
            run = 0;
            count = 0;
        }
        const Block* block = blocks_[unit / kBlock].get();
        if (block == nullptr) {
            block = &Fill(unit);
        }
        const std::int32_t advance = (*block)[unit % kBlock];
        if (advance < 0) {
            return std::nullopt;
        }
        run += advance;
    }
    layout.Advance(run);
    if (count > 0) {
        layout.Tabs(count);
    }
    return layout.Width();
}

} // namespace sevrane
