// The injection DLL's emulation of Windows rules (see shims.h).
#pragma once

#include "inject/injection_plan.h"

#include <windows.h>

namespace sevrane::e2e::shims {

// Set before the imports are patched; null leaves every call as it is.
extern InjectionPlan* plan;
extern void* originalShowWindow;

BOOL WINAPI HookShowWindow(HWND window, int command);

// A work area the real SystemParametersInfoW has just filled, as the plan's rules give it.
void AdjustWorkArea(UINT action, PVOID value);

} // namespace sevrane::e2e::shims
