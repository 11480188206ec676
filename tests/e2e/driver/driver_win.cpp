#include "driver/driver_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace sevrane::e2e {

// ---- Command lines ------------------------------------------------------------------------

std::wstring QuoteArgument(std::wstring_view argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            // Backslashes before a quote are halved by the split, and the quote itself needs
            // one of its own.
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    // Trailing backslashes stand before the closing quote: double them.
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

std::wstring BuildCommandLine(std::wstring_view program, const Arguments& arguments) {
    // The program path is split by a simpler rule (no backslash escapes); it holds no quote.
    std::wstring line = L"\"" + std::wstring(program) + L"\"";
    for (const std::wstring& argument : arguments) {
        line += L' ';
        line += QuoteArgument(argument);
    }
    return line;
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    int count = 0;
    const UniqueArgv argv(::CommandLineToArgvW(commandLine.c_str(), &count));
    std::vector<std::wstring> result;
    if (!argv) {
        return result;
    }
    for (int i = 0; i < count; ++i) {
        result.emplace_back(argv.get()[i]);
    }
    return result;
}

// ---- Where things are ---------------------------------------------------------------------

namespace {

std::wstring& SevranePathStorage() {
    static std::wstring path;
    return path;
}

bool japaneseUser = false;

} // namespace

std::wstring DosPath(std::string_view path) {
    if (path.empty() || path.front() != '/') {
        std::wstring wide;
        for (const char c : path) {
            wide.push_back(static_cast<unsigned char>(c));
        }
        return wide;
    }
    // Wine exports its own mapping from Unix to DOS paths.
    using Mapper = LPWSTR(CDECL*)(LPCSTR);
    const auto mapper = reinterpret_cast<Mapper>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    LPWSTR mapped = mapper != nullptr ? mapper(std::string(path).c_str()) : nullptr;
    const std::wstring result = mapped != nullptr ? mapped : L"";
    ::HeapFree(::GetProcessHeap(), 0, mapped);
    return result;
}

void SetSevranePath(std::wstring path) { SevranePathStorage() = std::move(path); }

const std::wstring& SevranePath() { return SevranePathStorage(); }

void SetJapaneseUser(bool japanese) { japaneseUser = japanese; }

std::wstring OwnDirectory() {
    std::wstring path(32768, L'\0'); // the longest path there is
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// ---- Processes ----------------------------------------------------------------------------

// The first thread is found again by its id when needed; its handle is not kept.
Process::Process(const PROCESS_INFORMATION& info)
    : process_(info.hProcess), processId_(info.dwProcessId), threadId_(info.dwThreadId) {
    const UniqueKernelHandle thread(info.hThread);
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        EndIfRunning();
        process_ = std::move(other.process_);
        processId_ = other.processId_;
        threadId_ = other.threadId_;
        planView_ = std::move(other.planView_);
        planMapping_ = std::move(other.planMapping_);
        writer_ = std::move(other.writer_);
    }
    return *this;
}

Process::~Process() { EndIfRunning(); }

void Process::EndIfRunning() {
    if (Running()) {
        ::TerminateProcess(process_.get(), 0xDEAD);
        ::WaitForSingleObject(process_.get(), static_cast<DWORD>(kTimeout.count()));
    }
    // Its reader gone, the pipe refuses further writes.
    if (writer_.joinable()) {
        writer_.join();
    }
}

bool Process::Resume() const {
    const UniqueKernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId_));
    return thread && ::ResumeThread(thread.get()) != static_cast<DWORD>(-1);
}

bool Process::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(std::chrono::milliseconds timeout) const {
    if (!process_ || ::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) !=
                         WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

// ---- The injection DLL --------------------------------------------------------------------

// The DLL is loaded through a thread of the process's own on LoadLibraryW, and maps the plan for
// itself.
bool Process::Inject(const InjectionPlan& plan) {
    planMapping_.reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(InjectionPlan),
                                            InjectionPlanName(processId_).c_str()));
    if (planMapping_) {
        planView_.reset(
            ::MapViewOfFile(planMapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InjectionPlan)));
    }
    const std::wstring dll = OwnDirectory() + L"sevrane_e2e_inject.dll";
    const std::size_t bytes = (dll.size() + 1) * sizeof(wchar_t);
    void* remote =
        ::VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!planView_ || remote == nullptr ||
        !::WriteProcessMemory(process_.get(), remote, dll.c_str(), bytes, nullptr)) {
        return false;
    }
    *static_cast<InjectionPlan*>(planView_.get()) = plan;
    const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    const UniqueKernelHandle thread(
        ::CreateRemoteThread(process_.get(), nullptr, 0, loadLibrary, remote, 0, nullptr));
    DWORD loaded = 0;
    const bool ended =
        thread &&
        ::WaitForSingleObject(thread.get(), static_cast<DWORD>(kTimeout.count())) == WAIT_OBJECT_0;
    return ended && ::GetExitCodeThread(thread.get(), &loaded) && loaded != 0;
}

Process LaunchCommandLine(const std::wstring& program, const std::wstring& commandLine,
                          const LaunchOptions& options) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (options.showCommand) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = *options.showCommand;
    }
    std::wstring desktop = options.desktop;
    startup.lpDesktop = desktop.empty() ? nullptr : desktop.data();
    // The child's end of its standard input is inheritable; the driver's own end of a pipe is not.
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    UniqueKernelHandle input;
    UniqueKernelHandle pipeWriter;
    if (options.inputPipe) {
        HANDLE reader = nullptr;
        HANDLE writer = nullptr;
        if (!::CreatePipe(&reader, &writer, &inheritable, 0)) {
            return Process();
        }
        input.reset(reader);
        pipeWriter.reset(writer);
        ::SetHandleInformation(writer, HANDLE_FLAG_INHERIT, 0);
    } else if (options.inputFile && !options.inputFile->empty()) {
        const HANDLE file = ::CreateFileW(options.inputFile->c_str(), GENERIC_READ, FILE_SHARE_READ,
                                          &inheritable, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return Process();
        }
        input.reset(file);
    }
    if (options.inputPipe || options.inputFile) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = input.get();
    }
    PROCESS_INFORMATION info{};
    const DWORD flags = options.suspended || options.plan ? CREATE_SUSPENDED : 0;
    const std::wstring& directory = options.workingDirectory;
    // Wine answers ERROR_INTERNAL_ERROR for a child that died in Wine's start-up, before any code
    // of the program ran (now and then under load): starting it again runs the same test.
    for (int attempt = 1;; ++attempt) {
        std::wstring mutableLine = commandLine; // CreateProcessW may write into it
        if (::CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, input ? 1 : 0,
                             flags, nullptr, directory.empty() ? nullptr : directory.c_str(),
                             &startup, &info)) {
            break;
        }
        const DWORD error = ::GetLastError();
        std::fprintf(stderr, "CreateProcessW failed, error %lu (attempt %d)\n", error, attempt);
        if (error != ERROR_INTERNAL_ERROR || attempt == 3) {
            return Process();
        }
    }
    Process process(info);
    input.reset();
    if (options.inputPipe) {
        process.KeepWriter(
            std::thread([writer = std::move(pipeWriter), bytes = *options.inputPipe] {
                DWORD written = 0;
                for (std::size_t at = 0; at < bytes.size(); at += written) {
                    const auto piece =
                        static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 4096));
                    if (!::WriteFile(writer.get(), bytes.data() + at, piece, &written, nullptr)) {
                        return;
                    }
                }
            }));
    }
    if (options.plan &&
        !(process.Inject(*options.plan) && (options.suspended || process.Resume()))) {
        return Process();
    }
    return process;
}

Process Launch(const Arguments& arguments, const LaunchOptions& options) {
    LaunchOptions launch = options;
    if (japaneseUser) {
        launch.plan = options.plan.value_or(InjectionPlan{});
        launch.plan->shims |= kShimJapaneseUser;
    }
    return LaunchCommandLine(SevranePath(), BuildCommandLine(SevranePath(), arguments), launch);
}

// ---- Windows ------------------------------------------------------------------------------

std::wstring ClassName(HWND window) {
    wchar_t name[256]{};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindows(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) {
        search->found.push_back(window);
    }
    return TRUE;
}

bool SameClass(HWND window, std::wstring_view className) {
    const std::wstring actual = ClassName(window);
    return actual.size() == className.size() &&
           ::CompareStringOrdinal(actual.data(), static_cast<int>(actual.size()), className.data(),
                                  static_cast<int>(className.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    ::EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindVisibleWindow(DWORD processId, std::wstring_view className) {
    for (HWND window : TopLevelWindows(processId)) {
        if (::IsWindowVisible(window) && SameClass(window, className)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForWindow(const Process& process, std::wstring_view className,
                   std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindVisibleWindow(process.Id(), className);
            // A process that has ended will show nothing more; look once more for a window
            // that appeared just before.
            return found != nullptr || !process.Running();
        },
        timeout);
    return found;
}

HWND WaitForBox(const Process& process, std::chrono::milliseconds timeout) {
    return WaitForWindow(process, L"#32770", timeout);
}

HWND WaitForMainWindow(const Process& process, std::chrono::milliseconds timeout) {
    return WaitForWindow(process, L"sevrane", timeout);
}

// ---- Message boxes ------------------------------------------------------------------------

namespace {

struct ChildSearch {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChildren(HWND window, LPARAM parameter) {
    reinterpret_cast<ChildSearch*>(parameter)->children.push_back(window);
    return TRUE;
}

std::vector<HWND> AllChildren(HWND parent) {
    ChildSearch search;
    ::EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&search));
    return search.children;
}

int ChildId(HWND window) { return static_cast<int>(::GetWindowLongPtrW(window, GWLP_ID)); }

} // namespace

BoxInfo ReadBox(HWND box, DWORD threadId) {
    BoxInfo info;
    info.handle = box;
    info.caption = WindowText(box);
    info.owner = ::GetWindow(box, GW_OWNER);
    for (HWND child : AllChildren(box)) {
        // The text static has id 0xFFFF; the icon static is found by its style, since its id
        // differs between Windows (0x14) and Wine (0x440).
        if ((ChildId(child) & 0xFFFF) == 0xFFFF && SameClass(child, L"Static")) {
            info.text = WindowText(child);
        }
        // Wine leaves the icon static visible but empty when the box has no icon.
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (SameClass(child, L"Static") && (style & SS_TYPEMASK) == SS_ICON &&
            (style & WS_VISIBLE)) {
            DWORD_PTR icon = 0;
            ::SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_NORMAL,
                                  static_cast<UINT>(kTimeout.count()), &icon);
            info.iconShown = icon != 0;
        }
    }
    if (const auto report = Probe(threadId, box)) {
        info.icon = report->boxIcon;
    } else {
        info.icon = BoxIconKind::Other;
    }
    return info;
}

bool DismissBox(HWND box) {
    HWND ok = nullptr;
    for (HWND child : AllChildren(box)) {
        if (ChildId(child) == IDOK && SameClass(child, L"Button")) {
            ok = child;
        }
    }
    if (ok != nullptr) {
        ::PostMessageW(ok, BM_CLICK, 0, 0);
    } else {
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); });
}

RunOutcome RunToEnd(const Arguments& arguments, const LaunchOptions& options) {
    RunOutcome outcome;
    const Process process = Launch(arguments, options);
    if (!process) {
        return outcome;
    }
    std::set<HWND> handled;
    WaitUntil([&] {
        const bool ended = !process.Running();
        for (HWND window : TopLevelWindows(process.Id())) {
            if (handled.count(window) != 0 || !::IsWindowVisible(window)) {
                continue;
            }
            if (SameClass(window, L"#32770")) {
                handled.insert(window);
                outcome.boxes.push_back(ReadBox(window, process.ThreadId()));
                DismissBox(window);
            } else if (SameClass(window, L"sevrane")) {
                handled.insert(window);
                outcome.windowShown = true;
                CloseFromCaption(window);
            }
        }
        return ended;
    });
    outcome.exitCode = process.WaitExit(std::chrono::milliseconds(0));
    return outcome;
}

// ---- The main window and its controls -----------------------------------------------------

WindowInfo ReadWindow(HWND window) {
    WindowInfo info;
    info.className = ClassName(window);
    info.text = WindowText(window);
    info.style = ::GetWindowLongW(window, GWL_STYLE);
    info.exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    info.id = ChildId(window);
    ::GetWindowRect(window, &info.windowRect);
    ::GetClientRect(window, &info.clientRect);
    info.rectInParent = info.windowRect;
    if (HWND parent = ::GetParent(window); parent != nullptr && (info.style & WS_CHILD)) {
        ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&info.rectInParent), 2);
    }
    info.visible = ::IsWindowVisible(window) != FALSE;
    info.zoomed = ::IsZoomed(window) != FALSE;
    info.iconic = ::IsIconic(window) != FALSE;
    return info;
}

HWND Control(HWND main, int id) {
    for (HWND child : ChildrenInOrder(main)) {
        if (ChildId(child) == id) {
            return child;
        }
    }
    return nullptr;
}

std::vector<HWND> ChildrenInOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

namespace {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                               static_cast<UINT>(kTimeout.count()), &result)) {
        return LB_ERR;
    }
    return static_cast<LRESULT>(result);
}

} // namespace

std::vector<std::wstring> ListItems(HWND list, int from) {
    std::vector<std::wstring> items;
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = from; i < count; ++i) {
        const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) {
            items.emplace_back(L"<LB_ERR>");
            continue;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied =
            Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied >= 0 ? static_cast<std::size_t>(copied) : 0);
        items.push_back(std::move(text));
    }
    return items;
}

int ListSelection(HWND list) { return static_cast<int>(Send(list, LB_GETCURSEL, 0, 0)); }

int ListHorizontalExtent(HWND list) {
    return static_cast<int>(Send(list, LB_GETHORIZONTALEXTENT, 0, 0));
}

RECT ListItemRect(HWND list, int index) {
    RECT rect{};
    Send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

HWND FocusedWindow(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveWindow(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

std::optional<ProbeReport> Probe(DWORD threadId, HWND window) {
    static const HMODULE dll = ::LoadLibraryW((OwnDirectory() + L"sevrane_e2e_probe.dll").c_str());
    if (dll == nullptr) {
        return std::nullopt;
    }
    static const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(::GetProcAddress(dll, "SevraneProbeHook")));
    static const UINT message = ::RegisterWindowMessageW(kProbeMessageName);
    static std::uint32_t sequence = 0;
    if (hook == nullptr || message == 0) {
        return std::nullopt;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const std::wstring name = std::wstring(kProbeMappingPrefix) + std::to_wstring(processId);
    const UniqueKernelHandle mapping(::CreateFileMappingW(
        INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeReport), name.c_str()));
    if (!mapping) {
        return std::nullopt;
    }
    std::optional<ProbeReport> result;
    const UniqueView mapped(
        ::MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeReport)));
    if (auto* view = static_cast<ProbeReport*>(mapped.get())) {
        *view = ProbeReport{};
        if (HHOOK installed = ::SetWindowsHookExW(WH_CALLWNDPROC, hook, dll, threadId)) {
            const std::uint32_t expected = ++sequence;
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(window, message, expected, 0, SMTO_NORMAL,
                                  static_cast<UINT>(kTimeout.count()), &ignored);
            ::UnhookWindowsHookEx(installed);
            const ProbeReport copy = *view;
            if (copy.sequence == expected) {
                result = copy;
            }
        }
    }
    return result;
}

std::wstring FaceName(const ProbeFont& font) {
    std::size_t length = 0;
    while (length < std::size(font.face) && font.face[length] != L'\0') {
        ++length;
    }
    return std::wstring(font.face, length);
}

// ---- Acting as the user -------------------------------------------------------------------

void PressKey(HWND target, UINT virtualKey) {
    const UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    // The navigation keys are extended keys; without the flag their scan codes are those of
    // the numeric keypad, and TranslateMessage would add a digit character.
    bool extended = false;
    for (const UINT key : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN,
                           VK_INSERT, VK_DELETE}) {
        extended = extended || key == virtualKey;
    }
    const LPARAM down =
        1 | static_cast<LPARAM>(scan << 16) | (extended ? static_cast<LPARAM>(1) << 24 : 0);
    const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, down);
    ::PostMessageW(target, WM_KEYUP, virtualKey, up);
}

void PressKeyOnFocus(DWORD threadId, HWND main, UINT virtualKey) {
    HWND focus = FocusedWindow(threadId);
    PressKey(focus != nullptr ? focus : main, virtualKey);
}

void ClickButton(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

namespace {

LPARAM ItemCentre(HWND list, int index) {
    const RECT rect = ListItemRect(list, index);
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

} // namespace

void ClickItem(HWND list, int index) {
    const LPARAM at = ItemCentre(list, index);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void DoubleClickItem(HWND list, int index) {
    const LPARAM at = ItemCentre(list, index);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
    ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
}

void CloseFromCaption(HWND main) { ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); }

// ---- The desktop as the program sees it ---------------------------------------------------

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

LOGFONTW MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics.lfMessageFont;
}

LANGID UiLanguage() {
    return japaneseUser ? MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)
                        : ::GetUserDefaultUILanguage();
}

UINT AnsiCodePage() { return japaneseUser ? 932 : ::GetACP(); }

} // namespace sevrane::e2e
