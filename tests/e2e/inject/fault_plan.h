// The calls the injection DLL can make fail, and the record through which a test says which call
// fails and reads how many were made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace sevrane::e2e {

// Every point once: its name, and the function it replaces, which the executable imports by
// that name. The injection DLL has one hook per point, named Hook<point>, of the function's type.
#define SEVRANE_FAULT_POINTS(X)                                                                    \
    X(GetProcessWindowStation, GetProcessWindowStation) /* the window station check first */       \
    X(GetUserObjectInformationW, GetUserObjectInformationW)                                        \
    X(ProcessIdToSessionId, ProcessIdToSessionId)                                                  \
    X(Malloc, malloc)                                                                              \
    X(Calloc, calloc)                                                                              \
    X(Realloc, realloc)                                                                            \
    X(CommandLineToArgvW, CommandLineToArgvW)                                                      \
    X(SystemParametersInfoW, SystemParametersInfoW)                                                \
    X(CreateFileW, CreateFileW)                                                                    \
    X(ReadFile, ReadFile)                                                                          \
    X(GetFileSizeEx, GetFileSizeEx)                                                                \
    X(GetFileType, GetFileType)                                                                    \
    X(GetStdHandle, GetStdHandle)                                                                  \
    X(GetFullPathNameW, GetFullPathNameW)                                                          \
    X(MultiByteToWideChar, MultiByteToWideChar)                                                    \
    X(RegisterClassW, RegisterClassW)                                                              \
    X(CreateWindowExW, CreateWindowExW)                                                            \
    X(GetDC, GetDC)                                                                                \
    X(CreateFontIndirectW, CreateFontIndirectW)                                                    \
    X(GetTextMetricsW, GetTextMetricsW)                                                            \
    X(DrawTextExW, DrawTextExW)                                                                    \
    X(ExtractIconW, ExtractIconW)                                                                  \
    X(MessageBoxW, MessageBoxW)                                                                    \
    X(GetFileInformationByHandle, GetFileInformationByHandle) /* the list file's identity */       \
    X(SetFileInformationByHandle, SetFileInformationByHandle) /* the "/fd" deletion */             \
    X(GetMessageW, GetMessageW)                                                                    \
    X(GetForegroundWindow, GetForegroundWindow)                                                    \
    X(SetForegroundWindow, SetForegroundWindow)                                                    \
    X(FlashWindowEx, FlashWindowEx)                                                                \
    X(AddString, SendMessageW) /* with LB_ADDSTRING, answered with LB_ERRSPACE */

// The formatter takes the expansion of the list for an unfinished line.
// clang-format off
enum class FaultPoint : std::uint32_t {
#define SEVRANE_FAULT_POINT_ENUMERATOR(point, function) point,
    SEVRANE_FAULT_POINTS(SEVRANE_FAULT_POINT_ENUMERATOR)
#undef SEVRANE_FAULT_POINT_ENUMERATOR
    Count,
};
// clang-format on

inline constexpr std::size_t kFaultPointCount = static_cast<std::size_t>(FaultPoint::Count);

// The imported function of each point, in the order of FaultPoint.
inline constexpr const char* kFaultImportNames[] = {
#define SEVRANE_FAULT_POINT_IMPORT(point, function) #function,
    SEVRANE_FAULT_POINTS(SEVRANE_FAULT_POINT_IMPORT)
#undef SEVRANE_FAULT_POINT_IMPORT
};
static_assert(std::size(kFaultImportNames) == kFaultPointCount);

struct FaultPlan {
    FaultPoint point = FaultPoint::Count; // Count: fail nothing, only count
    std::uint32_t failAt = 0;             // the 1-based call of point that fails
    std::uint32_t started = 0;            // the program's run has begun (its first call)
    std::uint32_t failed = 0;             // the chosen call was made, and failed
    std::uint32_t calls[kFaultPointCount] = {};
};

} // namespace sevrane::e2e
