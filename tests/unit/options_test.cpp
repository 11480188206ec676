#include "app/options.h"
#include "vocabulary/catalogue.h"

#include "command_line_cases.h"
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

// Parsing and checking as the run does them: the first failure of either, or nothing.
std::optional<Failure> FirstFailure(const std::vector<std::u16string>& arguments,
                                    std::int32_t workArea = kWorkArea) {
    ParseResult parsed = ParseArguments(arguments, workArea);
    return parsed.error ? parsed.error : CheckSettings(parsed.settings);
}

Settings Parsed(const std::vector<std::u16string>& arguments) {
    ParseResult parsed = ParseArguments(arguments, kWorkArea);
    EXPECT_FALSE(parsed.error.has_value()) << "unexpected parse error";
    EXPECT_FALSE(CheckSettings(parsed.settings).has_value()) << "unexpected check error";
    return parsed.settings;
}

std::string Shown(const std::optional<Failure>& failure) {
    return failure ? test::Shown(FailureText(*failure, kEnglish)) : "(accepted)";
}

TEST(Options, EveryCommandLineGivesItsFirstFailureOrIsAccepted) {
    for (const test::CommandLineCase& c : test::CommandLineCases(kWorkArea)) {
        const std::optional<Failure> actual = FirstFailure(c.arguments);
        EXPECT_EQ(actual, c.failure)
            << "arguments " << testing::PrintToString(c.arguments) << ": got " << Shown(actual)
            << ", expected " << Shown(c.failure);
    }
}

TEST(Options, AcceptedValuesAreStored) {
    EXPECT_EQ(Parsed(Args({u"/s", u"2", u"T", u"M", u"a", u"b"})).selectIndex, 1);
    EXPECT_EQ(Parsed(Args({u"/s", u"5", u"/f", u"T", u"M", u"l"})).selectIndex, 4);
    EXPECT_EQ(Parsed(Args({u"/t", u"16", u"T", u"M", u"a"})).window.TabLength(), 16);
    EXPECT_EQ(Parsed(Args({u"/r", u"1", u"T", u"M", u"a"})).window.rows, 1);
    EXPECT_EQ(Parsed(Args({u"/w", u"200", u"T", u"M", u"a"})).window.width, 200);
    EXPECT_EQ(Parsed(Args({u"/w", u"1024", u"T", u"M", u"a"})).window.width, 1024);
    EXPECT_EQ(Parsed(Args({u"/w", u"0300", u"T", u"M", u"a"})).window.width, 300);
    EXPECT_TRUE(Parsed(Args({u"/U", u"/F", u"T", u"M", u"list.txt"})).unicodeListFile);
    EXPECT_EQ(Parsed(Args({u"/i", u"/r", u"T", u"M", u"a"})).icon, (IconSpec{u"/r", 0}));
    EXPECT_EQ(Parsed(Args({u"/i", u"", u"T", u"M", u"a"})).icon, (IconSpec{u"", 0}));
    EXPECT_EQ(Parsed(Args({u"/i", u"lib.dll,-3", u"T", u"M", u"a"})).icon,
              (IconSpec{u"lib.dll", -3}));

    const Settings plain = Parsed(Args({u"-x", u"M", u"a"}));
    EXPECT_EQ(plain.title, u"-x");
    EXPECT_EQ(plain.selectIndex, std::nullopt);
    EXPECT_EQ(plain.window, WindowSettings{});
    EXPECT_EQ(plain.window.TabLength(), 8);
    EXPECT_EQ(plain.icon, std::nullopt);
}

TEST(Options, AnOptionAnywhereGivesTheSameSettings) {
    Settings expected;
    expected.title = u"T";
    expected.message = u"M";
    expected.items = {u"a"};
    expected.window.rows = 5;
    EXPECT_EQ(Parsed(Args({u"/r", u"5", u"T", u"M", u"a"})), expected);
    EXPECT_EQ(Parsed(Args({u"T", u"/r", u"5", u"M", u"a"})), expected);
    EXPECT_EQ(Parsed(Args({u"T", u"M", u"a", u"/R", u"5"})), expected);
}

TEST(Options, FlagsInAnyCaseMayRepeatAndDeleteStaysSet) {
    const Settings s =
        Parsed(Args({u"/E", u"/e", u"/M", u"/m", u"/u", u"/U", u"/FD", u"/f", u"T", u"M", u"l"}));
    EXPECT_TRUE(s.escapes && s.window.useUiFont && s.unicodeListFile && s.listFile &&
                s.deleteListFile);
    // The list argument is the path, not an item, wherever "/f" stands.
    const Settings f = Parsed(Args({u"T", u"M", u"l", u"/F"}));
    EXPECT_TRUE(f.listFile);
    EXPECT_FALSE(f.deleteListFile);
    EXPECT_TRUE(f.listFilePath == u"l" && s.listFilePath == u"l" && f.items.empty() &&
                s.items.empty());
}

TEST(Options, WidthIsBoundedByTheWorkAreaGiven) {
    EXPECT_EQ(FirstFailure(Args({u"/w", u"200", u"T", u"M", u"a"}), 199),
              (Failure{MessageId::MsgWidthTooLarge, u"200"}));
    EXPECT_EQ(FirstFailure(Args({u"/w", u"1920", u"T", u"M", u"a"}), 1920), std::nullopt);
}

TEST(OptionsBadInput, UnpairedSurrogatesPassThroughUnchanged) {
    const Settings s = Parsed(Args({u"\xD800", u"M\xDC00", u"\xDBFF"}));
    EXPECT_EQ(s.title, u"\xD800");
    EXPECT_EQ(s.message, u"M\xDC00");
    EXPECT_EQ(s.items, ItemList{u"\xDBFF"});
    EXPECT_EQ(FirstFailure(Args({u"/\xD800"})),
              (Failure{MessageId::MsgParameterInvalid, u"/\xD800"}));
    EXPECT_EQ(FirstFailure(Args({u"/r", u"1\xDC00"})),
              (Failure{MessageId::MsgRowsInvalid, u"1\xDC00"}));
}

TEST(OptionsBadInput, LongArgumentsAreShownWhole) {
    const std::u16string option = u"/" + std::u16string(31999, u'x');
    EXPECT_EQ(FirstFailure({option}), (Failure{MessageId::MsgParameterInvalid, option}));
    const std::u16string nines(32000, u'9');
    EXPECT_EQ(FirstFailure({u"/w", nines}), (Failure{MessageId::MsgWidthTooLarge, nines}));
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
    EXPECT_EQ(FirstFailure(arguments), (Failure{MessageId::MsgParameterInvalid, u"/z"}));
}

} // namespace
} // namespace sevrane
