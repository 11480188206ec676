// A driver for the real sevrane.exe under Wine: it starts the program with exact arguments,
// finds and reads its message boxes and its window, acts as a user would, and collects the
// exit code. Everything goes through the program's own message loop.
#pragma once

#include "driver/probe_report.h"
#include "inject/injection_plan.h"
#include "test_handles_win.h"

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sevrane::e2e {

// Timeouts only matter when something is wrong; polling is short so a passing run is quick.
inline constexpr std::chrono::milliseconds kTimeout{10000};
inline constexpr std::chrono::milliseconds kPoll{10};

using Arguments = std::vector<std::wstring>;

// ---- Command lines ------------------------------------------------------------------------

// One argument quoted so that CommandLineToArgvW gives it back unchanged: always in quotes,
// backslashes doubled only where they precede a quote or the closing quote.
std::wstring QuoteArgument(std::wstring_view argument);

// The program path (quoted, never holding a quote) followed by every argument quoted.
std::wstring BuildCommandLine(std::wstring_view program, const Arguments& arguments);

// The platform's split of a whole command line, program path included.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// ---- Where things are ---------------------------------------------------------------------

// A path as Windows programs see it; a Unix path (as CMake writes it) goes through Wine's
// own mapping to a DOS path.
std::wstring DosPath(std::string_view path);

void SetSevranePath(std::wstring path);
const std::wstring& SevranePath();

// Every run of sevrane.exe as a Japanese user's, where the system has none (kShimJapaneseUser).
void SetJapaneseUser(bool japanese);

// The directory of the running test executable, with a trailing backslash.
std::wstring OwnDirectory();

// ---- Processes ----------------------------------------------------------------------------

struct LaunchOptions {
    std::optional<WORD> showCommand; // STARTF_USESHOWWINDOW with this value
    std::wstring workingDirectory;   // empty: the driver's own
    bool suspended = false;          // its first thread waits for Resume
    std::wstring desktop;            // STARTUPINFO.lpDesktop; empty: the driver's own
    // With a plan the injection DLL is loaded before the first instruction: it fails the call
    // the plan names, counts the calls and emulates the plan's Windows rules (shims).
    std::optional<InjectionPlan> plan;
    // Standard input: this file (empty: no handle at all), or a pipe that a thread of the driver
    // writes these bytes into and then closes. Neither: the platform's default.
    std::optional<std::wstring> inputFile;
    std::optional<std::string> inputPipe;
};

// A started program. Move-only; a process still running when its owner goes away is ended, so
// a failed test never leaves a window behind for the next one.
class Process {
public:
    Process() = default;
    explicit Process(const PROCESS_INFORMATION& info);
    Process(Process&& other) noexcept = default;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    explicit operator bool() const { return static_cast<bool>(process_); }
    DWORD Id() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }

    bool Running() const;
    // Lets the first thread of a process started suspended run; false when it cannot.
    bool Resume() const;
    // The exit code, or nothing when the process is still running after the timeout.
    std::optional<DWORD> WaitExit(std::chrono::milliseconds timeout = kTimeout) const;
    // The plan shared with the injected process; its counts stay readable after the end.
    const InjectionPlan* Plan() const { return static_cast<const InjectionPlan*>(planView_.get()); }

    // Shares the plan with a process started suspended and loads the injection DLL into it.
    bool Inject(const InjectionPlan& plan);
    // The thread that writes the process's standard input; joined once the process has gone.
    void KeepWriter(std::thread writer) { writer_ = std::move(writer); }

private:
    void EndIfRunning();

    UniqueKernelHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    UniqueKernelHandle planMapping_;
    UniqueView planView_; // unmapped before the mapping is closed
    std::thread writer_;
};

// Starts sevrane.exe with exactly these arguments.
Process Launch(const Arguments& arguments, const LaunchOptions& options = {});

// Starts any program with a ready command line (for example cmd.exe running a batch file).
Process LaunchCommandLine(const std::wstring& program, const std::wstring& commandLine,
                          const LaunchOptions& options = {});

// ---- Windows ------------------------------------------------------------------------------

std::wstring ClassName(HWND window);
std::wstring WindowText(HWND window);
std::vector<HWND> TopLevelWindows(DWORD processId);

// The first visible top-level window of the process with this class, or null.
HWND FindVisibleWindow(DWORD processId, std::wstring_view className);

// Waits for a visible top-level window of the class; null when the process ends first or the
// time runs out.
HWND WaitForWindow(const Process& process, std::wstring_view className,
                   std::chrono::milliseconds timeout = kTimeout);
HWND WaitForBox(const Process& process, std::chrono::milliseconds timeout = kTimeout);
HWND WaitForMainWindow(const Process& process, std::chrono::milliseconds timeout = kTimeout);

// Polls until the condition holds or the time runs out; returns whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = kTimeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        ::Sleep(static_cast<DWORD>(kPoll.count()));
    }
}

// ---- Message boxes ------------------------------------------------------------------------

struct BoxInfo {
    HWND handle = nullptr;
    std::wstring caption;
    std::wstring text;                    // the static with id 0xFFFF
    bool iconShown = false;               // the SS_ICON static is visible
    BoxIconKind icon = BoxIconKind::None; // read inside the program's process
    HWND owner = nullptr;                 // GW_OWNER
};

BoxInfo ReadBox(HWND box, DWORD threadId);
// Presses the box's OK button and waits until the box is gone.
bool DismissBox(HWND box);

// A run of the program that is expected to end by itself after its boxes: every box is read
// and dismissed as soon as it appears. A main window that shows up is noted and closed, so that
// a faulty program cannot hang the test.
struct RunOutcome {
    std::vector<BoxInfo> boxes;
    bool windowShown = false;
    std::optional<DWORD> exitCode;
};
RunOutcome RunToEnd(const Arguments& arguments, const LaunchOptions& options = {});

// ---- The main window and its controls -----------------------------------------------------

inline constexpr int kListId = 101;
inline constexpr int kOkId = 102;
inline constexpr int kCancelId = 103;

struct WindowInfo {
    std::wstring className;
    std::wstring text;
    LONG style = 0;
    LONG exStyle = 0;
    int id = 0;
    RECT windowRect{};   // screen coordinates
    RECT clientRect{};   // from GetClientRect: (0, 0)–(width, height)
    RECT rectInParent{}; // a child's rectangle in its parent's client coordinates
    bool visible = false;
    bool zoomed = false;
    bool iconic = false;
};

WindowInfo ReadWindow(HWND window);
HWND Control(HWND main, int id);
// Children in z-order (GW_CHILD, then GW_HWNDNEXT), which is the dialog tab order.
std::vector<HWND> ChildrenInOrder(HWND parent);

// The items from this index on (each one read from another process costs a round trip).
std::vector<std::wstring> ListItems(HWND list, int from = 0);
int ListSelection(HWND list);
int ListHorizontalExtent(HWND list);
RECT ListItemRect(HWND list, int index);

// The keyboard focus and the active window of a thread of another process.
HWND FocusedWindow(DWORD threadId);
HWND ActiveWindow(DWORD threadId);

// Reads the fonts and icons of the main window, or a message box's icon, inside the program's
// process through the probe DLL.
std::optional<ProbeReport> Probe(DWORD threadId, HWND window);
std::wstring FaceName(const ProbeFont& font);

// ---- Acting as the user -------------------------------------------------------------------

// Posts a key press (down and up) to the window, so it passes through the program's own
// GetMessageW / IsDialogMessageW loop.
void PressKey(HWND target, UINT virtualKey);
// The same to whichever control of the thread has the focus (the main window if none).
void PressKeyOnFocus(DWORD threadId, HWND main, UINT virtualKey);
void ClickButton(HWND button);
void ClickItem(HWND list, int index);
void DoubleClickItem(HWND list, int index);
void CloseFromCaption(HWND main);

// ---- The desktop as the program sees it ---------------------------------------------------

RECT WorkArea();
LOGFONTW MessageFont();
// The UI language and the ANSI code page that sevrane.exe gets.
LANGID UiLanguage();
UINT AnsiCodePage();

} // namespace sevrane::e2e
