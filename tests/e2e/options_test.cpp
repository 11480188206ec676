// The command line as the user types it: every failure text in its box, the order in which
// failures are found, and command lines that are accepted.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <string>

namespace sevrane::e2e {
namespace {

struct Case {
    Arguments arguments;
    std::wstring text;
};

void ExpectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        ExpectSingleWarning(RunToEnd(c.arguments), c.text);
    }
}

std::wstring WorkAreaWidth() {
    const RECT area = WorkArea();
    return std::to_wstring(area.right - area.left);
}

std::wstring WorkAreaWidthPlusOne() {
    const RECT area = WorkArea();
    return std::to_wstring(area.right - area.left + 1);
}

TEST(CommandLine, EmptyArgumentIsReportedWhereverItStands) {
    ExpectCases({
        {{L""}, L"Empty parameter is specified."},
        {{L"", L"Message", L"item"}, L"Empty parameter is specified."},
        {{L"Title", L"", L"item"}, L"Empty parameter is specified."},
        {{L"Title", L"Message", L"item", L""}, L"Empty parameter is specified."},
        {{L"/e", L"", L"Title"}, L"Empty parameter is specified."},
    });
}

TEST(CommandLine, UnrecognisedOptionIsShownExactlyAsTyped) {
    // Near the limit of a command line (32,767 characters with the program's path).
    const std::wstring longOption = L"/" + std::wstring(32000, L'x');
    ExpectCases({
        {{L"/x", L"Title", L"Message", L"item"}, L"/x - Parameter is invalid."},
        {{L"/"}, L"/ - Parameter is invalid."},
        {{L"/r3", L"Title", L"Message", L"item"}, L"/r3 - Parameter is invalid."},
        {{L"/r=3", L"Title"}, L"/r=3 - Parameter is invalid."},
        {{L"Title", L"Message", L"item", L"/fdd"}, L"/fdd - Parameter is invalid."},
        // Only the first of two is reported.
        {{L"/a", L"/b"}, L"/a - Parameter is invalid."},
        // Quotes, backslashes and spaces reach the box as typed.
        {{L"/a\"b\\", L"Title"}, L"/a\"b\\ - Parameter is invalid."},
        {{L"/ spaced  out \\\\"}, L"/ spaced  out \\\\ - Parameter is invalid."},
        {{L"/Grüße", L"Title"}, L"/Grüße - Parameter is invalid."},
        {{longOption}, longOption + L" - Parameter is invalid."},
    });
}

TEST(CommandLine, RepeatedOptionIsNamedInSmallLetters) {
    ExpectCases({
        {{L"/r", L"3", L"/R", L"4", L"T", L"M", L"a"}, L"/r - Parameter is already specified."},
        {{L"/s", L"1", L"T", L"/S", L"1", L"M", L"a"}, L"/s - Parameter is already specified."},
        {{L"/t", L"4", L"/t", L"4"}, L"/t - Parameter is already specified."},
        {{L"/W", L"300", L"/w", L"300"}, L"/w - Parameter is already specified."},
        {{L"/i", L"a.ico", L"/I", L"b.ico"}, L"/i - Parameter is already specified."},
    });
}

TEST(CommandLine, OptionWithoutItsValueIsReported) {
    ExpectCases({
        {{L"T", L"M", L"a", L"/r"}, L"Number of rows is not specified."},
        {{L"T", L"M", L"a", L"/s"}, L"Select number is not specified."},
        {{L"T", L"M", L"a", L"/T"}, L"Number of tab character is not specified."},
        {{L"T", L"M", L"a", L"/w"}, L"Window width is not specified."},
        {{L"T", L"M", L"a", L"/i"}, L"Icon file is not specified."},
    });
}

TEST(CommandLine, InvalidNumberIsShownAsTyped) {
    ExpectCases({
        {{L"/r", L"0", L"T", L"M", L"a"}, L"0 - Value of number of rows is invalid."},
        {{L"/r", L"-1", L"T", L"M", L"a"}, L"-1 - Value of number of rows is invalid."},
        {{L"/r", L"+3", L"T", L"M", L"a"}, L"+3 - Value of number of rows is invalid."},
        {{L"/r", L"3.0", L"T", L"M", L"a"}, L"3.0 - Value of number of rows is invalid."},
        {{L"/r", L" 3", L"T", L"M", L"a"}, L" 3 - Value of number of rows is invalid."},
        {{L"/r", L"", L"T", L"M", L"a"}, L" - Value of number of rows is invalid."},
        // The value is taken whatever it holds, even an option name.
        {{L"/r", L"/w", L"T", L"M", L"a"}, L"/w - Value of number of rows is invalid."},
        {{L"/s", L"0", L"T", L"M", L"a"}, L"0 - Value of select number is invalid."},
        {{L"/s", L"x", L"T", L"M", L"a"}, L"x - Value of select number is invalid."},
        {{L"/t", L"17", L"T", L"M", L"a"}, L"17 - Value of number of tab character is invalid."},
        {{L"/t", L"0", L"T", L"M", L"a"}, L"0 - Value of number of tab character is invalid."},
        {{L"/w", L"199", L"T", L"M", L"a"}, L"199 - Value of window width is invalid."},
        {{L"/w", L"", L"T", L"M", L"a"}, L" - Value of window width is invalid."},
        {{L"/w", L"3OO", L"T", L"M", L"a"}, L"3OO - Value of window width is invalid."},
    });
}

TEST(CommandLine, WidthBeyondTheWorkAreaIsTooLarge) {
    ExpectCases({
        {{L"/w", WorkAreaWidthPlusOne(), L"T", L"M", L"a"},
         WorkAreaWidthPlusOne() + L" - Value of window width is too large."},
        // The conversion stops at the largest number; the box shows what was typed.
        {{L"/w", L"99999999999", L"T", L"M", L"a"},
         L"99999999999 - Value of window width is too large."},
    });
}

TEST(CommandLine, MalformedIconValueIsShownAsTyped) {
    ExpectCases({
        {{L"/i", L",4", L"T", L"M", L"a"}, L",4 - Parameter of icon file is invalid."},
        {{L"/i", L"shell.dll,", L"T", L"M", L"a"},
         L"shell.dll, - Parameter of icon file is invalid."},
        {{L"/i", L"a,b,c", L"T", L"M", L"a"}, L"a,b,c - Parameter of icon file is invalid."},
        {{L"/i", L"shell.dll,  4", L"T", L"M", L"a"},
         L"shell.dll,  4 - Index of icon file is invalid."},
        {{L"/i", L"shell.dll,-1", L"T", L"M", L"a"},
         L"shell.dll,-1 - Index of icon file is invalid."},
        {{L"/i", L"shell.dll,5-", L"T", L"M", L"a"},
         L"shell.dll,5- - Index of icon file is invalid."},
        {{L"/i", L"shell.dll,+5", L"T", L"M", L"a"},
         L"shell.dll,+5 - Index of icon file is invalid."},
        {{L"/i", L"shell.dll,x", L"T", L"M", L"a"},
         L"shell.dll,x - Index of icon file is invalid."},
    });
}

TEST(CommandLine, ChecksAfterParsingReportTheFirstGap) {
    ExpectCases({
        {{L"/e", L"/m"}, L"Title is not specified."},
        {{L"Title"}, L"Message is not specified."},
        {{L"/s", L"3", L"T", L"M", L"a", L"b"}, L"3 - Value of select number is too large."},
        // The number is formatted anew, not repeated as typed.
        {{L"/s", L"007", L"T", L"M", L"a", L"b"}, L"7 - Value of select number is too large."},
        // The selection is checked before the missing list.
        {{L"/s", L"1", L"T", L"M"}, L"1 - Value of select number is too large."},
        {{L"/f", L"T", L"M"}, L"List file is not specified."},
        {{L"/fd", L"T", L"M", L"a.txt", L"b.txt"}, L"Parameter of list file is invalid."},
        {{L"T", L"M"}, L"List is not specified."},
        {{L"/u", L"T", L"M"}, L"List is not specified."},
        {{L"/u", L"T", L"M", L"a"}, L"/u - Parameter is able to use with /f parameter."},
    });
}

TEST(CommandLine, ParsingErrorsComeBeforeTheChecks) {
    ExpectCases({
        // An invalid value is found while parsing, before the missing message is noticed.
        {{L"Title", L"/r", L"x"}, L"x - Value of number of rows is invalid."},
        // An invalid icon value beats a missing title.
        {{L"/i", L",4"}, L",4 - Parameter of icon file is invalid."},
        // Parsing stops at the first error; the later one is never seen.
        {{L"/r", L"0", L"/x"}, L"0 - Value of number of rows is invalid."},
    });
}

TEST(CommandLine, AcceptedCommandLinesShowTheWindow) {
    const std::vector<Arguments> accepted = {
        {L"Title", L"Message", L"item"},
        {L"/r", L"3", L"Title", L"Message", L"item"},
        {L"Title", L"/R", L"3", L"Message", L"item"},
        {L"Title", L"Message", L"item", L"/r", L"3"},
        {L"/t", L"16", L"T", L"M", L"a"},
        {L"/w", L"200", L"T", L"M", L"a"},
        {L"/w", WorkAreaWidth(), L"T", L"M", L"a"},
        {L"/w", L"0300", L"T", L"M", L"a"},
        {L"/s", L"2", L"T", L"M", L"a", L"b"},
        {L"/E", L"/e", L"/M", L"/m", L"T", L"M", L"a"},
        {L"-x", L"-y", L"-z"},
    };
    for (const Arguments& arguments : accepted) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const RunOutcome outcome = RunToEnd(arguments);
        EXPECT_TRUE(outcome.boxes.empty())
            << (outcome.boxes.empty() ? std::wstring() : outcome.boxes[0].text);
        EXPECT_TRUE(outcome.windowShown);
        EXPECT_EQ(outcome.exitCode, 0u);
    }
}

TEST(CommandLine, EveryFailureInJapaneseUsesTheJapaneseText) {
    SEVRANE_SKIP_UNLESS_JAPANESE_UI();
    ExpectCases({
        {{L"T", L"", L"a"}, L"空のパラメータが指定されています。"},
        // The argument stays as typed; only the suffix is translated.
        {{L"/ファイル", L"T"}, L"/ファイル - パラメータが正しくありません。"},
        {{L"/x", L"T"}, L"/x - パラメータが正しくありません。"},
        {{L"/r", L"3", L"/R", L"4"}, L"/r - パラメータはすでに指定されています。"},
        {{L"T", L"/r"}, L"行数が指定されていません。"},
        {{L"T", L"/s"}, L"選択する番号が指定されていません。"},
        {{L"T", L"/t"}, L"タブの文字数が指定されていません。"},
        {{L"T", L"/w"}, L"ウィンドウ幅が指定されていません。"},
        {{L"T", L"/i"}, L"アイコンファイルが指定されていません。"},
        {{L"/r", L"", L"T"}, L" - 行数の値が正しくありません。"},
        {{L"/s", L"０", L"T"}, L"０ - 選択する番号の値が正しくありません。"},
        {{L"/t", L"17", L"T"}, L"17 - タブの文字数の値が正しくありません。"},
        {{L"/w", L"199", L"T"}, L"199 - ウィンドウ幅の値が正しくありません。"},
        {{L"/w", WorkAreaWidthPlusOne(), L"T"},
         WorkAreaWidthPlusOne() + L" - ウィンドウ幅の値が大きすぎます。"},
        {{L"/i", L"a,b,c"}, L"a,b,c - アイコンファイルのパラメータが正しくありません。"},
        {{L"/i", L"アイコン.dll,-1"},
         L"アイコン.dll,-1 - アイコンファイルのインデックスが正しくありません。"},
        {{L"/s", L"05", L"T", L"M", L"a"}, L"5 - 選択する番号の値が大きすぎます。"},
        {{L"/m"}, L"タイトルが指定されていません。"},
        {{L"タイトル"}, L"メッセージが指定されていません。"},
        {{L"/f", L"T", L"M"}, L"リストファイルが指定されていません。"},
        {{L"/f", L"T", L"M", L"a", L"b"}, L"リストファイルのパラメータが正しくありません。"},
        {{L"T", L"M"}, L"リストが指定されていません。"},
        {{L"/u", L"T", L"M", L"a"}, L"/u - パラメータは /f パラメータと一緒に使います。"},
    });
}

} // namespace
} // namespace sevrane::e2e
