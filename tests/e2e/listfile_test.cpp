// The list file through the real program: its failures, the items it yields in both
// encodings, and its deletion for "/fd".
#include "driver/files_win.h"
#include "e2e_support.h"
#include "inject/injection_plan.h"
#include "platform/handles_win.h"
#include "test_code_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sevrane::e2e {
namespace {

using Items = std::vector<std::wstring>;

// The items the window shows for a list file, from this index on.
Items ItemsShownFor(const Arguments& arguments, const LaunchOptions& options = {}, int from = 0) {
    WindowSession session;
    const testing::AssertionResult opened = session.Open(arguments, options);
    EXPECT_TRUE(opened);
    if (!opened) {
        return {L"<no window>"};
    }
    return ListItems(session.list, from);
}

TEST(ListFile, PathThatDoesNotExistIsReportedAsTyped) {
    TempDir dir;
    LaunchOptions inDir;
    inDir.workingDirectory = dir.Path();
    // A relative path is looked up in the current directory and shown as typed.
    ExpectSingleBox(RunToEnd({L"/f", L"T", L"M", L"nosuch.txt"}, inDir),
                    Text(MessageId::MsgFileNotFound, L"nosuch.txt"));
    ExpectSingleBox(RunToEnd({L"/fd", L"T", L"M", L".\\sub\\..\\nosuch.txt"}, inDir),
                    Text(MessageId::MsgFileNotFound, L".\\sub\\..\\nosuch.txt"));
    // A long one too, though the platform is given its extended-length full form.
    const std::wstring longPath = dir.Path() + L"\\.\\" + std::wstring(300, L'n');
    ExpectSingleBox(RunToEnd({L"/f", L"T", L"M", longPath}),
                    Text(MessageId::MsgFileNotFound, longPath));
}

// In the run's language: a file that is not there, a folder, devices.
void ExpectDirectoryAndDevicesCannotBeOpened() {
    TempDir dir;
    // A device may never end (COM1, AUX) or give nothing at all (NUL): none is a list file.
    for (const std::wstring& path : {dir.File(L"none.txt"), dir.Path(), std::wstring(L"COM1"),
                                     std::wstring(L"AUX"), std::wstring(L"NUL")}) {
        // A serial port the machine lacks (AUX names COM1) is not there at all.
        const bool there = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        for (const wchar_t* option : {L"/f", L"/fd"}) {
            ExpectSingleBox(
                RunToEnd({option, L"T", L"M", path}),
                Text(there ? MessageId::MsgFileNotOpened : MessageId::MsgFileNotFound, path));
        }
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(ListFile, DirectoryAndDevicesCannotBeOpened,
                               ExpectDirectoryAndDevicesCannotBeOpened())

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
        ExpectSingleBox(outcome, Text(MessageId::MsgFileNotOpened, path));
        EXPECT_TRUE(FileExists(path));
    }
}

// Lines become items exactly, in the ANSI code page or, with "/u", in the encoding the file's
// mark names (UTF-16LE without one).
TEST(ListFile, EachEncodingGivesTheItemsOfItsLines) {
    TempDir dir;
    const std::u16string longText =
        u"日本語\r\n\r\nGrüße\r\n/slash\r\n" + std::u16string(2500, u'長') + u"\r\nend";
    const Items longItems = {L"日本語", L"", L"Grüße", L"/slash", std::wstring(2500, L'長'),
                             L"end"};
    const struct {
        bool unicode;
        std::string bytes;
        Items items;
    } rows[] = {
        {false,
         "alpha\r\n\r\n/gamma\r\n  spaced  \r\ntab\there\ncr\rinside\r\nback\\nslash\ncaf\xE9\n"
         "alpha\n" +
             std::string(3000, 'L') + "\nlast without end",
         {L"alpha", L"", L"/gamma", L"  spaced  ", L"tab\there", L"cr\rinside", L"back\\nslash",
          L"caf\u00E9", L"alpha", std::wstring(3000, L'L'), L"last without end"}},
        // A final line end adds no item; the empty lines before it do.
        {false, "a\n\n", {L"a", L""}},
        // Without "/u" a UTF-8 mark is three ANSI characters of code page 1252.
        {false, "\xEF\xBB\xBFone\r\ntwo\r\n", {L"\u00EF\u00BB\u00BFone", L"two"}},
        {true, "\xFF\xFE" + test::Utf16Bytes(longText), longItems},
        {true, test::Utf16Bytes(longText), longItems},
        {true, "\xFE\xFF" + test::Utf16Bytes(longText, true), longItems},
        {true, "\xEF\xBB\xBF" + Encode(L"日本\r\nGrüße\r\n", CP_UTF8), {L"日本", L"Grüße"}},
    };
    for (const auto& row : rows) {
        const std::wstring path = dir.File(L"list.txt");
        ASSERT_TRUE(WriteBytes(path, row.bytes));
        Arguments arguments = {L"/f", L"T", L"M", path};
        if (row.unicode) {
            arguments.push_back(L"/U");
        }
        EXPECT_EQ(ItemsShownFor(arguments), row.items) << testing::PrintToString(row.items);
    }
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

// Whether the system frees a file's name at its deletion while another program still has it
// open (POSIX semantics, Windows 10 1709 and later on NTFS), as the program asks it to.
bool FreesNamesAtOnce(const std::wstring& scratch) {
    DWORD deletePosix = 0x3;
    const UniqueFileHandle file(::CreateFileW(scratch.c_str(), DELETE | GENERIC_WRITE, 0, nullptr,
                                              CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file && ::SetFileInformationByHandle(file.get(), FILE_INFO_BY_HANDLE_CLASS(21),
                                                &deletePosix, sizeof(deletePosix));
}

void ExpectDeletedOnceTheWindowIsVisibleWhateverTheUserDoes() {
    TempDir dir;
    // A path of 300 characters too, beyond what Windows takes without its "\\?\" form.
    const std::wstring folder = dir.File(std::wstring(200, L'd'));
    const std::wstring longPath = folder + L"\\" + std::wstring(299 - folder.size(), L'f');
    // This test reaches the files in that form; the program is given them as they are.
    const auto reach = [](const std::wstring& path) { return L"\\\\?\\" + path; };
    ASSERT_TRUE(::CreateDirectoryW(reach(folder).c_str(), nullptr));
    const bool freesNames = FreesNamesAtOnce(dir.File(L"scratch"));
    // Another program holds the file: not at all; or shared for reading, not deletion (a
    // scanner, a sync client), until the window shows (the file goes when it closes) or all
    // along (the file stays); until the window shows, and then a script writes its next list
    // under the name, in place (cmd's ">") or as a new file: that one stays. Or shared for
    // deletion too, all along (an indexer): the name is free for a new file at once where the
    // system frees it (Wine 8 does not), else once that program lets go. A read-only file stays.
    enum Holding { None, UntilShown, AllAlong, Rewritten, Replaced, SharingDeletion, ReadOnly };
    for (const UINT key : {VK_ESCAPE, VK_RETURN}) {
        for (const std::wstring& path : {dir.File(L"gone.txt"), longPath}) {
            for (int h = None; h <= ReadOnly; ++h) {
                const auto holding = static_cast<Holding>(h);
                SCOPED_TRACE(testing::Message() << "holding " << h << ", key " << key << ", "
                                                << path.size() << " characters");
                ASSERT_TRUE(WriteBytes(reach(path), "one\r\ntwo\r\n"));
                ASSERT_TRUE(holding != ReadOnly ||
                            ::SetFileAttributesW(reach(path).c_str(), FILE_ATTRIBUTE_READONLY));
                UniqueFileHandle holder;
                if (holding != None && holding != ReadOnly) {
                    const DWORD share = FILE_SHARE_READ |
                                        (holding > AllAlong ? FILE_SHARE_WRITE : 0) |
                                        (holding == SharingDeletion ? FILE_SHARE_DELETE : 0);
                    holder.reset(::CreateFileW(reach(path).c_str(), GENERIC_READ, share, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
                }
                WindowSession session;
                ASSERT_TRUE(session.Open({L"/fd", L"/s", L"1", L"T", L"M", path}));
                EXPECT_TRUE(holding == SharingDeletion ||
                            FileExists(reach(path)) == (holding != None))
                    << "while the window shows";
                EXPECT_EQ(ListItems(session.list), (Items{L"one", L"two"}));
                const bool written = holding == Rewritten || holding == Replaced;
                if (holding == UntilShown || written) {
                    holder.reset();
                }
                ASSERT_TRUE(holding != Replaced || ::DeleteFileW(reach(path).c_str()));
                ASSERT_TRUE(!written || WriteBytes(reach(path), "next\r\n"));
                session.Press(key);
                EXPECT_EQ(session.ExitCode(), key == VK_RETURN ? 1u : 0u);
                const auto writeAnew = [&] {
                    return UniqueFileHandle(::CreateFileW(reach(path).c_str(), GENERIC_WRITE, 0,
                                                          nullptr, CREATE_NEW, 0, nullptr));
                };
                if (holding == SharingDeletion) {
                    EXPECT_EQ(static_cast<bool>(writeAnew()), freesNames) << "while still held";
                    holder.reset();
                    EXPECT_TRUE(freesNames || writeAnew()) << "once let go";
                } else {
                    EXPECT_EQ(FileExists(reach(path)),
                              holding == AllAlong || holding == ReadOnly || written);
                }
                EXPECT_EQ(written ? ReadBytes(reach(path)) : "", written ? "next\r\n" : "");
                ::SetFileAttributesW(reach(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            }
        }
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(ListFile, DeletedOnceTheWindowIsVisibleWhateverTheUserDoes,
                               ExpectDeletedOnceTheWindowIsVisibleWhateverTheUserDoes())

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
        {{L"/fd", L"/i", missingIcon, L"T", L"M", path},
         Text(MessageId::MsgFileNotFound, missingIcon)},
        {{L"/fd", L"/r", L"500", L"T", L"M", path}, Text(MessageId::MsgRowsTooLarge, L"500")},
        {{L"/fd", L"/e", L"T", L"x" + tallMessage + L"y", path},
         Text(MessageId::MsgMessageTooLarge)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        ExpectSingleBox(RunToEnd(c.arguments), c.text);
        EXPECT_TRUE(FileExists(path));
    }
}

// Lists as today's tools write them, in the language of the run: UTF-8 without a mark,
// standard input, a file held for a moment, a relative path too long for Windows' plain form.
void ExpectListsAsToolsWriteThem() {
    TempDir dir;
    std::string lines;
    for (int i = 1; i <= 20000; ++i) {
        lines += "line " + std::to_string(i) + "\r\n";
    }
    const Items lastOfMany = {L"line 19999", L"line 20000"}; // items 19998 and on
    ASSERT_TRUE(
        WriteBytes(dir.File(L"utf8.txt"), Encode(L"café\r\nnaïve\r\n日本語\r\n", CP_UTF8)) &&
        WriteBytes(dir.File(L"ascii.txt"), "alpha\nbeta\n") &&
        WriteUtf16(dir.File(L"utf16.txt"), L"one\r\ntwo", false) &&
        WriteBytes(dir.File(L"many.txt"), lines) && WriteBytes(dir.File(L"-"), "dash\n"));
    // In the folder, with this standard input: a file, or a pipe that gets these bytes.
    const auto input = [&](std::optional<std::wstring> file, std::optional<std::string> pipe) {
        LaunchOptions options;
        options.workingDirectory = dir.Path();
        options.inputFile = std::move(file);
        options.inputPipe = std::move(pipe);
        return options;
    };
    const LaunchOptions inDir = input({}, {});
    const Items box = {L"<box>"};
    const struct {
        Arguments arguments;
        LaunchOptions options;
        Items items; // the items from index `from` on
        int from;
    } rows[] = {
        {{L"/u", L"/f", L"T", L"M", L"utf8.txt"}, inDir, {L"café", L"naïve", L"日本語"}, 0},
        {{L"/u", L"/f", L"T", L"M", L"ascii.txt"}, inDir, {L"alpha", L"beta"}, 0},
        {{L"/u", L"/f", L"T", L"M", L"utf16.txt"}, inDir, {L"one", L"two"}, 0},
        {{L"/f", L"T", L"M", L"-"}, input({}, lines), lastOfMany, 19998},
        {{L"/fd", L"T", L"M", L"-"}, input(dir.File(L"many.txt"), {}), lastOfMany, 19998},
        {{L"/fd", L"T", L"M", L"-"}, input({}, ""), {}, 0},
        {{L"/u", L"/fd", L"T", L"M", L"-"},
         input({}, test::Utf16Bytes(u"\uFEFFone\r\ntwo")),
         {L"one", L"two"},
         0},
        {{L"/fd", L"T", L"M", L"-"}, input(L"", {}), box, 0},
        {{L"/f", L"T", L"M", L"-"}, input(L"NUL", {}), box, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.arguments));
        if (row.items == box) {
            ExpectSingleBox(RunToEnd(row.arguments, row.options),
                            Text(MessageId::MsgFileNotOpened, L"-"));
        } else {
            EXPECT_EQ(ItemsShownFor(row.arguments, row.options, row.from), row.items);
        }
    }
    EXPECT_EQ(ReadBytes(dir.File(L"-")), "dash\n");
    EXPECT_TRUE(FileExists(dir.File(L"many.txt")));

    // A writer that lets go 300 ms after the first refused open, and one that never does.
    const std::wstring held = dir.File(L"held.txt");
    ASSERT_TRUE(WriteBytes(held, "a\r\nb\r\n"));
    for (const bool letsGo : {true, false}) {
        UniqueFileHandle writer(::CreateFileW(held.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
        LaunchOptions counted;
        counted.plan = InjectionPlan{};
        const Process process = Launch({L"/f", L"T", L"M", held}, counted);
        const auto opens = [&] {
            return process.Plan()->faults.calls[std::size_t(FaultPoint::CreateFileW)];
        };
        ASSERT_TRUE(writer && WaitUntil([&] { return opens() > 0 || !process.Running(); }));
        if (letsGo) {
            ::Sleep(300);
            writer.reset();
            const HWND main = WaitForMainWindow(process);
            ASSERT_NE(main, nullptr);
            EXPECT_EQ(ListItems(Control(main, kListId)), (Items{L"a", L"b"}));
            CloseFromCaption(main);
        } else {
            const HWND shown = WaitForBox(process);
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(ReadBox(shown, process.ThreadId()).text,
                      Text(MessageId::MsgFileNotOpened, held));
            EXPECT_GT(opens(), 5u);
            DismissBox(shown);
        }
        EXPECT_EQ(process.WaitExit(), 0u);
    }

    // Under Windows' rule without the long-path setting, in every form a path is typed in.
    const std::wstring folder(200, L'd');
    const std::wstring name(70, L'f');
    ASSERT_TRUE(::CreateDirectoryW(dir.File(folder).c_str(), nullptr));
    const std::wstring typed[][2] = {
        {dir.Path(), folder + L"\\" + name},
        {dir.File(folder), name},
        {dir.Path(), L"./" + folder + L"/../" + folder + L"/" + name},
        {dir.Path(), dir.File(folder + L"\\" + name).substr(2)},
        {dir.Path(), dir.Path().substr(0, 2) + folder + L"\\" + name},
    };
    for (const auto& [directory, path] : typed) {
        SCOPED_TRACE(testing::PrintToString(path));
        ASSERT_TRUE(WriteBytes(dir.File(folder + L"\\" + name), "one\r\ntwo\r\n"));
        LaunchOptions shim;
        shim.workingDirectory = directory;
        shim.plan = InjectionPlan{.shims = kShimShortPathsOnly};
        EXPECT_EQ(ItemsShownFor({L"/fd", L"T", L"M", path}, shim), (Items{L"one", L"two"}));
        EXPECT_FALSE(FileExists(dir.File(folder + L"\\" + name)));
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(ListFile, ListsAsTodaysToolsWriteThem, ExpectListsAsToolsWriteThem())

TEST(ListFile, JapaneseAnsiFileIsReadInTheJapaneseCodePage) {
    SEVRANE_SKIP_UNLESS_JAPANESE_UI();
    ASSERT_EQ(AnsiCodePage(), 932u);
    TempDir dir;
    const std::wstring path = dir.File(L"list.txt");
    ASSERT_TRUE(WriteBytes(path, Encode(L"日本語\r\nカタカナ\r\n表示\r\n", 932)));
    EXPECT_EQ(ItemsShownFor({L"/f", L"タイトル", L"メッセージ", path}),
              (Items{L"日本語", L"カタカナ", L"表示"}));
}

} // namespace
} // namespace sevrane::e2e
