// The one trace a run leaves when it ends with 0 and shows nothing: which call failed, and the
// error code it left. Written as debug output, so a debugger or a debug-output viewer sees it
// and the user sees nothing.
#pragma once

#include <windows.h>

namespace sevrane {

struct PlatformFailure {
    const wchar_t* call = L"";
    DWORD error = 0;
};

// The failure of the call that has just returned, with the error code it left.
PlatformFailure LastFailure(const wchar_t* call);

void Trace(const PlatformFailure& failure);

// Trace(LastFailure(call)): for a failure that ends the run at once.
void TraceLastFailure(const wchar_t* call);

// A line of its own, "sevrane: " and the text; it needs no memory, so it may be written where
// none can be had (an exception, an abort).
void TraceLine(const wchar_t* text);

} // namespace sevrane
