// The item measure against the platform's own measure, over thousands of generated items in the
// default font and the message font, at the tab stops the list box can have: every item must
// measure exactly as GetTabbedTextExtentW lays it out at the same stop (the wider of the two
// default stops), which is how the list box draws it with TabbedTextOutW: one line, CR and LF
// included, and for a line without TABs the width GetTextExtentPoint32W gives.
#include "platform/handles_win.h"
#include "platform/message_font_win.h"
#include "window/item_width_win.h"

#include "printers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace sevrane {
namespace {

struct Pool {
    char16_t first;
    char16_t last;
};

// Random text from character pools; a pair of surrogates counts as one pick.
class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::u16string From(const std::vector<Pool>& pools, int length) {
        std::u16string text;
        for (int i = 0; i < length; ++i) {
            const Pool& pool = pools[static_cast<std::size_t>(Number(0, int(pools.size()) - 1))];
            text += static_cast<char16_t>(Number(pool.first, pool.last));
        }
        return text;
    }

    std::u16string SurrogatePair() {
        std::u16string pair;
        pair += static_cast<char16_t>(Number(0xD83C, 0xD83E)); // emoji and symbols
        pair += static_cast<char16_t>(Number(0xDC00, 0xDFFF));
        return pair;
    }

    // Words of the pools with runs of one to four TABs between them, sometimes at either end.
    std::u16string Tabbed(const std::vector<Pool>& pools, int words) {
        std::u16string text = Number(0, 3) == 0 ? u"\t" : u"";
        for (int i = 0; i < words; ++i) {
            text += From(pools, Number(0, 12));
            text += std::u16string(static_cast<std::size_t>(Number(1, 4)), u'\t');
        }
        if (Number(0, 1) == 0) {
            text += From(pools, Number(1, 8));
        }
        return text;
    }

private:
    std::mt19937 random_;
};

const std::vector<Pool> kAscii = {{0x20, 0x7E}};
const std::vector<Pool> kLatin1 = {{0x20, 0x7E}, {0xA0, 0xAC}, {0xAE, 0xFF}};
const std::vector<Pool> kSymbols = {{0x2010, 0x205E}, {0x20A0, 0x20BF}, {0x2190, 0x21FF},
                                    {0x2200, 0x22FF}, {0x2500, 0x259F}, {0x25A0, 0x26FF},
                                    {0x2700, 0x27BF}, {0x20, 0x7E}};
const std::vector<Pool> kJapanese = {
    {0x3000, 0x303F}, {0x3041, 0x3096}, {0x30A0, 0x30FF}, {0x4E00, 0x9FFF}, {0x20, 0x7E}};
const std::vector<Pool> kFullWidth = {{0xFF01, 0xFF5E}, {0xFF61, 0xFF9F}, {0xFFE0, 0xFFE6}};
const std::vector<Pool> kCombining = {
    {0x61, 0x7A}, {0x61, 0x7A}, {0x0300, 0x036F}, {0x3099, 0x309A}, {0x3041, 0x3096}};
const std::vector<Pool> kRightToLeft = {{0x05D0, 0x05EA}, {0x0627, 0x064A}, {0x20, 0x7E}};
const std::vector<Pool> kFormat = {{0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064},
                                   {0xFEFF, 0xFEFF}, {0x00AD, 0x00AD}, {0xFE00, 0xFE0F},
                                   {0x61, 0x7A},     {0x61, 0x7A},     {0x61, 0x7A}};
const std::vector<Pool> kControls = {{0x01, 0x1F}, {0x7F, 0x9F}, {0x61, 0x7A}, {0x61, 0x7A}};
const std::vector<Pool> kEverything = {
    {0x20, 0x7E},     {0xA0, 0xFF},     {0x0300, 0x036F}, {0x0370, 0x052F},
    {0x05D0, 0x05EA}, {0x0627, 0x064A}, {0x0E01, 0x0E3A}, {0x1100, 0x11FF},
    {0x1E00, 0x1EFF}, {0x2000, 0x27BF}, {0x3000, 0x30FF}, {0x4E00, 0x9FFF},
    {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFF01, 0xFFEE}, {0x09, 0x09}};

// Items a whole-program fuzzer found cut, the last one shortened.
const std::vector<std::u16string>& Reported() {
    static const std::vector<std::u16string> items = [] {
        std::u16string repeated;
        while (repeated.size() < 400) {
            repeated += u"\U0010FFFF\U0001F468\u200D\U0001F469\u200D\U0001F467\xDFFF\U0001F600"
                        u"a\tb\t\uFFFDa\uFFFE";
        }
        return std::vector<std::u16string>{
            u"半角ｶﾅＡＢＡＢ半角ｶﾅ漢字a\tb\ta\tb\ta\tb\tカタカナ〜半角ｶﾅ半角ｶﾅ漢字",
            u"Iヴ|7*ググ&1 ,都3]イ&田2日,3ーウ\tIヴ|7*ググ&1 ,都3]イ&田2日,3ーウ", repeated};
    }();
    return items;
}

struct Category {
    const char* name;
    bool plain; // every item must be answered from the table
    std::function<std::u16string(Generator&)> make;
};

std::vector<Category> Categories() {
    return {
        {"ascii", true, [](Generator& g) { return g.From(kAscii, g.Number(0, 60)); }},
        {"latin-1", true, [](Generator& g) { return g.From(kLatin1, g.Number(1, 60)); }},
        {"tabs", true, [](Generator& g) { return g.Tabbed(kAscii, g.Number(1, 8)); }},
        {"long with tabs", true, [](Generator& g) { return g.Tabbed(kAscii, g.Number(30, 130)); }},
        // Long lines too: the sum of the advances is what the platform draws, however long.
        {"long", true,
         [](Generator& g) {
             return g.From(kAscii,
                           g.Number(0, 1) == 0 ? g.Number(1000, 1030) : g.Number(2000, 4000));
         }},
        {"3,000 x a", true, [](Generator&) { return std::u16string(3000, u'a'); }},
        {"1,500 x W", true, [](Generator&) { return std::u16string(1500, u'W'); }},
        {"symbols", false, [](Generator& g) { return g.From(kSymbols, g.Number(1, 40)); }},
        {"kana and kanji", false, [](Generator& g) { return g.From(kJapanese, g.Number(1, 40)); }},
        {"full-width", false, [](Generator& g) { return g.From(kFullWidth, g.Number(1, 40)); }},
        {"combining marks", false,
         [](Generator& g) { return g.From(kCombining, g.Number(1, 40)); }},
        {"surrogate pairs", false,
         [](Generator& g) {
             std::u16string text = g.From(kAscii, g.Number(0, 10));
             for (int i = g.Number(1, 5); i > 0; --i) {
                 text += g.SurrogatePair() + g.From(kAscii, g.Number(0, 5));
             }
             if (g.Number(0, 4) == 0) {
                 text += static_cast<char16_t>(g.Number(0xD800, 0xDFFF)); // a lone half
             }
             return text;
         }},
        {"right to left", false,
         [](Generator& g) { return g.From(kRightToLeft, g.Number(1, 40)); }},
        {"joiners and format", false,
         [](Generator& g) { return g.From(kFormat, g.Number(1, 40)); }},
        {"line breaks and controls", false,
         [](Generator& g) { return g.From(kControls, g.Number(1, 30)); }},
        {"everything with tabs", false,
         [](Generator& g) { return g.Tabbed(kEverything, g.Number(1, 6)); }},
        {"everything", false, [](Generator& g) { return g.From(kEverything, g.Number(1, 80)); }},
        // Runs of characters drawn from a linked font, or from none, that end near a stop.
        {"kana, kanji and full-width with tabs", false,
         [](Generator& g) { return g.Tabbed(g.Number(0, 1) ? kJapanese : kFullWidth, 6); }},
        {"lone surrogates with tabs", false,
         [](Generator& g) {
             std::u16string text = g.Tabbed(kJapanese, 2) + g.SurrogatePair();
             text += static_cast<char16_t>(g.Number(0xD800, 0xDFFF));
             return text + u"\t\uFFFDa\uFFFE" + g.Tabbed(kEverything, 2);
         }},
        {"reported", false, [](Generator& g) { return Reported()[g.Number(0, 2)]; }},
    };
}

// What the platform itself makes of an item, laid out the way the list box draws it: from a
// pixel inside its edge with the stops counted from the edge (TabbedTextOutW, clipped away), and
// from the stops' origin as the extent call lays it out.
std::int64_t PlatformWidth(HDC dc, const std::u16string& item, TabDistances tabs) {
    const std::wstring text(item.begin(), item.end());
    const int length = static_cast<int>(text.size());
    std::int64_t widest = 0;
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, 0, 0, 0, 0);
    for (const INT stop : {tabs.first, tabs.second}) {
        const DWORD fromOrigin = ::GetTabbedTextExtentW(dc, text.c_str(), length, 1, &stop);
        // Without a TAB both are the extent; drawing, even clipped, is slow.
        const LONG fromInset =
            text.find(L'\t') == std::wstring::npos
                ? 0
                : ::TabbedTextOutW(dc, kListTextInset, 0, text.c_str(), length, 1, &stop, 0);
        widest = std::max<std::int64_t>({widest, LOWORD(fromOrigin), LOWORD(fromInset)});
    }
    ::RestoreDC(dc, saved);
    return widest;
}

void CompareInFont(HDC dc, const char* fontName) {
    TEXTMETRICW metrics{};
    ASSERT_TRUE(::GetTextMetricsW(dc, &metrics));
    const std::int32_t average = ListAverageWidth(dc);
    ASSERT_GT(average, 0);
    // The default stops, and the stops of "/t 1", "/t 8", "/t 16" and "/m" with T = 8.
    const TabDistances stops[] = {DefaultTabDistances(metrics.tmAveCharWidth, average),
                                  OwnTabDistances(4, average), OwnTabDistances(32, average),
                                  OwnTabDistances(64, average), OwnTabDistances(27, average)};
    const std::vector<Category> categories = Categories();
    for (std::size_t stop = 0; stop < std::size(stops); ++stop) {
        const TabDistances tabs = stops[stop];
        ItemMeasure measure(dc, tabs);
        Generator generator(static_cast<std::uint32_t>(tabs.first) * 7919u + 17u);
        for (const Category& category : categories) {
            // The items the table cannot answer are the ones left to the platform.
            AdvanceTable table(ItemAdvances(dc));
            std::size_t platform = 0;
            int mismatches = 0;
            for (int i = 0; i < 200; ++i) {
                const std::u16string item = category.make(generator);
                const std::int64_t expected = PlatformWidth(dc, item, tabs);
                const std::int32_t width = measure.Width(item.c_str());
                platform += table.Measure(item.c_str(), tabs) ? 0 : 1;
                // The platform's tabbed extent holds 16 bits; the items stay below that.
                ASSERT_LT(width, 0x10000) << test::Shown(item);
                if (width != expected && ++mismatches <= 5) {
                    ADD_FAILURE() << fontName << ", stops every " << tabs.first << " and "
                                  << tabs.second << ", " << category.name << ": " << width
                                  << " instead of " << expected << " for " << test::Shown(item);
                }
            }
            if (category.plain) {
                EXPECT_EQ(platform, 0u) << fontName << ", " << category.name
                                        << ": plain items were left to the platform";
            }
            if (stop == 0) {
                std::printf("%-8s %-26s %3zu of 200 measured by the platform\n", fontName,
                            category.name, platform);
            }
            EXPECT_EQ(mismatches, 0) << fontName << ", " << category.name;
        }
    }
}

TEST(ItemWidth, FastMeasureEqualsThePlatformsInTheDefaultAndTheMessageFont) {
    // The font of a device context of its own, as the program measures without "/m".
    const WindowDc dc(nullptr);
    ASSERT_TRUE(dc);
    CompareInFont(dc.get(), "default");

    LOGFONTW logFont{};
    ASSERT_TRUE(QueryMessageFont(logFont));
    const UniqueFont font(::CreateFontIndirectW(&logFont));
    ASSERT_TRUE(font);
    const SelectionScope selection(dc.get(), font.get());
    CompareInFont(dc.get(), "message");
}

} // namespace
} // namespace sevrane
