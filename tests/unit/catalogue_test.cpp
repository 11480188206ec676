#include "app/usage.h"
#include "vocabulary/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace sevrane {
namespace {

bool IsSuffix(MessageId id) {
    switch (id) {
    case MessageId::MsgParameterInvalid:
    case MessageId::MsgAlreadySpecified:
    case MessageId::MsgRowsInvalid:
    case MessageId::MsgWidthInvalid:
    case MessageId::MsgSelectInvalid:
    case MessageId::MsgTabInvalid:
    case MessageId::MsgIconFileParameterInvalid:
    case MessageId::MsgIconIndexInvalid:
    case MessageId::MsgRowsTooLarge:
    case MessageId::MsgWidthTooLarge:
    case MessageId::MsgSelectTooLarge:
    case MessageId::MsgFileNotFound:
    case MessageId::MsgFileNotOpened:
    case MessageId::MsgIconNotRetrieved:
        return true;
    default:
        return false;
    }
}

TEST(Catalogue, HoldsThirtyOneEntriesEachNonEmptyInBothLanguages) {
    EXPECT_EQ(kMessageCount, 31u);
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<MessageId>(i);
        EXPECT_FALSE(MessageText(id, kJapanese).empty()) << i;
        EXPECT_FALSE(MessageText(id, kEnglish).empty()) << i;
    }
}

TEST(Catalogue, SuffixesStartWithSpaceHyphenSpaceInBothHalvesAndNothingElseDoes) {
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const auto id = static_cast<MessageId>(i);
        for (const LanguageIndex language : {kJapanese, kEnglish}) {
            const bool startsAsSuffix = MessageText(id, language).starts_with(u" - ");
            EXPECT_EQ(startsAsSuffix, IsSuffix(id))
                << "entry " << i << " language " << static_cast<int>(language);
        }
    }
}

TEST(Catalogue, TextsEndWithTheirLanguagesFullStop) {
    for (std::size_t i = 1; i < kMessageCount; ++i) {
        const auto id = static_cast<MessageId>(i);
        if (id == MessageId::LabelOk || id == MessageId::LabelCancel) {
            continue;
        }
        EXPECT_TRUE(MessageText(id, kEnglish).ends_with(u".")) << i;
        EXPECT_TRUE(MessageText(id, kJapanese).ends_with(u"\u3002")) << i;
    }
}

TEST(Catalogue, KeepsTheTextsExactlyAsUsersSeeThem) {
    EXPECT_EQ(MessageText(MessageId::MsgIconNotRetrieved, kEnglish),
              u" - Unable to retreave the icon.");
    EXPECT_EQ(MessageText(MessageId::MsgUnicodeNeedsListFile, kEnglish),
              u"/u - Parameter is able to use with /f parameter.");
    EXPECT_EQ(MessageText(MessageId::MsgUnicodeNeedsListFile, kJapanese),
              u"/u - \u30D1\u30E9\u30E1\u30FC\u30BF\u306F /f \u30D1\u30E9\u30E1\u30FC\u30BF"
              u"\u3068\u4E00\u7DD2\u306B\u4F7F\u3044\u307E\u3059\u3002");
    EXPECT_EQ(MessageText(MessageId::LabelOk, kJapanese), u"OK");
    EXPECT_EQ(MessageText(MessageId::LabelCancel, kJapanese), u"\u30AD\u30E3\u30F3\u30BB\u30EB");
    EXPECT_EQ(MessageText(MessageId::LabelCancel, kEnglish), u"Cancel");
}

TEST(Catalogue, UsageTextsHaveSixteenLfTerminatedLinesAndElevenTabs) {
    for (const LanguageIndex language : {kJapanese, kEnglish}) {
        const std::u16string_view usage = MessageText(MessageId::MsgUsage, language);
        EXPECT_EQ(std::count(usage.begin(), usage.end(), u'\n'), 16) << static_cast<int>(language);
        EXPECT_EQ(std::count(usage.begin(), usage.end(), u'\t'), 11) << static_cast<int>(language);
        EXPECT_TRUE(usage.ends_with(u'\n'));
        EXPECT_EQ(UsageMeasuredText(usage), u"sevrane ");
    }
    const std::u16string_view english = MessageText(MessageId::MsgUsage, kEnglish);
    EXPECT_NE(english.find(u"\n\t    \\n:CRLF \\t:TAB \\\\:\\\n"), std::u16string_view::npos);
    const std::u16string_view japanese = MessageText(MessageId::MsgUsage, kJapanese);
    // Full-width parentheses and wave dash.
    EXPECT_NE(japanese.find(u"\uFF08\u6700\u5C0F 200\uFF09\n"), std::u16string_view::npos);
    EXPECT_NE(japanese.find(u"\uFF081\uFF5E16\uFF09\n"), std::u16string_view::npos);
}

// Every text a command line can fail with, written out once: the parser's and the program's
// tests name failures by their entries.
TEST(Catalogue, CommandLineTextsInBothLanguages) {
    const struct {
        MessageId id;
        const char16_t* english;
        const char16_t* japanese;
    } cases[] = {
        {MessageId::MsgEmptyParameter, u"Empty parameter is specified.",
         u"空のパラメータが指定されています。"},
        {MessageId::MsgParameterInvalid, u" - Parameter is invalid.",
         u" - パラメータが正しくありません。"},
        {MessageId::MsgAlreadySpecified, u" - Parameter is already specified.",
         u" - パラメータはすでに指定されています。"},
        {MessageId::MsgRowsNotSpecified, u"Number of rows is not specified.",
         u"行数が指定されていません。"},
        {MessageId::MsgSelectNotSpecified, u"Select number is not specified.",
         u"選択する番号が指定されていません。"},
        {MessageId::MsgTabNotSpecified, u"Number of tab character is not specified.",
         u"タブの文字数が指定されていません。"},
        {MessageId::MsgWidthNotSpecified, u"Window width is not specified.",
         u"ウィンドウ幅が指定されていません。"},
        {MessageId::MsgIconFileNotSpecified, u"Icon file is not specified.",
         u"アイコンファイルが指定されていません。"},
        {MessageId::MsgRowsInvalid, u" - Value of number of rows is invalid.",
         u" - 行数の値が正しくありません。"},
        {MessageId::MsgSelectInvalid, u" - Value of select number is invalid.",
         u" - 選択する番号の値が正しくありません。"},
        {MessageId::MsgTabInvalid, u" - Value of number of tab character is invalid.",
         u" - タブの文字数の値が正しくありません。"},
        {MessageId::MsgWidthInvalid, u" - Value of window width is invalid.",
         u" - ウィンドウ幅の値が正しくありません。"},
        {MessageId::MsgWidthTooLarge, u" - Value of window width is too large.",
         u" - ウィンドウ幅の値が大きすぎます。"},
        {MessageId::MsgIconFileParameterInvalid, u" - Parameter of icon file is invalid.",
         u" - アイコンファイルのパラメータが正しくありません。"},
        {MessageId::MsgIconIndexInvalid, u" - Index of icon file is invalid.",
         u" - アイコンファイルのインデックスが正しくありません。"},
        {MessageId::MsgTitleNotSpecified, u"Title is not specified.",
         u"タイトルが指定されていません。"},
        {MessageId::MsgMessageNotSpecified, u"Message is not specified.",
         u"メッセージが指定されていません。"},
        {MessageId::MsgSelectTooLarge, u" - Value of select number is too large.",
         u" - 選択する番号の値が大きすぎます。"},
        {MessageId::MsgListFileNotSpecified, u"List file is not specified.",
         u"リストファイルが指定されていません。"},
        {MessageId::MsgListFileParameterInvalid, u"Parameter of list file is invalid.",
         u"リストファイルのパラメータが正しくありません。"},
        {MessageId::MsgListNotSpecified, u"List is not specified.",
         u"リストが指定されていません。"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageText(c.id, kEnglish), c.english);
        EXPECT_EQ(MessageText(c.id, kJapanese), c.japanese);
    }
    EXPECT_EQ(FailureText({MessageId::MsgTabInvalid, u"17"}, kJapanese),
              u"17 - タブの文字数の値が正しくありません。");
}

TEST(Language, OnlyJapaneseUiLanguagePicksTheJapaneseHalf) {
    EXPECT_EQ(LanguageIndexFor(1041), kJapanese);
    EXPECT_EQ(LanguageIndexFor(1033), kEnglish);
    EXPECT_EQ(LanguageIndexFor(2052), kEnglish); // Chinese
    EXPECT_EQ(LanguageIndexFor(0), kEnglish);
}

TEST(ComposeMessage, JoinsPrefixAndSuffixWithNothingBetween) {
    EXPECT_EQ(ComposeMessage(u"/x", MessageId::MsgParameterInvalid, kEnglish),
              u"/x - Parameter is invalid.");
    EXPECT_EQ(ComposeMessage(u"", MessageId::MsgWidthInvalid, kEnglish),
              u" - Value of window width is invalid.");
    EXPECT_EQ(FailureText({MessageId::MsgTitleNotSpecified, {}}, kEnglish),
              u"Title is not specified.");
    EXPECT_EQ(ComposeMessage(u"/\u00E9", MessageId::MsgParameterInvalid, kJapanese),
              u"/\u00E9 - \u30D1\u30E9\u30E1\u30FC\u30BF\u304C\u6B63\u3057\u304F\u3042\u308A"
              u"\u307E\u305B\u3093\u3002");
}

TEST(FormatNumber, WritesTheWholeSigned32BitRange) {
    const struct {
        std::int32_t value;
        const char16_t* text;
    } cases[] = {
        {0, u"0"},
        {7, u"7"},
        {10, u"10"},
        {-1, u"-1"},
        {INT32_MAX, u"2147483647"},
        {INT32_MIN, u"-2147483648"},
        {1000000, u"1000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;
    }
}

TEST(UsageIndent, TruncatesTheSinglePrecisionQuotient) {
    const struct {
        std::int32_t width;
        float space;
        std::int32_t indent;
    } cases[] = {
        {52, 4.0f, 13}, {52, 3.5f, 14}, {0, 4.0f, 0}, {52, 0.0f, 0},
        {52, -3.0f, 0}, {-5, 4.0f, 0},  {7, 8.0f, 0}, {52, 1e-30f, 64},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UsageIndentCount(c.width, c.space), c.indent) << c.width << " / " << c.space;
    }
}

TEST(UsageIndent, ReplacesEveryTabByTheIndentAndNothingElse) {
    EXPECT_EQ(ExpandUsageTabs(u"a\n\t/r x\n\t    d\n", 3), u"a\n   /r x\n       d\n");
    EXPECT_EQ(ExpandUsageTabs(u"\t\t", 2), u"    ");
    EXPECT_EQ(ExpandUsageTabs(u"\tx", 0), u"x");
    for (const LanguageIndex language : {kJapanese, kEnglish}) {
        const std::u16string_view usage = MessageText(MessageId::MsgUsage, language);
        const std::u16string expanded = ExpandUsageTabs(usage, 13);
        EXPECT_EQ(expanded.size(), usage.size() + 11 * 12);
        EXPECT_EQ(expanded.find(u'\t'), std::u16string::npos);
        // Lines 8 and 12 keep their own four spaces behind the indent.
        EXPECT_NE(expanded.find(u"\n" + std::u16string(17, u' ') + u"\\n:CRLF"),
                  std::u16string::npos);
    }
}

} // namespace
} // namespace sevrane
