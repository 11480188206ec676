// The list file through the real program: its failures, the items it yields in both
// encodings, and its deletion for "/fd".
#include "driver/files_win.h"
#include "e2e_support.h"
#include "platform/handles_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sevrane::e2e {
namespace {

using Items = std::vector<std::wstring>;

// The items the window shows for a list file.
Items ItemsShownFor(const Arguments& arguments) {
    WindowSession session;
    const testing::AssertionResult opened = session.Open(arguments);
    EXPECT_TRUE(opened);
    if (!opened) {
        return {L"<no window>"};
    }
    return ListItems(session.list);
}

TEST(ListFile, PathThatDoesNotExistIsReportedAsTyped) {
    TempDir dir;
    LaunchOptions inDir;
    inDir.workingDirectory = dir.Path();
    // A relative path is looked up in the current directory and shown as typed.
    ExpectSingleWarning(RunToEnd({L"/f", L"T", L"M", L"nosuch.txt"}, inDir),
                        L"nosuch.txt - File was not found.");
    ExpectSingleWarning(RunToEnd({L"/fd", L"T", L"M", L".\\sub\\..\\nosuch.txt"}, inDir),
                        L".\\sub\\..\\nosuch.txt - File was not found.");
    // A long one too, though the platform is given its extended-length full form.
    const std::wstring longPath = dir.Path() + L"\\.\\" + std::wstring(300, L'n');
    ExpectSingleWarning(RunToEnd({L"/f", L"T", L"M", longPath}),
                        longPath + L" - File was not found.");
}

TEST(ListFile, DirectoryAndDevicesCannotBeOpened) {
    TempDir dir;
    // A device may never end (COM1, AUX) or give nothing at all (NUL): none is a list file.
    for (const std::wstring& path :
         {dir.Path(), std::wstring(L"COM1"), std::wstring(L"AUX"), std::wstring(L"NUL")}) {
        // A serial port the machine lacks (AUX names COM1) is not there at all.
        const bool there = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        for (const wchar_t* option : {L"/f", L"/fd"}) {
            ExpectSingleWarning(
                RunToEnd({option, L"T", L"M", path}),
                path + (there ? L" - File was not able to open." : L" - File was not found."));
        }
    }
}

TEST(ListFile, FileAWriterOrAnExclusiveReaderHoldsCannotBeOpened) {
    TempDir dir;
    const std::wstring path = dir.File(L"locked.txt");
    ASSERT_TRUE(WriteBytes(path, "a\r\nb\r\n"));
    // This test process holds it as another program would: sharing nothing, or writing it
    // while sharing it (as a log is written).
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        UniqueFileHandle held(::CreateFileW(path.c_str(), share != 0 ? GENERIC_WRITE : GENERIC_READ,
                                            share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const RunOutcome outcome = RunToEnd({L"/fd", L"T", L"M", path});
        held.reset();
        ExpectSingleWarning(outcome, path + L" - File was not able to open.");
        EXPECT_TRUE(FileExists(path));
    }
}

TEST(ListFile, EmptyFileShowsTheWindowWithNoItems) {
    TempDir dir;
    const std::wstring path = dir.File(L"empty.txt");
    ASSERT_TRUE(WriteBytes(path, ""));
    WindowSession session;
    ASSERT_TRUE(session.Open({L"/f", L"T", L"M", path}));
    EXPECT_TRUE(ListItems(session.list).empty());
    EXPECT_EQ(ListSelection(session.list), LB_ERR);
}

TEST(ListFile, AnsiFileGivesOneItemPerLineExactly) {
    TempDir dir;
    const std::wstring path = dir.File(L"list.txt");
    const std::string longLine(3000, 'L');
    ASSERT_TRUE(WriteBytes(path, "alpha\r\n"
                                 "\r\n"
                                 "/gamma\r\n"
                                 "  spaced  \r\n"
                                 "tab\there\n"
                                 "cr\rinside\r\n"
                                 "back\\nslash\n"
                                 "caf\xE9\n"
                                 "alpha\n" +
                                     longLine +
                                     "\n"
                                     "last without end"));
    const Items expected = {L"alpha",           L"",
                            L"/gamma",          L"  spaced  ",
                            L"tab\there",       L"cr\rinside",
                            L"back\\nslash",    L"caf\u00E9",
                            L"alpha",           std::wstring(3000, L'L'),
                            L"last without end"};
    EXPECT_EQ(ItemsShownFor({L"/f", L"T", L"M", path}), expected);
}

TEST(ListFile, FinalLineEndAddsNoItemButEmptyLinesBeforeItDo) {
    TempDir dir;
    const std::wstring path = dir.File(L"list.txt");
    ASSERT_TRUE(WriteBytes(path, "a\n\n"));
    EXPECT_EQ(ItemsShownFor({L"/f", L"T", L"M", path}), (Items{L"a", L""}));
}

TEST(ListFile, AnsiFileKeepsAUtf8ByteOrderMarkAsCharacters) {
    TempDir dir;
    const std::wstring path = dir.File(L"bom.txt");
    ASSERT_TRUE(WriteBytes(path, "\xEF\xBB\xBFone\r\ntwo\r\n"));
    // The three bytes are taken as ANSI characters of code page 1252.
    EXPECT_EQ(ItemsShownFor({L"/f", L"T", L"M", path}), (Items{L"\u00EF\u00BB\u00BFone", L"two"}));
}

TEST(ListFile, UnicodeFileGivesTheSameItemsWithOrWithoutItsMark) {
    TempDir dir;
    const std::wstring text =
        L"日本語\r\n\r\nGrüße\r\n/slash\r\n" + std::wstring(2500, L'長') + L"\r\nend";
    const Items expected = {L"日本語", L"", L"Grüße", L"/slash", std::wstring(2500, L'長'), L"end"};
    const std::wstring withMark = dir.File(L"with.txt");
    const std::wstring withoutMark = dir.File(L"without.txt");
    ASSERT_TRUE(WriteUtf16(withMark, text, true));
    ASSERT_TRUE(WriteUtf16(withoutMark, text, false));
    EXPECT_EQ(ItemsShownFor({L"/u", L"/f", L"T", L"M", withMark}), expected);
    EXPECT_EQ(ItemsShownFor({L"/f", L"T", L"M", withoutMark, L"/U"}), expected);
    // Big-endian, as its mark says.
    const std::wstring bigEndian = dir.File(L"big-endian.txt");
    ASSERT_TRUE(WriteUtf16(bigEndian, text, true, true));
    EXPECT_EQ(ItemsShownFor({L"/u", L"/f", L"T", L"M", bigEndian}), expected);
}

TEST(ListFile, UnicodeFileWithUtf8MarkIsReadAsUtf8) {
    TempDir dir;
    const std::wstring path = dir.File(L"utf8.txt");
    ASSERT_TRUE(WriteBytes(path, "\xEF\xBB\xBF" + Encode(L"日本\r\nGrüße\r\n", CP_UTF8)));
    EXPECT_EQ(ItemsShownFor({L"/u", L"/f", L"T", L"M", path}), (Items{L"日本", L"Grüße"}));
}

TEST(ListFile, SelectionNumberAppliesToTheFilesLines) {
    TempDir dir;
    const std::wstring path = dir.File(L"list.txt");
    ASSERT_TRUE(WriteBytes(path, "one\r\ntwo\r\nthree\r\n"));
    WindowSession session;
    ASSERT_TRUE(session.Open({L"/s", L"2", L"/f", L"T", L"M", path}));
    EXPECT_EQ(ListSelection(session.list), 1);
    session.Press(VK_RETURN);
    EXPECT_EQ(session.ExitCode(), 2u);
}

TEST(ListFile, DeletedOnceTheWindowIsVisibleWhateverTheUserDoes) {
    TempDir dir;
    // A path of 300 characters too, beyond what Windows takes without its "\\?\" form.
    const std::wstring folder = dir.File(std::wstring(200, L'd'));
    const std::wstring longPath = folder + L"\\" + std::wstring(299 - folder.size(), L'f');
    // This test reaches the files in that form; the program is given them as they are.
    const auto reach = [](const std::wstring& path) { return L"\\\\?\\" + path; };
    ASSERT_TRUE(::CreateDirectoryW(reach(folder).c_str(), nullptr));
    for (const UINT key : {VK_ESCAPE, VK_RETURN}) {
        for (const std::wstring& path : {dir.File(L"gone.txt"), longPath}) {
            ASSERT_TRUE(WriteBytes(reach(path), "one\r\ntwo\r\n"));
            WindowSession session;
            ASSERT_TRUE(session.Open({L"/fd", L"/s", L"1", L"T", L"M", path}));
            EXPECT_FALSE(FileExists(reach(path)))
                << "the file is still there while the window shows";
            EXPECT_EQ(ListItems(session.list), (Items{L"one", L"two"}));
            session.Press(key);
            EXPECT_EQ(session.ExitCode(), key == VK_RETURN ? 1u : 0u);
            EXPECT_FALSE(FileExists(reach(path)));
        }
    }
}

TEST(ListFile, PlainListFileOptionNeverDeletes) {
    TempDir dir;
    const std::wstring path = dir.File(L"kept.txt");
    ASSERT_TRUE(WriteBytes(path, "one\r\n"));
    WindowSession session;
    ASSERT_TRUE(session.Open({L"/f", L"T", L"M", path}));
    CloseFromCaption(session.main);
    EXPECT_EQ(session.ExitCode(), 0u);
    EXPECT_TRUE(FileExists(path));
}

TEST(ListFile, KeptWhenTheRunFailsBeforeTheWindow) {
    TempDir dir;
    const std::wstring path = dir.File(L"kept.txt");
    ASSERT_TRUE(WriteBytes(path, "one\r\ntwo\r\n"));
    const std::wstring missingIcon = dir.File(L"missing.ico");
    std::wstring tallMessage;
    for (int i = 0; i < 600; ++i) {
        tallMessage += L"\\n";
    }
    const struct {
        Arguments arguments;
        std::wstring text;
    } cases[] = {
        {{L"/fd", L"/i", missingIcon, L"T", L"M", path}, missingIcon + L" - File was not found."},
        {{L"/fd", L"/r", L"500", L"T", L"M", path}, L"500 - Value of number of rows is too large."},
        {{L"/fd", L"/e", L"T", L"x" + tallMessage + L"y", path},
         L"Size of message is too large to display."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        ExpectSingleWarning(RunToEnd(c.arguments), c.text);
        EXPECT_TRUE(FileExists(path));
    }
}

TEST(ListFile, JapaneseAnsiFileIsReadInTheJapaneseCodePage) {
    SEVRANE_SKIP_UNLESS_JAPANESE_UI();
    ASSERT_EQ(::GetACP(), 932u);
    TempDir dir;
    const std::wstring path = dir.File(L"list.txt");
    ASSERT_TRUE(WriteBytes(path, Encode(L"日本語\r\nカタカナ\r\n表示\r\n", 932)));
    EXPECT_EQ(ItemsShownFor({L"/f", L"タイトル", L"メッセージ", path}),
              (Items{L"日本語", L"カタカナ", L"表示"}));
}

TEST(ListFile, FailuresInJapaneseUseTheJapaneseTexts) {
    SEVRANE_SKIP_UNLESS_JAPANESE_UI();
    TempDir dir;
    const std::wstring missing = dir.File(L"none.txt");
    ExpectSingleWarning(RunToEnd({L"/f", L"T", L"M", missing}),
                        missing + L" - ファイルが見つかりませんでした。");
    ExpectSingleWarning(RunToEnd({L"/f", L"T", L"M", dir.Path()}),
                        dir.Path() + L" - ファイルを開けませんでした。");
}

} // namespace
} // namespace sevrane::e2e
