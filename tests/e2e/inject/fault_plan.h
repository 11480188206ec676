// What the fault-injection DLL and the test that drives it share: the calls it can make fail,
// and the record through which the test says which call fails and reads how many were made.
#pragma once

#include <cstdint>
#include <string>

namespace sevrane::e2e {

enum class FaultPoint : std::uint32_t {
    Malloc,
    Calloc,
    Realloc,
    CommandLineToArgvW,
    SystemParametersInfoW,
    CreateFileW,
    ReadFile,
    GetFileSizeEx,
    MultiByteToWideChar,
    RegisterClassW,
    CreateWindowExW,
    GetDC,
    CreateFontIndirectW,
    GetTextMetricsW,
    DrawTextExW,
    ExtractIconW,
    MessageBoxW,
    DeleteFileW,
    GetMessageW,
    AddString, // SendMessageW with LB_ADDSTRING, answered with LB_ERRSPACE
    Count,
};

inline constexpr std::size_t kFaultPointCount = static_cast<std::size_t>(FaultPoint::Count);

// The imported function each point replaces, as the executable's import table names it.
inline constexpr const char* kFaultImportNames[kFaultPointCount] = {
    "malloc",
    "calloc",
    "realloc",
    "CommandLineToArgvW",
    "SystemParametersInfoW",
    "CreateFileW",
    "ReadFile",
    "GetFileSizeEx",
    "MultiByteToWideChar",
    "RegisterClassW",
    "CreateWindowExW",
    "GetDC",
    "CreateFontIndirectW",
    "GetTextMetricsW",
    "DrawTextExW",
    "ExtractIconW",
    "MessageBoxW",
    "DeleteFileW",
    "GetMessageW",
    "SendMessageW",
};

struct FaultPlan {
    FaultPoint point = FaultPoint::Count; // Count: fail nothing, only count
    std::uint32_t failAt = 0;             // the 1-based call of point that fails
    std::uint32_t started = 0;            // the program's run has begun (its first call)
    std::uint32_t failed = 0;             // the chosen call was made, and failed
    std::uint32_t shown = 0;              // the program called ShowWindow
    std::uint32_t calls[kFaultPointCount] = {};
};

// The shared memory of the plan for one process, created by the test before it resumes it.
inline std::wstring FaultPlanName(unsigned long processId) {
    return L"SevraneFaultPlan" + std::to_wstring(processId);
}

} // namespace sevrane::e2e
