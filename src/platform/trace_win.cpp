#include "platform/trace_win.h"

#include <string>

namespace sevrane {

PlatformFailure LastFailure(const wchar_t* call) { return {call, ::GetLastError()}; }

void Trace(const PlatformFailure& failure) {
    try {
        const std::wstring line = std::wstring(L"sevrane: ") + failure.call + L" failed, error " +
                                  std::to_wstring(failure.error) + L"\n";
        ::OutputDebugStringW(line.c_str());
    } catch (...) {
        // Without memory for the line the run ends as it would have anyway.
        ::OutputDebugStringW(L"sevrane: a call failed\n");
    }
}

void TraceLastFailure(const wchar_t* call) { Trace(LastFailure(call)); }

void TraceReason(const wchar_t* reason) {
    try {
        ::OutputDebugStringW((std::wstring(L"sevrane: ") + reason + L"\n").c_str());
    } catch (...) {
        ::OutputDebugStringW(L"sevrane: ended without a window\n");
    }
}

} // namespace sevrane
