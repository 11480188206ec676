#include "window/item_width_win.h"

#include "platform/wide_win.h"

#include <algorithm>
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

AdvanceTable::Source AdvancesOf(HDC dc) {
    TEXTMETRICW metrics{};
    // A synthesised overhang is added once per string, not once per character: no table then.
    const bool summable = ::GetTextMetricsW(dc, &metrics) != FALSE && metrics.tmOverhang == 0;
    return [dc, summable](char16_t unit) -> std::optional<std::int32_t> {
        if (!summable) {
            return std::nullopt;
        }
        const wchar_t text[1] = {static_cast<wchar_t>(unit)};
        // A character the font has no glyph for is drawn from a linked font: the platform
        // measures every line that holds one.
        WORD glyph = 0;
        if (::GetGlyphIndicesW(dc, text, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 ||
            glyph == 0xFFFF) {
            return std::nullopt;
        }
        SIZE size{};
        if (!::GetTextExtentPoint32W(dc, text, 1, &size)) {
            return std::nullopt;
        }
        return size.cx;
    };
}

} // namespace

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
    : dc_(dc), tabs_(tabs), table_(AdvancesOf(dc)) {}

std::int32_t ItemMeasure::Width(const char16_t* item) {
    if (const std::optional<std::int64_t> width = table_.Measure(item, tabs_)) {
        return Clamp(*width);
    }
    return PlatformWidth(item);
}

std::int32_t ItemMeasure::PlatformWidth(const char16_t* item) {
    ++platformCount_;
    // TabbedTextOutW measures each run between TABs with GetTextExtentPointW, and so does this
    // (its own extent call reports only 16 bits of width). DrawTextExW would break the line at
    // CR and LF, and Wine's measures a long line in 1,024-unit pieces.
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
