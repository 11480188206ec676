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
void* originalAcp = nullptr;

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

// The hook of a point that only fails: the chosen call gives the failure value (and, where the
// function reports one, the error code), every other call goes through.
constexpr DWORD kNoErrorCode = 0xFFFFFFFF;
constexpr DWORD kNoMemory = 0xFFFFFFFE; // errno ENOMEM, as the C runtime's allocators report it

template <FaultPoint Point, auto Failed, DWORD Error, typename Function>
struct Failing;

template <FaultPoint Point, auto Failed, DWORD Error, typename Result, typename... Arguments>
struct Failing<Point, Failed, Error, Result (*)(Arguments...)> {
    static Result WINAPI Call(Arguments... arguments) {
        if (ShouldFail(Point)) {
            if constexpr (Error == kNoMemory) {
                errno = ENOMEM;
            } else if constexpr (Error != kNoErrorCode) {
                ::SetLastError(Error);
            }
            return static_cast<Result>(Failed);
        }
        return Original<Result (*)(Arguments...)>(Point)(arguments...);
    }
};

template <FaultPoint Point, typename Function, auto Failed, DWORD Error = kNoErrorCode>
constexpr auto kFailing = &Failing<Point, Failed, Error, Function>::Call;

constexpr auto HookGetProcessWindowStation =
    kFailing<FaultPoint::GetProcessWindowStation, decltype(&::GetProcessWindowStation), nullptr>;
constexpr auto HookGetUserObjectInformationW =
    kFailing<FaultPoint::GetUserObjectInformationW, decltype(&::GetUserObjectInformationW), FALSE>;

// Fails as the other points do, or, with the shim, answers session 0.
BOOL WINAPI HookProcessIdToSessionId(DWORD process, DWORD* session) {
    const BOOL done = !ShouldFail(FaultPoint::ProcessIdToSessionId) &&
                      Original<decltype(&::ProcessIdToSessionId)>(FaultPoint::ProcessIdToSessionId)(
                          process, session);
    if (done && (sevrane::e2e::shims::plan->shims & sevrane::e2e::kShimSessionZero)) {
        *session = 0;
    }
    return done;
}
constexpr auto HookCommandLineToArgvW =
    kFailing<FaultPoint::CommandLineToArgvW, decltype(&::CommandLineToArgvW), nullptr,
             ERROR_NOT_ENOUGH_MEMORY>;
constexpr auto HookGetFileSizeEx =
    kFailing<FaultPoint::GetFileSizeEx, decltype(&::GetFileSizeEx), FALSE, ERROR_INVALID_HANDLE>;
constexpr auto HookGetFileType = kFailing<FaultPoint::GetFileType, decltype(&::GetFileType),
                                          FILE_TYPE_UNKNOWN, ERROR_INVALID_HANDLE>;
constexpr auto HookGetFullPathNameW =
    kFailing<FaultPoint::GetFullPathNameW, decltype(&::GetFullPathNameW), 0,
             ERROR_NOT_ENOUGH_MEMORY>;
constexpr auto FailingMultiByteToWideChar =
    kFailing<FaultPoint::MultiByteToWideChar, decltype(&::MultiByteToWideChar), 0,
             ERROR_INSUFFICIENT_BUFFER>;
constexpr auto HookRegisterClassW =
    kFailing<FaultPoint::RegisterClassW, decltype(&::RegisterClassW), 0, ERROR_NOT_ENOUGH_MEMORY>;
constexpr auto HookCreateWindowExW =
    kFailing<FaultPoint::CreateWindowExW, decltype(&::CreateWindowExW), nullptr,
             ERROR_NOT_ENOUGH_MEMORY>;
constexpr auto HookGetDC = kFailing<FaultPoint::GetDC, decltype(&::GetDC), nullptr>;
constexpr auto HookCreateFontIndirectW =
    kFailing<FaultPoint::CreateFontIndirectW, decltype(&::CreateFontIndirectW), nullptr>;
constexpr auto HookGetTextMetricsW =
    kFailing<FaultPoint::GetTextMetricsW, decltype(&::GetTextMetricsW), FALSE>;
constexpr auto HookDrawTextExW = kFailing<FaultPoint::DrawTextExW, decltype(&::DrawTextExW), 0>;
constexpr auto HookGetFileInformationByHandle =
    kFailing<FaultPoint::GetFileInformationByHandle, decltype(&::GetFileInformationByHandle), FALSE,
             ERROR_ACCESS_DENIED>;
constexpr auto HookSetFileInformationByHandle =
    kFailing<FaultPoint::SetFileInformationByHandle, decltype(&::SetFileInformationByHandle), FALSE,
             ERROR_ACCESS_DENIED>;

// Fails as the other points do, or answers 1 where Windows does and Wine gives 0.
HICON WINAPI HookExtractIconW(HINSTANCE instance, LPCWSTR file, UINT index) {
    if (ShouldFail(FaultPoint::ExtractIconW)) {
        return nullptr;
    }
    const HICON icon =
        Original<decltype(&::ExtractIconW)>(FaultPoint::ExtractIconW)(instance, file, index);
    return icon == nullptr && sevrane::e2e::shims::HoldsNoIconSource(file)
               ? reinterpret_cast<HICON>(1)
               : icon;
}
constexpr auto HookMessageBoxW =
    kFailing<FaultPoint::MessageBoxW, decltype(&::MessageBoxW), 0, ERROR_NOT_ENOUGH_MEMORY>;
constexpr auto HookGetMessageW =
    kFailing<FaultPoint::GetMessageW, decltype(&::GetMessageW), -1, ERROR_INVALID_PARAMETER>;
constexpr auto HookFlashWindowEx =
    kFailing<FaultPoint::FlashWindowEx, decltype(&::FlashWindowEx), FALSE>;

// The runtime's allocators report running out of memory in errno; the old block of a realloc
// that fails stays valid, as with a real failure.
constexpr auto HookMalloc =
    kFailing<FaultPoint::Malloc, void* (*)(std::size_t), nullptr, kNoMemory>;
constexpr auto HookCalloc =
    kFailing<FaultPoint::Calloc, void* (*)(std::size_t, std::size_t), nullptr, kNoMemory>;
constexpr auto HookRealloc =
    kFailing<FaultPoint::Realloc, void* (*)(void*, std::size_t), nullptr, kNoMemory>;

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
    if (sevrane::e2e::shims::RefusesLongPath(name)) {
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

HANDLE WINAPI HookGetStdHandle(DWORD which) {
    if (ShouldFail(FaultPoint::GetStdHandle)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_HANDLE_VALUE;
    }
    return Original<decltype(&::GetStdHandle)>(FaultPoint::GetStdHandle)(which);
}

HWND WINAPI HookGetForegroundWindow() {
    if (ShouldFail(FaultPoint::GetForegroundWindow)) {
        return nullptr;
    }
    return sevrane::e2e::shims::ForegroundElsewhere()
               ? ::GetDesktopWindow()
               : Original<decltype(&::GetForegroundWindow)>(FaultPoint::GetForegroundWindow)();
}

BOOL WINAPI HookSetForegroundWindow(HWND window) {
    return !ShouldFail(FaultPoint::SetForegroundWindow) &&
           !sevrane::e2e::shims::ForegroundElsewhere() &&
           Original<decltype(&::SetForegroundWindow)>(FaultPoint::SetForegroundWindow)(window);
}

LRESULT WINAPI HookAddString(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING && ShouldFail(FaultPoint::AddString)) {
        return LB_ERRSPACE;
    }
    return Original<decltype(&::SendMessageW)>(FaultPoint::AddString)(window, message, wParam,
                                                                      lParam);
}

bool JapaneseUser() {
    return (sevrane::e2e::shims::plan->shims & sevrane::e2e::kShimJapaneseUser) != 0;
}
constexpr UINT kShiftJis = 932;

LANGID WINAPI HookGetUserDefaultUILanguage() {
    if (plan != nullptr) {
        plan->started = 1;
    }
    return JapaneseUser()
               ? MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)
               : reinterpret_cast<decltype(&::GetUserDefaultUILanguage)>(originalLanguage)();
}

UINT WINAPI HookGetACP() {
    return JapaneseUser() ? kShiftJis : reinterpret_cast<decltype(&::GetACP)>(originalAcp)();
}

// The Japanese user's ANSI code page is Shift-JIS.
int WINAPI HookMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH bytes, int size, LPWSTR text,
                                   int capacity) {
    const bool ansi = codePage == CP_ACP || codePage == CP_THREAD_ACP;
    return FailingMultiByteToWideChar(ansi && JapaneseUser() ? kShiftJis : codePage, flags, bytes,
                                      size, text, capacity);
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
    static_assert(sizeof(decltype(+Hook##point){&::function}) != 0);
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
            } else if (std::strcmp(name, "GetACP") == 0) {
                Replace(slot, reinterpret_cast<void*>(HookGetACP), originalAcp);
            } else if (std::strcmp(name, "ShowWindow") == 0) {
                Replace(slot, reinterpret_cast<void*>(sevrane::e2e::shims::HookShowWindow),
                        sevrane::e2e::shims::originalShowWindow);
            } else if (std::strcmp(name, "GetProcAddress") == 0) {
                Replace(slot, reinterpret_cast<void*>(sevrane::e2e::shims::HookGetProcAddress),
                        sevrane::e2e::shims::originalGetProcAddress);
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
