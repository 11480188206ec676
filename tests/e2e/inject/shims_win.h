// The injection DLL's emulation of Windows rules (see shims.h).
#pragma once

#include "inject/injection_plan.h"

#include <windows.h>

namespace sevrane::e2e::shims {

// Set before the imports are patched; null leaves every call as it is.
extern InjectionPlan* plan;
extern void* originalShowWindow;
extern void* originalGetProcAddress;

BOOL WINAPI HookShowWindow(HWND window, int command);

// Whether another program's window is to be in front, the foreground refused to the program.
bool ForegroundElsewhere();

// A work area the real SystemParametersInfoW has just filled, as the plan's rules give it.
void AdjustWorkArea(UINT action, PVOID value);

// Whether Windows' ExtractIconW would answer 1 for the file: it exists, and is no executable,
// library or icon file.
bool HoldsNoIconSource(LPCWSTR name);

// Whether Windows without the long-path setting refuses the path (last error set then).
bool RefusesLongPath(LPCWSTR name);
// The C runtime's start-up code finds _waccess_s with GetProcAddress and calls it directly:
// it gets the path rule too.
FARPROC WINAPI HookGetProcAddress(HMODULE module, LPCSTR name);

} // namespace sevrane::e2e::shims
