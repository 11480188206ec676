#include "app/options.h"
#include "vocabulary/catalogue.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sevrane {
namespace {

constexpr std::int32_t kWorkArea = 1024;

std::vector<std::u16string> Args(std::initializer_list<std::u16string_view> list) {
    return std::vector<std::u16string>(list.begin(), list.end());
}

// Parsing and checking as the run does them: the text of the first error of either, or nothing.
std::optional<std::u16string> FirstError(const std::vector<std::u16string>& arguments,
                                         std::int32_t workArea = kWorkArea,
                                         LanguageIndex language = kEnglish) {
    ParseResult parsed = ParseArguments(arguments, workArea);
    const std::optional<Failure> failure =
        parsed.error ? parsed.error : CheckSettings(parsed.settings);
    if (!failure) {
        return std::nullopt;
    }
    return FailureText(*failure, language);
}

Settings Parsed(const std::vector<std::u16string>& arguments) {
    ParseResult parsed = ParseArguments(arguments, kWorkArea);
    EXPECT_FALSE(parsed.error.has_value()) << "unexpected parse error";
    EXPECT_FALSE(CheckSettings(parsed.settings).has_value()) << "unexpected check error";
    return parsed.settings;
}

struct Case {
    const char* what;
    std::vector<std::u16string> arguments;
    std::optional<std::u16string> error; // English; nullopt means accepted
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const auto actual = FirstError(c.arguments);
        EXPECT_EQ(actual, c.error)
            << c.what << ": got " << (actual ? test::Shown(*actual) : "(accepted)");
    }
}

TEST(Options, EveryArgumentErrorShowsItsExactText) {
    RunCases({
        {"empty title", Args({u"", u"M", u"a"}), u"Empty parameter is specified."},
        {"empty message", Args({u"T", u"", u"a"}), u"Empty parameter is specified."},
        {"empty item", Args({u"T", u"M", u"a", u""}), u"Empty parameter is specified."},
        {"empty where an option stands", Args({u"/e", u"", u"/m"}),
         u"Empty parameter is specified."},
        {"unknown option", Args({u"/x", u"T", u"M", u"a"}), u"/x - Parameter is invalid."},
        {"lone slash", Args({u"T", u"/"}), u"/ - Parameter is invalid."},
        {"usage with more", Args({u"/?", u"T"}), u"/? - Parameter is invalid."},
        {"void as typed", Args({u"T", u"/VoId"}), u"/VoId - Parameter is invalid."},
        {"ver with more", Args({u"/ver", u"x"}), u"/ver - Parameter is invalid."},
        {"value joined", Args({u"/r5", u"T"}), u"/r5 - Parameter is invalid."},
        {"value with equals", Args({u"/r=5"}), u"/r=5 - Parameter is invalid."},
        {"option prefix", Args({u"/fdx"}), u"/fdx - Parameter is invalid."},
        {"dotless capital I", Args({u"/\u0130", u"x"}), u"/\u0130 - Parameter is invalid."},
        {"long s", Args({u"/\u017F", u"1"}), u"/\u017F - Parameter is invalid."},
        {"first of two", Args({u"/x", u"/y"}), u"/x - Parameter is invalid."},
        {"rows before missing message", Args({u"T", u"/r", u"abc"}),
         u"abc - Value of number of rows is invalid."},
        {"rows repeat", Args({u"/r", u"3", u"/R", u"4"}), u"/r - Parameter is already specified."},
        {"select repeat", Args({u"/S", u"1", u"/s", u"1"}),
         u"/s - Parameter is already specified."},
        {"tab repeat", Args({u"/t", u"2", u"/T", u"2"}), u"/t - Parameter is already specified."},
        {"width repeat", Args({u"/W", u"300", u"/W", u"300"}),
         u"/w - Parameter is already specified."},
        {"icon repeat", Args({u"/i", u"a.ico", u"/I", u"b.ico"}),
         u"/i - Parameter is already specified."},
        {"repeat before missing", Args({u"/r", u"3", u"/r"}),
         u"/r - Parameter is already specified."},
        {"rows missing", Args({u"T", u"M", u"a", u"/r"}), u"Number of rows is not specified."},
        {"select missing", Args({u"/s"}), u"Select number is not specified."},
        {"tab missing", Args({u"/T"}), u"Number of tab character is not specified."},
        {"width missing", Args({u"/w"}), u"Window width is not specified."},
        {"icon missing", Args({u"/i"}), u"Icon file is not specified."},
        {"rows takes next option", Args({u"/r", u"/w", u"300"}),
         u"/w - Value of number of rows is invalid."},
        {"rows empty", Args({u"/r", u""}), u" - Value of number of rows is invalid."},
        {"rows 0", Args({u"/r", u"0"}), u"0 - Value of number of rows is invalid."},
        {"rows -1", Args({u"/r", u"-1"}), u"-1 - Value of number of rows is invalid."},
        {"rows +3", Args({u"/r", u"+3"}), u"+3 - Value of number of rows is invalid."},
        {"rows 3.0", Args({u"/r", u"3.0"}), u"3.0 - Value of number of rows is invalid."},
        {"rows space", Args({u"/r", u" 3"}), u" 3 - Value of number of rows is invalid."},
        {"rows full-width", Args({u"/r", u"\uFF13"}),
         u"\uFF13 - Value of number of rows is invalid."},
        {"select 0", Args({u"/s", u"0"}), u"0 - Value of select number is invalid."},
        {"select empty", Args({u"/s", u""}), u" - Value of select number is invalid."},
        {"tab 17", Args({u"/t", u"17"}), u"17 - Value of number of tab character is invalid."},
        {"tab 0", Args({u"/t", u"0"}), u"0 - Value of number of tab character is invalid."},
        {"tab x", Args({u"/t", u"x"}), u"x - Value of number of tab character is invalid."},
        {"width 199", Args({u"/w", u"199"}), u"199 - Value of window width is invalid."},
        {"width empty", Args({u"/w", u""}), u" - Value of window width is invalid."},
        {"width one more", Args({u"/w", u"1025"}), u"1025 - Value of window width is too large."},
        {"width saturates", Args({u"/w", u"99999999999"}),
         u"99999999999 - Value of window width is too large."},
        {"icon malformed", Args({u"/i", u"a,b,c"}), u"a,b,c - Parameter of icon file is invalid."},
        {"icon bad index", Args({u"/i", u"shell.dll,  4"}),
         u"shell.dll,  4 - Index of icon file is invalid."},
    });
}

TEST(Options, ChecksRunInTheirFixedOrder) {
    RunCases({
        {"nothing", Args({}), u"Title is not specified."},
        {"title only", Args({u"Title"}), u"Message is not specified."},
        {"title missing beats all", Args({u"/u", u"/s", u"9"}), u"Title is not specified."},
        {"message before selection", Args({u"T", u"/s", u"9"}), u"Message is not specified."},
        {"no list", Args({u"T", u"M"}), u"List is not specified."},
        {"selection before list", Args({u"/s", u"1", u"T", u"M"}),
         u"1 - Value of select number is too large."},
        {"selection beyond two", Args({u"/s", u"3", u"T", u"M", u"a", u"b"}),
         u"3 - Value of select number is too large."},
        {"selection typed 007", Args({u"/s", u"007", u"T", u"M", u"a", u"b"}),
         u"7 - Value of select number is too large."},
        {"selection saturated", Args({u"/s", u"99999999999", u"T", u"M", u"a"}),
         u"2147483647 - Value of select number is too large."},
        {"selection before unicode", Args({u"/u", u"/s", u"2", u"T", u"M", u"a"}),
         u"2 - Value of select number is too large."},
        {"list file missing", Args({u"/f", u"T", u"M"}), u"List file is not specified."},
        {"two list files", Args({u"/fd", u"T", u"M", u"a", u"b"}),
         u"Parameter of list file is invalid."},
        {"unicode without list", Args({u"/u", u"T", u"M"}), u"List is not specified."},
        {"unicode without file", Args({u"/u", u"T", u"M", u"a"}),
         u"/u - Parameter is able to use with /f parameter."},
        {"unicode with file", Args({u"/U", u"/F", u"T", u"M", u"list.txt"}), std::nullopt},
        // The list file's lines are not known yet; the number goes to the list box as it is.
        {"selection with list file", Args({u"/s", u"5", u"/f", u"T", u"M", u"list.txt"}),
         std::nullopt},
        {"selection with list file, no file", Args({u"/s", u"5", u"/f", u"T", u"M"}),
         u"List file is not specified."},
        {"selection with two list files", Args({u"/s", u"5", u"/f", u"T", u"M", u"a", u"b"}),
         u"Parameter of list file is invalid."},
    });
}

TEST(Options, AcceptedValuesAreStored) {
    EXPECT_EQ(Parsed(Args({u"/s", u"2", u"T", u"M", u"a", u"b"})).selectIndex, 1);
    EXPECT_EQ(Parsed(Args({u"/s", u"5", u"/f", u"T", u"M", u"l"})).selectIndex, 4);
    EXPECT_EQ(Parsed(Args({u"/t", u"16", u"T", u"M", u"a"})).tabLength, 16);
    EXPECT_EQ(Parsed(Args({u"/r", u"1", u"T", u"M", u"a"})).rows, 1);
    EXPECT_EQ(Parsed(Args({u"/w", u"200", u"T", u"M", u"a"})).width, 200);
    EXPECT_EQ(Parsed(Args({u"/w", u"1024", u"T", u"M", u"a"})).width, 1024);
    EXPECT_EQ(Parsed(Args({u"/w", u"0300", u"T", u"M", u"a"})).width, 300);
    EXPECT_EQ(Parsed(Args({u"/i", u"/r", u"T", u"M", u"a"})).icon, (IconSpec{u"/r", 0}));
    EXPECT_EQ(Parsed(Args({u"/i", u"", u"T", u"M", u"a"})).icon, (IconSpec{u"", 0}));
    EXPECT_EQ(Parsed(Args({u"/i", u"lib.dll,-3", u"T", u"M", u"a"})).icon,
              (IconSpec{u"lib.dll", -3}));

    const Settings plain = Parsed(Args({u"-x", u"M", u"a"}));
    EXPECT_EQ(plain.title, u"-x");
    EXPECT_EQ(plain.selectIndex, -1);
    EXPECT_EQ(plain.tabLength, 8);
    EXPECT_FALSE(plain.rowsGiven || plain.widthGiven || plain.tabGiven || plain.icon);
}

TEST(Options, AnOptionAnywhereGivesTheSameSettings) {
    Settings expected;
    expected.title = u"T";
    expected.message = u"M";
    expected.items = {u"a"};
    expected.rows = 5;
    expected.rowsGiven = true;
    EXPECT_EQ(Parsed(Args({u"/r", u"5", u"T", u"M", u"a"})), expected);
    EXPECT_EQ(Parsed(Args({u"T", u"/r", u"5", u"M", u"a"})), expected);
    EXPECT_EQ(Parsed(Args({u"T", u"M", u"a", u"/R", u"5"})), expected);
}

TEST(Options, FlagsInAnyCaseMayRepeatAndDeleteStaysSet) {
    const Settings s =
        Parsed(Args({u"/E", u"/e", u"/M", u"/m", u"/u", u"/U", u"/FD", u"/f", u"T", u"M", u"l"}));
    EXPECT_TRUE(s.escapes && s.useUiFont && s.unicodeListFile && s.listFile && s.deleteListFile);
    const Settings f = Parsed(Args({u"/F", u"T", u"M", u"l"}));
    EXPECT_TRUE(f.listFile);
    EXPECT_FALSE(f.deleteListFile);
}

TEST(Options, WidthIsBoundedByTheWorkAreaGiven) {
    EXPECT_EQ(FirstError(Args({u"/w", u"200", u"T", u"M", u"a"}), 199),
              u"200 - Value of window width is too large.");
    EXPECT_EQ(FirstError(Args({u"/w", u"1920", u"T", u"M", u"a"}), 1920), std::nullopt);
}

TEST(Options, JapaneseTextsKeepThePrefixAsTyped) {
    const auto japanese = [](const std::vector<std::u16string>& arguments) {
        return FirstError(arguments, kWorkArea, kJapanese);
    };
    EXPECT_EQ(japanese(Args({u"T", u""})), u"空のパラメータが指定されています。");
    EXPECT_EQ(japanese(Args({u"/Void", u"x"})), u"/Void - パラメータが正しくありません。");
    EXPECT_EQ(japanese(Args({u"/T", u"3", u"/t", u"4"})),
              u"/t - パラメータはすでに指定されています。");
    EXPECT_EQ(japanese(Args({u"/r", u""})), u" - 行数の値が正しくありません。");
    EXPECT_EQ(japanese(Args({u"/w", u"2000"})), u"2000 - ウィンドウ幅の値が大きすぎます。");
    EXPECT_EQ(japanese(Args({u"/s", u"007", u"T", u"M"})), u"7 - 選択する番号の値が大きすぎます。");
    EXPECT_EQ(japanese(Args({u"/i", u",4"})),
              u",4 - アイコンファイルのパラメータが正しくありません。");
    EXPECT_EQ(japanese(Args({})), u"タイトルが指定されていません。");
    EXPECT_EQ(japanese(Args({u"/u", u"T", u"M", u"a"})),
              u"/u - パラメータは /f パラメータと一緒に使います。");
}

TEST(OptionsBadInput, UnpairedSurrogatesPassThroughUnchanged) {
    const Settings s = Parsed(Args({u"\xD800", u"M\xDC00", u"\xDBFF"}));
    EXPECT_EQ(s.title, u"\xD800");
    EXPECT_EQ(s.message, u"M\xDC00");
    EXPECT_EQ(s.items, ItemList{u"\xDBFF"});
    EXPECT_EQ(FirstError(Args({u"/\xD800"})), u"/\xD800 - Parameter is invalid.");
    EXPECT_EQ(FirstError(Args({u"/r", u"1\xDC00"})),
              u"1\xDC00 - Value of number of rows is invalid.");
}

TEST(OptionsBadInput, LongArgumentsAreShownWhole) {
    const std::u16string option = u"/" + std::u16string(31999, u'x');
    EXPECT_EQ(FirstError({option}), option + u" - Parameter is invalid.");
    const std::u16string nines(32000, u'9');
    EXPECT_EQ(FirstError({u"/w", nines}), nines + u" - Value of window width is too large.");
    // Leading zeros do not count towards the saturation.
    const std::u16string zeros = std::u16string(31999, u'0') + u"2";
    EXPECT_EQ(Parsed({u"/s", zeros, u"T", u"M", u"a", u"b"}).selectIndex, 1);
}

TEST(OptionsBadInput, ThousandsOfArgumentsAreWalkedToTheEnd) {
    std::vector<std::u16string> arguments(10000, u"/e");
    arguments.insert(arguments.end(), {u"T", u"M"});
    arguments.insert(arguments.end(), 5000, u"item");
    EXPECT_EQ(Parsed(arguments).items.size(), 5000u);
    arguments.push_back(u"/z");
    EXPECT_EQ(FirstError(arguments), u"/z - Parameter is invalid.");
}

} // namespace
} // namespace sevrane
