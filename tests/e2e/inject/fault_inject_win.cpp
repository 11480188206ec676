// Loaded into sevrane.exe before its first instruction: replaces entries of the executable's
// import address table, so that exactly the chosen call of one function fails, and counts the
// calls of every function; the Windows rules of the plan are emulated in shims_win.cpp. The program
// itself is unchanged. Counting starts with the run (its first GetUserDefaultUILanguage call): the
// C runtime's start-up before the entry point allocates too, and faults inside the runtime when
// that fails; it is not the program's to handle.
#include "inject/injection_plan.h"
#include "inject/shims_win.h"

#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <cstring>
#include <iterator>

namespace {

using sevrane::e2e::FaultPlan;
using sevrane::e2e::FaultPoint;
using sevrane::e2e::InjectionPlan;

FaultPlan* plan = nullptr;
void* originals[sevrane::e2e::kFaultPointCount] = {};
void* originalLanguage = nullptr;

template <typename Function>
Function Original(FaultPoint point) {
    return reinterpret_cast<Function>(originals[static_cast<std::size_t>(point)]);
}

// Counts the call; true when it is the one to fail.
bool ShouldFail(FaultPoint point) {
    if (plan == nullptr || plan->started == 0) {
        return false;
    }
    auto* counter = reinterpret_cast<volatile LONG*>(&plan->calls[static_cast<std::size_t>(point)]);
    const auto call = static_cast<std::uint32_t>(::InterlockedIncrement(counter));
    if (plan->point != point || call != plan->failAt) {
        return false;
    }
    plan->failed = 1;
    return true;
}

void* HookMalloc(std::size_t size) {
    if (ShouldFail(FaultPoint::Malloc)) {
        errno = ENOMEM;
        return nullptr;
    }
    return Original<void* (*)(std::size_t)>(FaultPoint::Malloc)(size);
}

void* HookCalloc(std::size_t count, std::size_t size) {
    if (ShouldFail(FaultPoint::Calloc)) {
        errno = ENOMEM;
        return nullptr;
    }
    return Original<void* (*)(std::size_t, std::size_t)>(FaultPoint::Calloc)(count, size);
}

void* HookRealloc(void* block, std::size_t size) {
    if (ShouldFail(FaultPoint::Realloc)) {
        errno = ENOMEM;
        return nullptr; // the old block stays valid, as with a real failure
    }
    return Original<void* (*)(void*, std::size_t)>(FaultPoint::Realloc)(block, size);
}

LPWSTR* WINAPI HookCommandLineToArgvW(LPCWSTR line, int* count) {
    if (ShouldFail(FaultPoint::CommandLineToArgvW)) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return Original<decltype(&::CommandLineToArgvW)>(FaultPoint::CommandLineToArgvW)(line, count);
}

BOOL WINAPI HookSystemParametersInfoW(UINT action, UINT param, PVOID value, UINT flags) {
    if (ShouldFail(FaultPoint::SystemParametersInfoW)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BOOL done = Original<decltype(&::SystemParametersInfoW)>(
        FaultPoint::SystemParametersInfoW)(action, param, value, flags);
    if (done) {
        sevrane::e2e::shims::AdjustWorkArea(action, value);
    }
    return done;
}

HANDLE WINAPI HookCreateFileW(LPCWSTR name, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                              HANDLE templateFile) {
    if (ShouldFail(FaultPoint::CreateFileW)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return Original<decltype(&::CreateFileW)>(FaultPoint::CreateFileW)(
        name, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI HookReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got,
                         LPOVERLAPPED overlapped) {
    if (ShouldFail(FaultPoint::ReadFile)) {
        if (got != nullptr) {
            *got = 0;
        }
        ::SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    return Original<decltype(&::ReadFile)>(FaultPoint::ReadFile)(file, buffer, size, got,
                                                                 overlapped);
}

BOOL WINAPI HookGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    if (ShouldFail(FaultPoint::GetFileSizeEx)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return Original<decltype(&::GetFileSizeEx)>(FaultPoint::GetFileSizeEx)(file, size);
}

int WINAPI HookMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out,
                                   int outLength) {
    if (ShouldFail(FaultPoint::MultiByteToWideChar)) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return Original<decltype(&::MultiByteToWideChar)>(FaultPoint::MultiByteToWideChar)(
        codePage, flags, text, length, out, outLength);
}

ATOM WINAPI HookRegisterClassW(const WNDCLASSW* windowClass) {
    if (ShouldFail(FaultPoint::RegisterClassW)) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return Original<decltype(&::RegisterClassW)>(FaultPoint::RegisterClassW)(windowClass);
}

HWND WINAPI HookCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID parameter) {
    if (ShouldFail(FaultPoint::CreateWindowExW)) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return Original<decltype(&::CreateWindowExW)>(FaultPoint::CreateWindowExW)(
        exStyle, className, text, style, x, y, width, height, parent, menu, instance, parameter);
}

HDC WINAPI HookGetDC(HWND window) {
    if (ShouldFail(FaultPoint::GetDC)) {
        return nullptr;
    }
    return Original<decltype(&::GetDC)>(FaultPoint::GetDC)(window);
}

HFONT WINAPI HookCreateFontIndirectW(const LOGFONTW* font) {
    if (ShouldFail(FaultPoint::CreateFontIndirectW)) {
        return nullptr;
    }
    return Original<decltype(&::CreateFontIndirectW)>(FaultPoint::CreateFontIndirectW)(font);
}

BOOL WINAPI HookGetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
    if (ShouldFail(FaultPoint::GetTextMetricsW)) {
        return FALSE;
    }
    return Original<decltype(&::GetTextMetricsW)>(FaultPoint::GetTextMetricsW)(dc, metrics);
}

int WINAPI HookDrawTextExW(HDC dc, LPWSTR text, int length, LPRECT rect, UINT format,
                           LPDRAWTEXTPARAMS params) {
    if (ShouldFail(FaultPoint::DrawTextExW)) {
        return 0;
    }
    return Original<decltype(&::DrawTextExW)>(FaultPoint::DrawTextExW)(dc, text, length, rect,
                                                                       format, params);
}

HICON WINAPI HookExtractIconW(HINSTANCE instance, LPCWSTR file, UINT index) {
    if (ShouldFail(FaultPoint::ExtractIconW)) {
        return nullptr;
    }
    return Original<decltype(&::ExtractIconW)>(FaultPoint::ExtractIconW)(instance, file, index);
}

int WINAPI HookMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (ShouldFail(FaultPoint::MessageBoxW)) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return Original<decltype(&::MessageBoxW)>(FaultPoint::MessageBoxW)(owner, text, caption, type);
}

BOOL WINAPI HookDeleteFileW(LPCWSTR name) {
    if (ShouldFail(FaultPoint::DeleteFileW)) {
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return Original<decltype(&::DeleteFileW)>(FaultPoint::DeleteFileW)(name);
}

BOOL WINAPI HookGetMessageW(LPMSG message, HWND window, UINT first, UINT last) {
    if (ShouldFail(FaultPoint::GetMessageW)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return Original<decltype(&::GetMessageW)>(FaultPoint::GetMessageW)(message, window, first,
                                                                       last);
}

LRESULT WINAPI HookAddString(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING && ShouldFail(FaultPoint::AddString)) {
        return LB_ERRSPACE;
    }
    return Original<decltype(&::SendMessageW)>(FaultPoint::AddString)(window, message, wParam,
                                                                      lParam);
}

LANGID WINAPI HookGetUserDefaultUILanguage() {
    if (plan != nullptr) {
        plan->started = 1;
    }
    return reinterpret_cast<decltype(&::GetUserDefaultUILanguage)>(originalLanguage)();
}

// The hook of each point, in the order of FaultPoint.
void* const kHooks[] = {
#define SEVRANE_FAULT_POINT_HOOK(point, function) reinterpret_cast<void*>(Hook##point),
    SEVRANE_FAULT_POINTS(SEVRANE_FAULT_POINT_HOOK)
#undef SEVRANE_FAULT_POINT_HOOK
};
static_assert(std::size(kHooks) == sevrane::e2e::kFaultPointCount);
// Each hook takes and gives what its function does, so that the slot it fills is called as
// before: a pointer to the hook takes the function's address without a cast.
#define SEVRANE_FAULT_POINT_TYPE(point, function)                                                  \
    static_assert(sizeof(decltype(&Hook##point){&::function}) != 0);
SEVRANE_FAULT_POINTS(SEVRANE_FAULT_POINT_TYPE)
#undef SEVRANE_FAULT_POINT_TYPE

// Points the import slot at the hook and keeps what it held.
void Replace(ULONG_PTR& slot, void* hook, void*& original) {
    DWORD protection = 0;
    if (!::VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &protection)) {
        return;
    }
    original = reinterpret_cast<void*>(slot);
    slot = reinterpret_cast<ULONG_PTR>(hook);
    ::VirtualProtect(&slot, sizeof(slot), protection, &protection);
}

void PatchImports() {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return;
    }
    for (auto* module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         module->Name != 0; ++module) {
        const DWORD namesAt =
            module->OriginalFirstThunk != 0 ? module->OriginalFirstThunk : module->FirstThunk;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + namesAt);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const char* name =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            ULONG_PTR& slot = slots->u1.Function;
            for (std::size_t i = 0; i < sevrane::e2e::kFaultPointCount; ++i) {
                if (std::strcmp(name, sevrane::e2e::kFaultImportNames[i]) == 0) {
                    Replace(slot, kHooks[i], originals[i]);
                }
            }
            if (std::strcmp(name, "GetUserDefaultUILanguage") == 0) {
                Replace(slot, reinterpret_cast<void*>(HookGetUserDefaultUILanguage),
                        originalLanguage);
            } else if (std::strcmp(name, "ShowWindow") == 0) {
                Replace(slot, reinterpret_cast<void*>(sevrane::e2e::shims::HookShowWindow),
                        sevrane::e2e::shims::originalShowWindow);
            }
        }
    }
}

// A crash ends the process at once with its exception code, for the test to see, instead of
// leaving it to a debugger. The C runtime installs its own filter later and passes on to this one.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS* info) {
    ::TerminateProcess(::GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    const std::wstring name = sevrane::e2e::InjectionPlanName(::GetCurrentProcessId());
    HANDLE mapping = ::OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (mapping == nullptr) {
        return FALSE;
    }
    // Mapped for the life of the process: the test reads the counts after it has ended.
    auto* shared = static_cast<InjectionPlan*>(
        ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InjectionPlan)));
    if (shared == nullptr) {
        return FALSE;
    }
    plan = &shared->faults;
    sevrane::e2e::shims::plan = shared;
    ::SetUnhandledExceptionFilter(EndOnFault);
    PatchImports();
    return TRUE;
}
