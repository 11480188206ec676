#include "window/item_width_win.h"

#include "platform/wide_win.h"
#include "window/measure_win.h"

#include <algorithm>
#include <cwchar>
#include <limits>

// gdi32 exports it on every version we run on; the SDK headers do not all declare it.
extern "C" LONG WINAPI GdiGetCharDimensions(HDC dc, LPTEXTMETRICW metrics, LONG* height);

namespace sevrane {

namespace {

// Wine's DrawTextExW measures a line in pieces of 1024 units and reports the widest piece, so
// a longer line without TABs is left to it: the width must stay the one it gives.
constexpr std::size_t kLongestSummedLine = 1024;

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

std::int32_t ListTabPixels(HDC dc, std::optional<std::int32_t> tabStop,
                           std::int32_t averageCharWidth) {
    const std::int32_t listAverage = ListAverageWidth(dc);
    return tabStop ? TabStopPixels(*tabStop, listAverage)
                   : DefaultTabPixels(averageCharWidth, listAverage);
}

ItemMeasure::ItemMeasure(HDC dc, const DRAWTEXTPARAMS& params, std::int32_t tabPixels)
    : dc_(dc), params_(params), tabPixels_(tabPixels), table_(AdvancesOf(dc)) {}

std::int32_t ItemMeasure::Width(const char16_t* item) {
    const std::optional<LineWidth> line = table_.Measure(item, tabPixels_);
    if (line && (line->tabbed || line->length <= kLongestSummedLine)) {
        return Clamp(line->width);
    }
    return PlatformWidth(item, std::wcschr(Wide(item), L'\t') != nullptr);
}

std::int32_t ItemMeasure::PlatformWidth(const char16_t* item, bool tabbed) {
    ++platformCount_;
    if (!tabbed) {
        RECT bounds{0, 0, 1, 1};
        // DrawTextExW takes a writable buffer but only writes to it with DT_MODIFYSTRING.
        ::DrawTextExW(dc_, const_cast<wchar_t*>(Wide(item)), -1, &bounds, kItemFormat, &params_);
        return Clamp(bounds.right - bounds.left);
    }
    // TabbedTextOutW measures each run between TABs with GetTextExtentPointW; its own extent
    // call reports only 16 bits of width, so the runs are laid out here.
    const std::size_t length = std::char_traits<char16_t>::length(item);
    const std::int64_t width =
        TabbedWidth(item, length, tabPixels_, [this, item](std::size_t start, std::size_t count) {
            SIZE size{};
            ::GetTextExtentPoint32W(dc_, Wide(item + start), static_cast<int>(count), &size);
            return std::int64_t{size.cx};
        });
    return Clamp(width);
}

} // namespace sevrane
