#include "inject/shims_win.h"

#include "platform/handles_win.h"

#include <io.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace sevrane::e2e::shims {

InjectionPlan* plan = nullptr;
void* originalShowWindow = nullptr;
void* originalGetProcAddress = nullptr;

namespace {

void* originalAccess = nullptr;

errno_t __cdecl HookAccess(const wchar_t* name, int mode) {
    if (RefusesLongPath(name)) {
        return ENOENT;
    }
    return reinterpret_cast<decltype(&::_waccess_s)>(originalAccess)(name, mode);
}

// The first ShowWindow of the process, as Windows treats it.
int FirstShowCommand(HWND window, int command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    const bool replaced =
        command == SW_SHOWNORMAL || command == SW_SHOW || command == SW_SHOWDEFAULT;
    const bool topLevel =
        ::GetParent(window) == nullptr && ::GetWindow(window, GW_OWNER) == nullptr;
    const bool captioned = (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    return (startup.dwFlags & STARTF_USESHOWWINDOW) && replaced && topLevel && captioned
               ? startup.wShowWindow
               : command;
}

} // namespace

BOOL WINAPI HookShowWindow(HWND window, int command) {
    if (plan != nullptr) {
        if ((plan->shims & kShimFirstShow) && plan->shown == 0) {
            command = FirstShowCommand(window, command);
        }
        plan->shown = 1;
    }
    return reinterpret_cast<decltype(&::ShowWindow)>(originalShowWindow)(window, command);
}

bool ForegroundElsewhere() { return plan != nullptr && (plan->shims & kShimForegroundElsewhere); }

void AdjustWorkArea(UINT action, PVOID value) {
    if (plan != nullptr && action == SPI_GETWORKAREA && (plan->shims & kShimPhysicalWorkArea)) {
        RECT& area = *static_cast<RECT*>(value);
        area = {area.left * 2, area.top * 2, area.right * 2, area.bottom * 2};
    }
}

// Windows measures the full path.
bool RefusesLongPath(LPCWSTR name) {
    if (plan == nullptr || (plan->shims & kShimShortPathsOnly) == 0 || name == nullptr ||
        std::wcsncmp(name, L"\\\\?\\", 4) == 0) {
        return false;
    }
    const DWORD needed = ::GetFullPathNameW(name, 0, nullptr, nullptr); // the NUL included
    if (needed > MAX_PATH || std::wcslen(name) >= MAX_PATH) {
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return true;
    }
    return false;
}

bool HoldsNoIconSource(LPCWSTR name) {
    if (plan == nullptr || (plan->shims & kShimExtractIconOne) == 0) {
        return false;
    }
    const UniqueFileHandle file(
        ::CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr));
    std::uint32_t head = 0; // little-endian, as the bytes of both marks below
    DWORD got = 0;
    // Executables and libraries start with "MZ", icon files with 00 00 01 00.
    return file && ::ReadFile(file.get(), &head, sizeof(head), &got, nullptr) &&
           (head & 0xFFFF) != 0x5A4D && head != 0x00010000;
}

FARPROC WINAPI HookGetProcAddress(HMODULE module, LPCSTR name) {
    const FARPROC found =
        reinterpret_cast<decltype(&::GetProcAddress)>(originalGetProcAddress)(module, name);
    if (found != nullptr && HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 &&
        std::strcmp(name, "_waccess_s") == 0) {
        originalAccess = reinterpret_cast<void*>(found);
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(HookAccess));
    }
    return found;
}

} // namespace sevrane::e2e::shims
