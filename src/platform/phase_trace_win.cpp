#include "platform/phase_trace_win.h"

#if defined(SEVRANE_PHASE_TRACE)

#include <windows.h>

#include <cstdio>

namespace sevrane {

void MarkPhase(const char* name) {
    // Under Wine this is the host's real-time clock, the one the benchmark starts from.
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    constexpr ULONGLONG kUnixEpoch = 116444736000000000ULL; // 1970 in 100-ns units since 1601
    char line[80];
    const int length = std::snprintf(line, sizeof(line), "phase %s %.6f\n", name,
                                     static_cast<double>(ticks - kUnixEpoch) / 1e7);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(length), &written,
                nullptr);
}

} // namespace sevrane

#endif
