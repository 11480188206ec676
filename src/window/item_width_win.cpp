#include "window/item_width_win.h"

#include "platform/wide_win.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

// gdi32 exports it on every version we run on; the SDK headers do not all declare it.
extern "C" LONG WINAPI GdiGetCharDimensions(HDC dc, LPTEXTMETRICW metrics, LONG* height);

namespace sevrane {

namespace {

std::int32_t Clamp(std::int64_t width) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(width, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

AdvanceTable::Source ItemAdvances(HDC dc) {
    TEXTMETRICW metrics{};
    // A synthesised overhang is added once per string, not once per character: no table then.
    const bool summable = ::GetTextMetricsW(dc, &metrics) != FALSE && metrics.tmOverhang == 0;
    return [dc, summable](std::span<const char16_t> units, std::span<std::int32_t> advances) {
        const int count = static_cast<int>(units.size());
        if (!summable || count == 0) {
            return;
        }
        // A character the font has no glyph for is drawn from a linked font: the platform
        // measures every line that holds one.
        std::array<WORD, AdvanceTable::kBlock> glyphs{};
        if (::GetGlyphIndicesW(dc, Wide(units.data()), count, glyphs.data(),
                               GGI_MARK_NONEXISTING_GLYPHS) != static_cast<DWORD>(count)) {
            return;
        }
        // GDI neither kerns nor shapes these characters, so the string's running extents step by
        // each character's own advance.
        std::array<INT, AdvanceTable::kBlock> ends{};
        SIZE size{};
        if (!::GetTextExtentExPointW(dc, Wide(units.data()), count, 0, nullptr, ends.data(),
                                     &size)) {
            return;
        }
        for (int i = 0; i < count; ++i) {
            if (glyphs[i] != 0xFFFF) {
                advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
            }
        }
    };
}

std::int32_t ListAverageWidth(HDC dc) {
    LONG height = 0;
    const LONG average = ::GdiGetCharDimensions(dc, nullptr, &height);
    if (average > 0) {
        return average;
    }
    TEXTMETRICW metrics{};
    return ::GetTextMetricsW(dc, &metrics) ? metrics.tmAveCharWidth : 0;
}

TabDistances ListTabDistances(HDC dc, std::optional<std::int32_t> tabStop,
                              std::int32_t averageCharWidth) {
    const std::int32_t listAverage = ListAverageWidth(dc);
    return tabStop ? OwnTabDistances(*tabStop, listAverage)
                   : DefaultTabDistances(averageCharWidth, listAverage);
}

ItemMeasure::ItemMeasure(HDC dc, TabDistances tabs)
    : dc_(dc), tabs_(tabs), table_(ItemAdvances(dc)) {}

std::int32_t ItemMeasure::Width(const char16_t* item) {
    if (const std::optional<std::int64_t> width = table_.Measure(item, tabs_)) {
        return Clamp(*width);
    }
    return PlatformWidth(item);
}

std::int32_t ItemMeasure::PlatformWidth(const char16_t* item) {
    // TabbedTextOutW measures each run between TABs with GetTextExtentPointW, and so does this
    // (its own extent call reports only 16 bits of width). DrawTextExW would break the line at
    // CR and LF, and Wine's measures a long line in pieces (kMaximumMeasuredLine).
    const std::size_t length = std::char_traits<char16_t>::length(item);
    const std::int64_t width =
        TabbedWidth(item, length, tabs_, [this, item](std::size_t start, std::size_t count) {
            SIZE size{};
            ::GetTextExtentPoint32W(dc_, Wide(item + start), static_cast<int>(count), &size);
            return std::int64_t{size.cx};
        });
    return Clamp(width);
}

} // namespace sevrane
