#include "window/layout.h"
#include "window/message_text.h"
#include "window/window_rules.h"

#include "vocabulary/catalogue.h"
#include "window/text_width.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <optional>
#include <variant>

namespace sevrane {
namespace {

// A 1920 x 1040 work area, a frame of 14 x 37, 16-pixel rows, 17-pixel scroll bars, and the
// five-item window with a 300 x 48 message and a widest item of 120.
LayoutInput FullHdInput() {
    LayoutInput in;
    in.workLeft = 0;
    in.workTop = 0;
    in.workWidth = 1920;
    in.workHeight = 1040;
    in.frameX = 14;
    in.frameY = 37;
    in.rowHeight = 16;
    in.averageCharWidth = 7;
    in.verticalScrollWidth = 17;
    in.horizontalScrollHeight = 17;
    in.mainWindowGrowth = {14, 37};
    in.listBoxGrowth = {2, 2};
    in.itemCount = 5;
    in.messageWidth = 300;
    in.messageHeight = 48;
    in.itemWidth = 120;
    return in;
}

WindowLayout LayoutOf(const LayoutInput& in) {
    const LayoutResult result = ComputeLayout(in);
    if (const auto* refusal = std::get_if<LayoutRefusal>(&result)) {
        ADD_FAILURE() << "refused, kind " << static_cast<int>(refusal->kind);
        return {};
    }
    return std::get<WindowLayout>(result);
}

std::optional<LayoutRefusal> RefusalOf(const LayoutInput& in) {
    const LayoutResult result = ComputeLayout(in);
    if (const auto* refusal = std::get_if<LayoutRefusal>(&result)) {
        return *refusal;
    }
    return std::nullopt;
}

LayoutRect Rect(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    return {left, top, left + width, top + height};
}

TEST(Layout, FiveItemsGiveTheSmallWindowCentredInTheWorkArea) {
    const WindowLayout layout = LayoutOf(FullHdInput());
    EXPECT_EQ(layout.messageHeight, 48);
    EXPECT_EQ(layout.listBox, Rect(20, 78, 302, 82));
    EXPECT_EQ(layout.window, Rect(782, 395, 356, 250));
    EXPECT_FALSE(layout.horizontalScroll);
    EXPECT_EQ(layout.OkButton(342), Rect(166, 175, 75, 23));
    EXPECT_EQ(layout.CancelButton(342), Rect(247, 175, 75, 23));
    EXPECT_EQ(MessageRectIn({0, 0, 342, 213}, layout.messageHeight), (LayoutRect{20, 15, 322, 63}));
}

TEST(Layout, ButtonsFollowTheClientWidthTheWindowActuallyGot) {
    const WindowLayout layout = LayoutOf(FullHdInput());
    EXPECT_EQ(layout.OkButton(400).left, 224);
    EXPECT_EQ(layout.CancelButton(400).right, 380);
    EXPECT_EQ(MessageRectIn({0, 0, 400, 300}, layout.messageHeight), (LayoutRect{20, 15, 380, 63}));
}

TEST(Layout, MoreItemsThanRowsWidenTheListForItsVerticalBar) {
    LayoutInput in = FullHdInput();
    in.itemCount = 100;
    const WindowLayout layout = LayoutOf(in);
    EXPECT_EQ(layout.listBox, Rect(20, 78, 320, 866)); // 54 rows of 16
    EXPECT_EQ(layout.window, Rect(773, 3, 374, 1034));
    EXPECT_FALSE(layout.horizontalScroll);
    in.itemCount = 54; // as many as the rows: no bar
    EXPECT_EQ(LayoutOf(in).listBox, Rect(20, 78, 302, 866));
    in.itemCount = 55;
    EXPECT_EQ(LayoutOf(in).listBox.Width(), 320);
}

TEST(Layout, RowsOptionLimitsTheVisibleRows) {
    LayoutInput in = FullHdInput();
    in.settings.rows = 3;
    const WindowLayout layout = LayoutOf(in);
    EXPECT_EQ(layout.listBox, Rect(20, 78, 320, 50));
    EXPECT_EQ(layout.window.Width(), 374);
    EXPECT_EQ(layout.window.Height(), 218);
}

TEST(Layout, RowsThatNeedMoreThanTheAvailableHeightAreRefusedWithTheirNumber) {
    LayoutInput in = FullHdInput();
    in.itemCount = 100;
    in.settings.rows = 55; // 880 > 870
    EXPECT_EQ(RefusalOf(in), (LayoutRefusal{LayoutRefusal::Kind::RowsTooLarge, 55}));
    in.settings.rows = 54; // 864 fits
    EXPECT_EQ(LayoutOf(in).listBox.Height(), 866);
    in.messageHeight = 54; // 864 rows in 864 pixels: equality passes
    EXPECT_EQ(LayoutOf(in).listBox.Height(), 866);
    in.messageHeight = 55;
    EXPECT_EQ(RefusalOf(in), (LayoutRefusal{LayoutRefusal::Kind::RowsTooLarge, 54}));
}

TEST(Layout, HugeRowsValueIsComparedByItsExactProduct) {
    LayoutInput in = FullHdInput();
    in.settings.rows = std::numeric_limits<std::int32_t>::max(); // times 16 overflows 32 bits
    EXPECT_EQ(RefusalOf(in), (LayoutRefusal{LayoutRefusal::Kind::RowsTooLarge,
                                            std::numeric_limits<std::int32_t>::max()}));
    in.settings.rows = 268435456; // 2^28 * 16 wraps to 0 in 32 bits
    EXPECT_EQ(RefusalOf(in), (LayoutRefusal{LayoutRefusal::Kind::RowsTooLarge, 268435456}));
}

TEST(Layout, NarrowWidthOptionTurnsOnHorizontalScrollingAndKeepsTheWindowExactlyThatWide) {
    LayoutInput in = FullHdInput();
    in.settings.width = 200;
    in.messageWidth = 140;
    in.messageHeight = 64;
    in.itemWidth = 400;
    const WindowLayout layout = LayoutOf(in);
    EXPECT_TRUE(layout.horizontalScroll);
    EXPECT_EQ(layout.horizontalExtent, 425);
    EXPECT_EQ(layout.listBox, Rect(20, 94, 146, 100)); // LIH 80 grows to 98 for the bar
    EXPECT_EQ(layout.window, Rect(860, 378, 200, 284));
    EXPECT_EQ(layout.OkButton(186).left, 10);
    EXPECT_EQ(layout.OkButton(186).top, 209);
    in.itemWidth = 142; // as wide as the list's inside, 144 less its border: no bar
    EXPECT_FALSE(LayoutOf(in).horizontalScroll);
    in.itemWidth = 143;
    EXPECT_TRUE(LayoutOf(in).horizontalScroll);
}

TEST(Layout, ShortTextsAreRaisedToTheSmallestWindow) {
    LayoutInput in = FullHdInput();
    in.messageWidth = 40;
    in.messageHeight = 16;
    in.itemWidth = 30;
    const WindowLayout layout = LayoutOf(in);
    EXPECT_EQ(layout.listBox.Width(), 146); // inner 160 - 16
    EXPECT_EQ(layout.window.Width(), 200);
}

TEST(Layout, MessageThatLeavesExactlyOneRowFillsTheWorkAreaAndOneMorePixelIsRefused) {
    LayoutInput in = FullHdInput();
    in.messageWidth = 1866;
    in.messageHeight = 902; // AV = 16
    const WindowLayout layout = LayoutOf(in);
    EXPECT_EQ(layout.window, Rect(0, 0, 1920, 1040));
    EXPECT_EQ(layout.listBox, Rect(20, 932, 1866, 18));

    in.messageHeight = 903; // AV = 15
    EXPECT_EQ(RefusalOf(in), (LayoutRefusal{LayoutRefusal::Kind::MessageTooLarge, 0}));
}

TEST(Layout, HorizontalScrollingNeedsRoomForItsBarAndTheMessageRefusalComesFirst) {
    LayoutInput in = FullHdInput();
    in.itemWidth = 3000;    // wider than any list box: horizontal bar
    in.messageHeight = 886; // AV = 32, below 16 + 18
    in.settings.rows = 100; // would be refused as well
    EXPECT_EQ(RefusalOf(in), (LayoutRefusal{LayoutRefusal::Kind::MessageTooLarge, 0}));

    in.settings.rows.reset();
    in.messageHeight = 884; // AV = 34: just enough
    const WindowLayout layout = LayoutOf(in);
    EXPECT_TRUE(layout.horizontalScroll);
    EXPECT_EQ(layout.listBox.Height(), 34); // two rows; no room left for the bar
    in.messageHeight = 820; // AV = 98: five rows and the bar would fill it, which is not below
    EXPECT_EQ(LayoutOf(in).listBox.Height(), 82);
    in.messageHeight = 819;
    EXPECT_EQ(LayoutOf(in).listBox.Height(), 100);
}

TEST(Layout, EmptyListGivesAFlatListBoxWithoutBars) {
    LayoutInput in = FullHdInput();
    in.itemCount = 0;
    in.itemWidth = 0;
    const WindowLayout layout = LayoutOf(in);
    EXPECT_EQ(layout.listBox, Rect(20, 78, 302, 2));
    EXPECT_EQ(layout.window.Width(), 356);
    EXPECT_EQ(layout.window.Height(), 170);
    EXPECT_FALSE(layout.horizontalScroll);
    in.rowHeight = 0; // a font without height: no rows, and nothing divided by it
    EXPECT_EQ(LayoutOf(in).listBox.Height(), 2);
}

TEST(Layout, VerticalBarWideningUsesAStrictTest) {
    const struct {
        std::int32_t messageWidth;
        std::int32_t listWidth; // outer
    } cases[] = {
        {1846, 1848}, // 1846 + 18 == 1864: not widened
        {1845, 1865}, // 1845 + 18 < 1864: widened
    };
    for (const auto& c : cases) {
        LayoutInput in = FullHdInput();
        in.itemCount = 100;
        in.messageWidth = c.messageWidth;
        const WindowLayout layout = LayoutOf(in);
        EXPECT_EQ(layout.listBox.Width(), c.listWidth) << c.messageWidth;
        EXPECT_FALSE(layout.horizontalScroll) << c.messageWidth;
    }
}

TEST(Layout, UnwidenedListWithAnItemBesideTheVerticalBarScrollsWithoutGrowingTaller) {
    LayoutInput in = FullHdInput();
    in.settings.width = 1920;
    in.itemCount = 100;
    in.itemWidth = 1835; // fits 1846 - 2, not 1846 - 18
    const WindowLayout layout = LayoutOf(in);
    EXPECT_TRUE(layout.horizontalScroll);
    EXPECT_EQ(layout.listBox, Rect(20, 78, 1848, 866));
    in.itemWidth = 1828; // fits 1846 - 18 exactly
    EXPECT_FALSE(LayoutOf(in).horizontalScroll);
}

TEST(Layout, WidthOptionGivesExactlyThatWidthUnlessItIsTheWholeWorkArea) {
    const struct {
        std::int32_t width;
        std::int32_t windowWidth;
    } cases[] = {{1920, 1902}, {1919, 1919}, {1000, 1000}, {200, 200}};
    for (const auto& c : cases) {
        LayoutInput in = FullHdInput();
        in.settings.width = c.width;
        in.itemCount = 100;
        EXPECT_EQ(LayoutOf(in).window.Width(), c.windowWidth) << c.width;
    }
}

TEST(Layout, OddRemaindersOfTheCentringGoRightAndDown) {
    LayoutInput in = FullHdInput();
    in.workLeft = 100;
    in.workTop = 40;
    in.workWidth = 1921;
    in.workHeight = 1041;
    const WindowLayout layout = LayoutOf(in);
    EXPECT_EQ(layout.window.left, 100 + 782);
    EXPECT_EQ(layout.window.top, 40 + 395);
}

TEST(Layout, MessageIsMeasuredWithinTheWidthTheWindowAllows) {
    LayoutInput in = FullHdInput();
    EXPECT_EQ(MaximumMessageWidth(in), 1866);
    EXPECT_EQ(MaximumMessageHeight(in), 1003);
    in.settings.width = 200;
    EXPECT_EQ(MaximumMessageWidth(in), 146);
}

TEST(Layout, TabStopDependsOnTheFontTheListUses) {
    const struct {
        bool useUiFont;
        std::optional<std::int32_t> tabLength;
        std::int32_t averageCharWidth;
        std::optional<std::int32_t> tabStop;
    } cases[] = {
        {false, std::nullopt, 7, std::nullopt}, // the list box's own default
        {true, std::nullopt, 7, 50},
        {true, std::nullopt, 6, 27}, // 27.6 truncated
        {true, std::nullopt, 20, 50},
        {false, 8, 7, 32},
        {true, 3, 6, 10}, // 10.35 truncated
        {true, 16, 7, 100},
        {true, 1, 1, 3},
        {false, 16, 6, 64},
    };
    for (const auto& c : cases) {
        const WindowSettings settings{.tabLength = c.tabLength, .useUiFont = c.useUiFont};
        EXPECT_EQ(ListTabStop(settings, c.averageCharWidth), c.tabStop)
            << c.useUiFont << ' ' << c.tabLength.value_or(0) << ' ' << c.averageCharWidth;
    }
    LayoutInput in = FullHdInput();
    in.settings.useUiFont = true;
    in.averageCharWidth = 6;
    EXPECT_EQ(LayoutOf(in).tabStop, 27);
}

TEST(Layout, MessageBesideTheBarOfAFullWidthListIsMeasuredAgainAtThePaintedWidth) {
    // A message of 4788 words of 14 pixels, 36 lines of 133 in the widest message.
    const auto measure = [](LayoutInput& in, std::int32_t width) {
        const std::int32_t perLine = width / 14;
        in.messageWidth = perLine * 14;
        in.messageHeight = (4788 + perLine - 1) / perLine * 16;
    };
    const struct {
        std::int32_t width;
        std::int64_t itemCount;
        std::int32_t messageHeight; // after fitting
        std::int32_t listWidth;     // outer
    } cases[] = {
        {1920, 100, 592, 1848}, // 1866 measured, 1848 painted: 132 words a line, not 133
        {1920, 5, 576, 1866},   // no vertical bar: painted as wide as measured
        {1919, 100, 576, 1865}, // widened back for the bar
    };
    for (const auto& c : cases) {
        LayoutInput in = FullHdInput();
        in.settings.width = c.width;
        in.itemCount = c.itemCount;
        measure(in, MaximumMessageWidth(in));
        if (const std::optional<std::int32_t> narrower = NarrowerMessageWidth(in)) {
            measure(in, *narrower);
        }
        EXPECT_EQ(in.messageHeight, c.messageHeight) << c.width << ' ' << c.itemCount;
        const WindowLayout layout = LayoutOf(in);
        EXPECT_EQ(layout.listBox.Width(), c.listWidth) << c.width << ' ' << c.itemCount;
        EXPECT_GE(layout.listBox.Width(), in.messageWidth) << c.width << ' ' << c.itemCount;
        EXPECT_EQ(layout.messageHeight, c.messageHeight);
    }
    // The worked example, a refused one, and one painted exactly as wide as measured.
    LayoutInput in = FullHdInput();
    EXPECT_EQ(NarrowerMessageWidth(in), std::nullopt);
    in.messageHeight = 903;
    in.messageWidth = 1866;
    EXPECT_EQ(NarrowerMessageWidth(in), std::nullopt);
    in.messageHeight = 48;
    in.itemCount = 100;
    in.messageWidth = 1848;
    in.settings.width = 1920;
    EXPECT_EQ(NarrowerMessageWidth(in), std::nullopt);
    in.messageWidth = 1849;
    EXPECT_EQ(NarrowerMessageWidth(in), 1848);
}

// Lines in a font of 10-pixel letters and 20-pixel ideographs, TABs every 40 pixels.
TEST(MessageText, LinesWithTabsBreakAfterBlanksOrBetweenIdeographsWhereTheyWouldPassTheWidth) {
    std::size_t longest = 0;
    const LineWidth lineWidth = [&longest](std::u16string_view line) {
        longest = std::max(longest, line.size());
        std::int32_t x = 0;
        for (const char16_t c : line) {
            x = c == u'\t' ? (x / 40 + 1) * 40 : x + (c >= 0x3000 ? 20 : 10);
        }
        return x;
    };
    std::u16string pairs;
    for (int i = 0; i < 600; ++i) {
        pairs += u"a ";
    }
    const struct {
        std::u16string message;
        std::int32_t width;
        std::u16string broken;
    } cases[] = {
        {u"ab\tcd\tef", 100, u"ab\tcd\tef"},
        {u"ab\tcd\tef", 90, u"ab\tcd\t\nef"},
        {u"Row\t\t\t\t\t\t\nRow\t\t", 50, u"Row\t\t\t\t\t\t\nRow\t\t"}, // trailing TABs hang
        {u"Name:\tdescription", 110, u"Name:\t\ndescription"},          // the word whole
        {u"st\t\t\t\tend", 50, u"st\t\t\t\t\nend"}, // a run wider than the line
        {u"\t\t\tword", 50, u"\t\t\t\nword"},
        {u"aaaa bbbbb cc\tdd", 100, u"aaaa bbbbb \ncc\tdd"}, // the space hangs
        {u"aaaa bbbbb cc\tdd", 99, u"aaaa \nbbbbb cc\t\ndd"},
        {u"前\t漢字漢字漢字", 100, u"前\t漢字漢\n字漢字"}, // between ideographs
        {u"漢字。漢字", 50, u"漢\n字。\n漢字"}, // never before 。
        {u"「漢字」\tab", 60, u"「漢\n字」\t\nab"}, // nor after 「 or before 」
        {u"abcdefghij\tk", 50, u"abcdefghij\t\nk"}, // a word wider than the line keeps it
        {u"a\tb\r\nc\td", 45, u"a\t\nb\r\nc\t\nd"},
        {u"ab  \t  cd", 20, u"ab  \t  \ncd"},
        {pairs, 1 << 30, pairs.substr(0, 1024) + u"\n" + pairs.substr(1024)}, // 1,024 units
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BreakLines(c.message, c.width, lineWidth), c.broken) << c.width;
    }
    EXPECT_LE(longest, kMaximumMeasuredLine);
    // What such a message shows: its widest ink, trailing blanks invisible past the edge.
    EXPECT_EQ(WidestLine(u"ab\t\t\t\nabcde  \r\n\t\ta", 50, lineWidth), 90);
    EXPECT_EQ(WidestLine(pairs, 50, lineWidth), 50);
    // The platform breaks a message without TABs, with its ellipses.
    EXPECT_EQ(DrawingFor(u"ab cd ef", 30, lineWidth), (MessageDrawing{u"ab cd ef", false}));
    EXPECT_EQ(DrawingFor(u"ab\tcd ef", 30, lineWidth), (MessageDrawing{u"ab\t\ncd \nef", true}));
}

TEST(TextWidth, TabsAdvanceToTheListBoxStopsAndPlainCharactersSumTheirAdvances) {
    // Stops: MulDiv rounding of stop x average / 4, and the wider default of the two platforms.
    EXPECT_EQ(TabStopPixels(32, 9), 72);
    EXPECT_EQ(TabStopPixels(17, 7), 30); // 29.75
    EXPECT_EQ(TabStopPixels(10, 7), 18); // 17.5 rounds up
    EXPECT_EQ(TabStopPixels(27, 7), 47); // 47.25
    EXPECT_EQ(DefaultTabDistances(7, 9).first, 72);
    EXPECT_EQ(DefaultTabDistances(7, 9).second, 56);

    // Every character 10 wide except 'i' (3); U+3042 has no glyph of its own.
    AdvanceTable table([](std::span<const char16_t> units, std::span<std::int32_t> advances) {
        for (std::size_t i = 0; i < units.size(); ++i) {
            advances[i] = units[i] == u'\u3042' ? -1 : units[i] == u'i' ? 3 : 10;
        }
    });
    const struct {
        std::u16string text;
        std::optional<std::int64_t> width; // the wider layout, with stops every 72 and every other
        std::int32_t other = 72;
    } cases[] = {
        {u"", 0},
        {u"abc", 30},
        {u"iii", 9},
        {u"a\tb", 82},
        {u"\t", 72},
        {u"a\t\t", 144},
        {u"\t\tEND", 174},
        {std::u16string(7, u'a') + u"\tb", 82},         // 70: the first stop is ahead
        {std::u16string(6, u'a') + u"iiii\tb", 154},    // 72: on a stop goes to the next
        {std::u16string(7, u'a') + u"ii\tb", 154},      // 76: past the first stop
        {std::u16string(6, u'a') + u"\tb", 122, 56},    // 60: past the narrower stop only
        {std::u16string(5, u'a') + u"iiiiiii\tb", 153}, // 71: the list box's inset reaches 72
        {u"a\tb", 82, 56},
        {u"a\u0301", std::nullopt}, // combining mark
        {u"\u3042", std::nullopt},
        {u"\xD83D\xDE00", std::nullopt}, // surrogate pair
        {u"\u05D0", std::nullopt},       // right to left
        {u"a\u200Db", std::nullopt},     // joiner
        {u"a\nb", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table.Measure(c.text.c_str(), {72, c.other}), c.width) << c.text.size();
    }
    // The same layout with widths from elsewhere, for lines the table cannot answer.
    const std::u16string text = u"ab\t\tc";
    EXPECT_EQ(TabbedWidth(text.c_str(), text.size(), {72, 72},
                          [](std::size_t, std::size_t count) {
                              return static_cast<std::int64_t>(count) * 100;
                          }),
              388);
}

TEST(Layout, RefusalTextsNameTheRowsValue) {
    const auto text = [](const LayoutRefusal& refusal, LanguageIndex language) {
        return FailureText(RefusalFailure(refusal), language);
    };
    EXPECT_EQ(text({LayoutRefusal::Kind::RowsTooLarge, 55}, kEnglish),
              u"55 - Value of number of rows is too large.");
    EXPECT_EQ(text({LayoutRefusal::Kind::MessageTooLarge, 0}, kEnglish),
              u"Size of message is too large to display.");
    EXPECT_EQ(text({LayoutRefusal::Kind::RowsTooLarge, 7}, kJapanese),
              u"7 - \u884C\u6570\u306E\u5024\u304C\u5927\u304D\u3059\u304E\u307E\u3059\u3002");
}

TEST(WindowRules, StartCommandsShowTheWindowAndOnlyTheNoActivateOnesLeaveTheForeground) {
    const struct {
        int requested;
        int shown;
        bool withoutActivating;
    } cases[] = {
        {kShowHide, kShowNormal, false},          {kShowNormal, kShowNormal, false},
        {kShowMinimized, kShowMinimized, false},  {kShowMaximized, kShowRestore, false},
        {kShowNoActivate, kShowNoActivate, true}, {kShowShow, kShowShow, false},
        {kShowMinNoActive, kShowMinNoActive, false}, {kShowNotActivated, kShowNotActivated, true},
        {kShowRestore, kShowRestore, false},      {10, 10, false}, // SW_SHOWDEFAULT
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowCommandFor(c.requested), c.shown) << c.requested;
        EXPECT_EQ(ShowsWithoutActivating(c.requested), c.withoutActivating) << c.requested;
    }
}

TEST(WindowRules, OnlyAHeldEnterOrEscIsDroppedAndTheLabelDoublesTheFirstAmpersand) {
    constexpr std::int64_t kHeld = std::int64_t{1} << 30;
    EXPECT_TRUE(IsHeldAnswerKey(kKeyReturn, kHeld | 1));
    EXPECT_TRUE(IsHeldAnswerKey(kKeyEscape, kHeld));
    EXPECT_FALSE(IsHeldAnswerKey(kKeyReturn, 1));
    EXPECT_FALSE(IsHeldAnswerKey(kKeyEscape, kHeld >> 1));
    EXPECT_FALSE(IsHeldAnswerKey(0x28, kHeld)); // a held arrow key moves on
    EXPECT_EQ(LabelText(u"Save & quit & go"), u"Save && quit & go");
    EXPECT_EQ(LabelText(u"&&"), u"&&&");
    EXPECT_EQ(LabelText(u"none"), u"none");
}

} // namespace
} // namespace sevrane
