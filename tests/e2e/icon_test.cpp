// The icon option through the real program: loading from an icon file and from a library,
// the failures of the load step, and where they stand in the order of the run.
#include "driver/files_win.h"
#include "e2e_support.h"
#include "inject/injection_plan.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>

namespace sevrane::e2e {
namespace {

std::wstring SystemLibrary(const wchar_t* name) {
    wchar_t directory[MAX_PATH]{};
    ::GetSystemDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\" + name;
}

void ExpectWindowIcon(const Arguments& arguments, const LaunchOptions& options = {}) {
    WindowSession session;
    ASSERT_TRUE(session.Open(arguments, options));
    const auto report = Probe(session.process.ThreadId(), session.main);
    ASSERT_TRUE(report.has_value());
    EXPECT_NE(report->bigIcon.handle, 0u);
    // One icon serves as both the big and the small icon.
    EXPECT_EQ(report->bigIcon.handle, report->smallIcon.handle);
    EXPECT_GT(report->bigIcon.width, 0);
    EXPECT_GT(report->bigIcon.height, 0);
    CloseFromCaption(session.main);
    EXPECT_EQ(session.ExitCode(), 0u);
}

TEST(Icon, IconFileBecomesTheBigAndSmallIconOfTheWindow) {
    TempDir dir;
    const std::wstring icon = dir.File(L"app.ico");
    ASSERT_TRUE(WriteBytes(icon, IconFileBytes()));
    ExpectWindowIcon({L"/i", icon, L"Title", L"Message", L"item"});
}

TEST(Icon, IconFromALibraryByIndexIsShown) {
    const std::wstring library = SystemLibrary(L"shell32.dll");
    const auto count = reinterpret_cast<UINT_PTR>(
        ::ExtractIconW(::GetModuleHandleW(nullptr), library.c_str(), UINT(-1)));
    ASSERT_GT(count, 3u) << "the system's shell32.dll holds too few icons for this test";
    ExpectWindowIcon({L"/i", library + L",3", L"Title", L"Message", L"item"});
    // One space after the comma is allowed.
    ExpectWindowIcon({L"/i", library + L", 3", L"Title", L"Message", L"item"});
    // A library named relative to the current folder, outside System32, where the program's
    // own library search no longer looks. Windows 10 keeps shell32's icons in a file of their
    // own, which a copy lacks: the first system library whose copy still holds them serves.
    TempDir dir;
    const std::wstring copy = dir.File(L"icons.dll");
    bool copied = false;
    for (const wchar_t* name : {L"shell32.dll", L"pifmgr.dll", L"moricons.dll"}) {
        copied = ::CopyFileW(SystemLibrary(name).c_str(), copy.c_str(), FALSE) &&
                 reinterpret_cast<UINT_PTR>(
                     ::ExtractIconW(::GetModuleHandleW(nullptr), copy.c_str(), UINT(-1))) > 3;
        if (copied) {
            break;
        }
    }
    ASSERT_TRUE(copied) << "no system library keeps its icons in a copy";
    LaunchOptions inFolder;
    inFolder.workingDirectory = dir.Path();
    ExpectWindowIcon({L"/i", L"icons.dll,3", L"Title", L"Message", L"item"}, inFolder);
}

TEST(Icon, WindowWithoutTheOptionHasNoIconOfItsOwn) {
    WindowSession session;
    ASSERT_TRUE(session.Open({L"Title", L"Message", L"item"}));
    const auto report = Probe(session.process.ThreadId(), session.main);
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->bigIcon.handle, 0u);
    EXPECT_EQ(report->smallIcon.handle, 0u);
}

// File names stay ASCII: the Japanese run may lack a Unix locale for other names. Windows' rules
// apply: 1 from ExtractIconW for a file without icons; long paths only in the "\\?\" form.
void ExpectLoadFailuresNameTheFile() {
    TempDir dir;
    const std::wstring folder = dir.File(std::wstring(200, L'd'));
    const std::wstring longIcon =
        folder + L"\\" + std::wstring(295 - folder.size(), L'i') + L".ico";
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr) &&
                WriteBytes(L"\\\\?\\" + longIcon, IconFileBytes()));
    const std::wstring text = dir.File(L"notes.txt");
    ASSERT_TRUE(WriteBytes(text, "not an icon\r\n"));
    const std::wstring missing = dir.File(L"missing.ico");
    const std::wstring library = SystemLibrary(L"shell32.dll");
    // Icon files whose directory points past their end: the platform's extraction would fault.
    std::string pastTheEnd = IconFileBytes();
    pastTheEnd.replace(18, 4, "\xF0\xFF\xFF\xFF", 4); // the image offset
    const std::wstring farImage = dir.File(L"far.ico");
    ASSERT_TRUE(WriteBytes(farImage, pastTheEnd));
    std::string tooManyEntries = IconFileBytes();
    tooManyEntries.replace(4, 2, "\xE7\x03", 2); // 999 entries, one of them real
    const std::wstring manyEntries = dir.File(L"many.ico");
    ASSERT_TRUE(WriteBytes(manyEntries, tooManyEntries));
    const struct {
        std::wstring value;
        std::wstring text;
    } cases[] = {
        {missing, Text(MessageId::MsgFileNotFound, missing)},
        {missing + L",2", Text(MessageId::MsgFileNotFound, missing)},
        // An empty value passes the parser and fails the existence test.
        {L"", Text(MessageId::MsgFileNotFound, L"")},
        {text, Text(MessageId::MsgIconNotRetrieved, text)},
        {library + L",99999", Text(MessageId::MsgIconNotRetrieved, library)},
        {farImage, Text(MessageId::MsgIconNotRetrieved, farImage)},
        {manyEntries, Text(MessageId::MsgIconNotRetrieved, manyEntries)},
        {longIcon, Text(MessageId::MsgIconNotRetrieved, longIcon)},
    };
    LaunchOptions asWindows;
    asWindows.plan = InjectionPlan{.shims = kShimExtractIconOne | kShimShortPathsOnly};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.value));
        ExpectSingleBox(RunToEnd({L"/i", c.value, L"Title", L"Message", L"item"}, asWindows),
                        c.text);
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(Icon, LoadFailuresNameTheFile, ExpectLoadFailuresNameTheFile())

TEST(Icon, MissingIconFileIsFoundOnlyAfterTheOtherChecks) {
    TempDir dir;
    const std::wstring missingIcon = dir.File(L"missing.ico");
    const std::wstring missingList = dir.File(L"missing.txt");
    // The title is checked while the command line is checked; the icon file much later.
    ExpectSingleBox(RunToEnd({L"/i", missingIcon}), Text(MessageId::MsgTitleNotSpecified));
    // The list file is read before the icon is loaded.
    ExpectSingleBox(RunToEnd({L"/i", missingIcon, L"/f", L"T", L"M", missingList}),
                    Text(MessageId::MsgFileNotFound, missingList));
}

} // namespace
} // namespace sevrane::e2e
