// The single-argument commands and the entry's handling of an empty command line.
#include "app/usage.h"
#include "app/version.h"
#include "driver/files_win.h"
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace sevrane::e2e {
namespace {

// The indent the usage box should use: the width of "sevrane " over the width of a space, in
// the message-box font, truncated.
int MeasuredUsageIndent() {
    const LOGFONTW logFont = MessageFont();
    const WindowDc screen(nullptr);
    const UniqueFont font(::CreateFontIndirectW(&logFont));
    const SelectionScope selection(screen.get(), font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.get(), L"sevrane ", 8, &extent);
    ABCFLOAT space{};
    ::GetCharABCWidthsFloatW(screen.get(), L' ', L' ', &space);
    const float spaceWidth = space.abcfA + space.abcfB + space.abcfC;
    return static_cast<int>(static_cast<float>(extent.cx) / spaceWidth);
}

void ExpectUsageBox() {
    const RunOutcome outcome = RunToEnd({L"/?"});
    ASSERT_EQ(outcome.boxes.size(), 1u);
    const std::wstring& shown = outcome.boxes.front().text;
    const std::wstring usage = Text(MessageId::MsgUsage);
    ASSERT_NE(usage.find(L'\t'), std::wstring::npos);

    // The box tells how many spaces stand for a TAB; every TAB must use the same number and
    // nothing else may differ.
    const std::size_t firstTab = usage.find(L'\t');
    std::size_t spaces = 0;
    while (firstTab + spaces < shown.size() && shown[firstTab + spaces] == L' ') {
        ++spaces;
    }
    EXPECT_GT(spaces, 0u);
    EXPECT_EQ(static_cast<int>(spaces), MeasuredUsageIndent());
    ExpectSingleBox(outcome,
                    ToWide(ExpandUsageTabs(MessageText(MessageId::MsgUsage, RunLanguage()),
                                           static_cast<std::int32_t>(spaces))),
                    BoxIconKind::None);
}

// " sevrane X.Y 64bit <notice> - Mmm dd yyyy hh:mm:ss ", X.Y from the build's version
void ExpectVersionLine(const std::wstring& line) {
    const std::wstring start = L" sevrane " SEVRANE_VERSION_TEXT " 64bit ";
    ASSERT_GE(line.size(), start.size() + 24);
    EXPECT_EQ(line.substr(0, start.size()), start);
    for (const wchar_t c : line) {
        EXPECT_LT(static_cast<unsigned>(c), 0x80u) << "the version line is single-byte text";
    }
    const std::wstring tail = line.substr(line.size() - 24);
    static const wchar_t* const months[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                            L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    bool knownMonth = false;
    for (const wchar_t* month : months) {
        knownMonth = knownMonth || tail.substr(3, 3) == month;
    }
    EXPECT_EQ(tail.substr(0, 3), L" - ") << testing::PrintToString(tail);
    EXPECT_TRUE(knownMonth) << testing::PrintToString(tail);
    // " - Mmm dd yyyy hh:mm:ss ": the day is padded with a space below 10.
    const std::wstring pattern = L" - MMM Dd YYYY HH:MM:SS ";
    for (std::size_t i = 6; i < pattern.size(); ++i) {
        const wchar_t want = pattern[i];
        const wchar_t got = tail[i];
        if (want == L'D') {
            EXPECT_TRUE(got == L' ' || (got >= L'1' && got <= L'3')) << i;
        } else if (std::iswalpha(want)) {
            EXPECT_TRUE(got >= L'0' && got <= L'9') << i << " in " << testing::PrintToString(tail);
        } else {
            EXPECT_EQ(got, want) << i << " in " << testing::PrintToString(tail);
        }
    }
    EXPECT_GT(line.size(), start.size() + 24) << "the authorship notice is missing";
}

void ExpectVersionBox() {
    for (const wchar_t* command : {L"/ver", L"/VER", L"/Ver"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(command)));
        const RunOutcome outcome = RunToEnd({command});
        ASSERT_EQ(outcome.boxes.size(), 1u);
        ExpectVersionLine(outcome.boxes.front().text);
        ExpectSingleBox(outcome, outcome.boxes.front().text, BoxIconKind::None);
    }
}

TEST(Commands, VoidInAnyLetterCaseEndsAtOnceWithoutAnyWindow) {
    for (const wchar_t* command : {L"/void", L"/VOID", L"/Void", L"/vOiD"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(command)));
        const Process process = Launch({command});
        ASSERT_TRUE(process);
        bool sawWindow = false;
        WaitUntil([&] {
            for (HWND window : TopLevelWindows(process.Id())) {
                sawWindow = sawWindow || ::IsWindowVisible(window);
            }
            return !process.Running();
        });
        EXPECT_EQ(process.WaitExit(), 0u);
        EXPECT_FALSE(sawWindow);
    }
}

// Where no one sees the run (a window station without WSF_VISIBLE: a task run whether the user is
// logged on or not; session 0: a service) every run ends at once with 0 and "/fd" keeps its file.
// Elsewhere each shows its box or its window.
void ExpectUnseenRunsEndAtOnceWithZero() {
    TempDir dir;
    const std::wstring list = dir.File(L"list.txt");
    ASSERT_TRUE(WriteBytes(list, "a\r\n"));
    LaunchOptions sessionZero, station, elsewhere;
    sessionZero.plan = InjectionPlan{.shims = kShimSessionZero};
    elsewhere.plan = InjectionPlan{};
    station.desktop = L"__wineservice_winstation\\Default"; // Wine's; Windows has none
    const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    for (const Arguments& arguments :
         {Arguments{L"T", L"M", L"a"}, Arguments{L"/x", L"T", L"M", L"a"}, Arguments{L"/?"},
          Arguments{L"/ver"}, Arguments{L"/fd", L"T", L"M", list}}) {
        for (const LaunchOptions& unseen : {sessionZero, wine ? station : sessionZero}) {
            const RunOutcome outcome = RunToEnd(arguments, unseen);
            EXPECT_EQ(outcome.boxes.size() + outcome.windowShown, 0u)
                << testing::PrintToString(arguments);
            EXPECT_EQ(outcome.exitCode, 0u);
            EXPECT_TRUE(FileExists(list));
        }
        const RunOutcome seen = RunToEnd(arguments, elsewhere);
        EXPECT_EQ(seen.boxes.size() + seen.windowShown, 1u) << testing::PrintToString(arguments);
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(Commands, RunsNoOneSeesEndAtOnceWithZero,
                               ExpectUnseenRunsEndAtOnceWithZero())

SEVRANE_TEST_IN_BOTH_LANGUAGES(Commands, UsageBoxShowsItsTextWithTabsIndented, ExpectUsageBox())

SEVRANE_TEST_IN_BOTH_LANGUAGES(Commands, VersionBoxShowsTheVersionLineWithoutIcon,
                               ExpectVersionBox())

} // namespace
} // namespace sevrane::e2e
