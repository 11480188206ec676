#include "platform/trace_win.h"

#include "platform/program_name.h"
#include "platform/wide_win.h"

#include <iterator>
#include <string>

namespace sevrane {

PlatformFailure LastFailure(const wchar_t* call) { return {call, ::GetLastError()}; }

void Trace(const PlatformFailure& failure) {
    try {
        const std::wstring line = std::wstring(Wide(kProgramName)) + L": " + failure.call +
                                  L" failed, error " + std::to_wstring(failure.error) + L"\n";
        ::OutputDebugStringW(line.c_str());
    } catch (...) {
        // Without memory for the line the run ends as it would have anyway.
        TraceLine(L"a call failed");
    }
}

void TraceLastFailure(const wchar_t* call) { Trace(LastFailure(call)); }

void TraceLine(const wchar_t* text) {
    wchar_t line[256];
    std::size_t used = 0;
    for (const wchar_t* part : {Wide(kProgramName), L": ", text, L"\n"}) {
        for (; *part != L'\0' && used + 1 < std::size(line); ++part) {
            line[used++] = *part;
        }
    }
    line[used] = L'\0';
    ::OutputDebugStringW(line);
}

} // namespace sevrane
