// Failures the user did not choose: a list too large for memory, and fault injection. The
// injection DLL makes exactly one call of sevrane.exe fail (the Nth allocation, the Nth call of
// a Win32 function); every such run must still end as a cancel, or as the user's true choice,
// with at most the box of that run's own failure, and no crash or hang.
#include "driver/files_win.h"
#include "e2e_support.h"
#include "inject/injection_plan.h"

#include <gtest/gtest.h>
#include <winioctl.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sevrane::e2e {
namespace {

using Items = std::vector<std::wstring>;

// ---- One run with one failing call --------------------------------------------------------

// A command of the sweep. In its arguments and box texts, L"<list>" and L"<icon>" stand for a
// list file ("one", "two", "three") and an icon file written afresh for every run.
struct Command {
    const char* name;
    Arguments arguments;
    DWORD choice;                    // the exit code of the run the user finishes with Enter
    std::vector<std::wstring> boxes; // the boxes a run may show, at most one of them
};

const Items kListItems = {L"one", L"two", L"three"};

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

struct FaultRun {
    bool injected = false;
    std::vector<std::wstring> boxes;
    std::vector<Items> itemsShown; // the list of each window, read before Enter
    std::optional<DWORD> exitCode;
    InjectionPlan plan; // the counts, whether the call failed, whether the window was shown
    bool listKept = false;
    bool usesList = false;
};

FaultRun RunWithFault(const Command& command, FaultPoint point, std::uint32_t failAt) {
    FaultRun run;
    TempDir dir;
    const std::wstring list = dir.File(L"list.txt");
    const std::wstring icon = dir.File(L"app.ico");
    if (!WriteBytes(list, "one\r\ntwo\r\nthree\r\n") || !WriteBytes(icon, IconFileBytes())) {
        return run;
    }
    Arguments arguments;
    for (const std::wstring& argument : command.arguments) {
        arguments.push_back(ReplaceAll(ReplaceAll(argument, L"<list>", list), L"<icon>", icon));
        run.usesList = run.usesList || arguments.back() == list;
    }

    LaunchOptions options;
    options.plan = InjectionPlan{.faults = {point, failAt}};
    if (arguments.back() == L"-") {
        options.inputFile = list; // the list as standard input, never deleted
        run.usesList = true;
    }
    const Process process = Launch(arguments, options); // ended when it goes, if still running
    run.injected = static_cast<bool>(process);
    if (!run.injected) {
        return run;
    }

    std::set<HWND> handled;
    bool waitingAfterEnter = false;
    auto enterPressed = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            const bool ended = !process.Running();
            for (HWND window : TopLevelWindows(process.Id())) {
                if (handled.count(window) != 0 || !::IsWindowVisible(window)) {
                    continue;
                }
                handled.insert(window);
                if (ClassName(window) == L"#32770") {
                    run.boxes.push_back(ReadBox(window, process.ThreadId()).text);
                    DismissBox(window);
                } else if (ClassName(window) == L"sevrane") {
                    HWND listBox = Control(window, kListId);
                    run.itemsShown.push_back(listBox != nullptr ? ListItems(listBox) : Items{});
                    WaitUntil([&] { return ActiveWindow(process.ThreadId()) == window; },
                              std::chrono::milliseconds(2000));
                    PressKeyOnFocus(process.ThreadId(), window, VK_RETURN);
                    enterPressed = std::chrono::steady_clock::now();
                    waitingAfterEnter = true;
                }
            }
            // A window that outlives Enter (its loop failed, say) is closed as a user would.
            if (waitingAfterEnter &&
                std::chrono::steady_clock::now() - enterPressed > std::chrono::seconds(3)) {
                for (HWND window : TopLevelWindows(process.Id())) {
                    if (ClassName(window) == L"sevrane") {
                        CloseFromCaption(window);
                    }
                }
                waitingAfterEnter = false;
            }
            return ended;
        },
        std::chrono::milliseconds(15000));
    run.exitCode = process.WaitExit(std::chrono::milliseconds(0));
    run.plan = *process.Plan();
    run.listKept = FileExists(list);
    // The box texts name the files of this run; the command's texts name placeholders.
    for (std::wstring& box : run.boxes) {
        box = ReplaceAll(ReplaceAll(box, list, L"<list>"), icon, L"<icon>");
    }
    return run;
}

// What is wrong with the run, or nothing. A run may end with the command's choice only when
// the window showed the whole list: then the failed call cannot have changed the choice.
std::string Fault(const Command& command, const FaultRun& run) {
    if (!run.injected) {
        return "the DLL could not be injected";
    }
    if (!run.exitCode) {
        return "no end within the time limit";
    }
    const bool wholeList = run.itemsShown.size() == 1 && run.itemsShown.front() == kListItems;
    if (*run.exitCode != 0 && !(*run.exitCode == command.choice && wholeList)) {
        return "exit code " + std::to_string(*run.exitCode);
    }
    // A failing window station or session check counts as visible: the run goes on as without it.
    if (run.plan.faults.point <= FaultPoint::ProcessIdToSessionId && run.plan.faults.failed &&
        (*run.exitCode != command.choice || run.boxes.empty() == (command.choice == 0))) {
        return "a failing window station check stopped the run";
    }
    if (run.boxes.size() > 1) {
        return std::to_string(run.boxes.size()) + " boxes";
    }
    for (const std::wstring& box : run.boxes) {
        bool named = false;
        for (const std::wstring& allowed : command.boxes) {
            named = named || box == allowed;
        }
        if (!named) {
            return "box " + testing::PrintToString(box);
        }
    }
    if (run.usesList && command.arguments.front() == L"/fd" && run.plan.shown == 0 &&
        !run.listKept) {
        return "list file deleted, window never shown";
    }
    // A file that cannot be told to be the one read is never deleted.
    if (run.plan.faults.point == FaultPoint::GetFileInformationByHandle && run.plan.faults.failed &&
        !run.listKept) {
        return "list file deleted without its identity";
    }
    if (command.arguments.back() == L"-" && !run.listKept) {
        return "standard input's file deleted";
    }
    return {};
}

// ---- The sweep ---------------------------------------------------------------------------

const std::wstring kListNotOpened = Text(MessageId::MsgFileNotOpened, L"<list>");

// A representative of each way a run goes. Items that fit the list file's lines let the
// window's list be compared whatever the command.
const Command kCommands[] = {
    {"argument error",
     {L"/x", L"T", L"M", L"one", L"two", L"three"},
     0,
     {Text(MessageId::MsgParameterInvalid, L"/x")}},
    // A message with TABs: its lines are measured one by one.
    {"list file, TAB message, Enter",
     {L"/f", L"/s", L"2", L"T", L"M\tN O\tP", L"<list>"},
     2,
     {kListNotOpened}},
    {"/fd, Enter", {L"/fd", L"/s", L"3", L"T", L"M", L"<list>"}, 3, {kListNotOpened}},
    {"/fd -, Enter",
     {L"/fd", L"/u", L"/s", L"2", L"T", L"M", L"-"},
     2,
     {Text(MessageId::MsgFileNotOpened, L"-")}},
    {"/i icon, Enter",
     {L"/i", L"<icon>", L"/s", L"1", L"T", L"M", L"one", L"two", L"three"},
     1,
     {Text(MessageId::MsgIconNotRetrieved, L"<icon>")}},
    {"layout refusal",
     {L"/fd", L"/r", L"500", L"T", L"M", L"<list>"},
     0,
     {Text(MessageId::MsgRowsTooLarge, L"500"), kListNotOpened}},
};

struct SweepRow {
    std::string command;
    std::string function;
    std::uint32_t tried = 0;
    std::uint32_t survived = 0;
};

// Fails, one run each, the calls that points gives for every function of every command, and
// reports each run that does not survive as a test failure.
template <typename Points>
std::vector<SweepRow> Sweep(Points points) {
    std::vector<SweepRow> rows;
    for (const Command& command : kCommands) {
        const FaultRun counted = RunWithFault(command, FaultPoint::Count, 0);
        EXPECT_EQ(Fault(command, counted), "") << command.name << ", no call failing";
        EXPECT_EQ(counted.exitCode, command.choice) << command.name << ", no call failing";
        for (std::size_t p = 0; p < kFaultPointCount; ++p) {
            SweepRow row{command.name, kFaultImportNames[p]};
            if (static_cast<FaultPoint>(p) == FaultPoint::AddString) {
                row.function = "SendMessageW(LB_ADDSTRING)";
            }
            for (const std::uint32_t call : points(counted.plan.faults.calls[p])) {
                const FaultRun run = RunWithFault(command, static_cast<FaultPoint>(p), call);
                const std::string fault = Fault(command, run);
                ++row.tried;
                if (fault.empty()) {
                    ++row.survived;
                } else {
                    ADD_FAILURE() << command.name << ": " << row.function << " call " << call
                                  << " failing: " << fault;
                }
            }
            rows.push_back(row);
        }
    }
    return rows;
}

void PrintTable(const std::vector<SweepRow>& rows) {
    std::printf("| command | function | points tried | points survived |\n");
    std::printf("|---|---|---:|---:|\n");
    for (const SweepRow& row : rows) {
        std::printf("| %s | %s | %u | %u |\n", row.command.c_str(), row.function.c_str(), row.tried,
                    row.survived);
    }
    std::fflush(stdout);
}

// The fast subset: the first and the last call each function gets.
TEST(Fault, FirstAndLastCallOfEveryFunctionFailsSafely) {
    Sweep([](std::uint32_t count) {
        std::set<std::uint32_t> calls;
        if (count > 0) {
            calls = {1, count};
        }
        return calls;
    });
}

// Every call of every function: minutes. scripts/fault-sweep runs it and prints the table.
TEST(Fault, DISABLED_EveryCallOfEveryFunctionFailsSafely) {
    PrintTable(Sweep([](std::uint32_t count) {
        std::vector<std::uint32_t> calls;
        for (std::uint32_t call = 1; call <= count; ++call) {
            calls.push_back(call);
        }
        return calls;
    }));
}

// ---- Chosen failures, checked in full ----------------------------------------------------

TEST(Fault, ListThatCannotBeShownWholeIsNeverShownInPart) {
    const struct {
        const char* name;
        Arguments arguments;
        FaultPoint point;
        std::uint32_t failAt;
        std::vector<std::wstring> boxes;
    } cases[] = {
        // The second line refused: a list file is reported as not read, and "/fd" keeps it.
        {"list file",
         {L"/fd", L"/s", L"3", L"T", L"M", L"<list>"},
         FaultPoint::AddString,
         2,
         {kListNotOpened}},
        // Items given as arguments: nothing to report them by.
        {"arguments",
         {L"/s", L"3", L"T", L"M", L"one", L"two", L"three"},
         FaultPoint::AddString,
         3,
         {}},
        // No list box at all (the third window, after its label): Enter must not read item 1.
        {"no list box",
         {L"/s", L"1", L"T", L"M", L"one", L"two", L"three"},
         FaultPoint::CreateWindowExW,
         3,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FaultRun run = RunWithFault({c.name, c.arguments, 0, {}}, c.point, c.failAt);
        ASSERT_TRUE(run.injected);
        EXPECT_EQ(run.plan.faults.failed, 1u);
        EXPECT_EQ(run.boxes, c.boxes);
        EXPECT_EQ(run.plan.shown, 0u);
        EXPECT_EQ(run.exitCode, 0u);
        if (run.usesList) {
            EXPECT_TRUE(run.listKept);
        }
    }
}

// A list file far larger than memory, sparse on disk: its size promises more lines than can be
// held. The run either holds the lines it really has and shows them, or reports the file; it
// never ends with a code of its own.
TEST(Fault, ListFileLargerThanMemoryIsShownOrReported) {
    TempDir dir;
    const std::wstring path = dir.File(L"big.txt");
    {
        const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        // A first megabyte dense with short lines, then a hole: the reservation estimated from
        // them asks for 48 GiB, more than a test machine holds.
        std::string dense;
        for (int i = 0; i < 614400; ++i) {
            dense += "x\n";
        }
        DWORD written = 0;
        ::WriteFile(file.get(), dense.data(), static_cast<DWORD>(dense.size()), &written, nullptr);
        // Marked sparse first: NTFS allocates the whole length of a file that is not.
        DWORD returned = 0;
        const bool sparse = ::DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0,
                                              &returned, nullptr);
        const DWORD sparseError = sparse ? 0 : ::GetLastError();
        LARGE_INTEGER size{};
        size.QuadPart = std::int64_t{16} << 30;
        const bool extended =
            ::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get());
        ASSERT_EQ(written, dense.size());
        ASSERT_TRUE(sparse) << "error " << sparseError;
        ASSERT_TRUE(extended);
    }
    const Process process = Launch({L"/f", L"/r", L"3", L"T", L"M", path});
    HWND shown = nullptr;
    HWND box = nullptr;
    // Reading the hole takes seconds.
    WaitUntil(
        [&] {
            shown = FindVisibleWindow(process.Id(), L"sevrane");
            box = FindVisibleWindow(process.Id(), L"#32770");
            return shown != nullptr || box != nullptr || !process.Running();
        },
        std::chrono::seconds(120));
    if (shown != nullptr) {
        EXPECT_EQ(::SendMessageW(Control(shown, kListId), LB_GETCOUNT, 0, 0), 614400);
        CloseFromCaption(shown);
    } else {
        ASSERT_NE(box, nullptr) << "exit code " << testing::PrintToString(process.WaitExit(kPoll));
        EXPECT_EQ(ReadBox(box, process.ThreadId()).text, Text(MessageId::MsgFileNotOpened, path));
        DismissBox(box);
    }
    EXPECT_EQ(process.WaitExit(), 0u);
}

} // namespace
} // namespace sevrane::e2e
