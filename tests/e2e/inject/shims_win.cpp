#include "inject/shims_win.h"

namespace sevrane::e2e::shims {

InjectionPlan* plan = nullptr;
void* originalShowWindow = nullptr;

namespace {

// The first ShowWindow of the process, as Windows treats it.
int FirstShowCommand(HWND window, int command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    const bool replaced =
        command == SW_SHOWNORMAL || command == SW_SHOW || command == SW_SHOWDEFAULT;
    const bool topLevel =
        ::GetParent(window) == nullptr && ::GetWindow(window, GW_OWNER) == nullptr;
    const bool captioned = (::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    return (startup.dwFlags & STARTF_USESHOWWINDOW) && replaced && topLevel && captioned
               ? startup.wShowWindow
               : command;
}

} // namespace

BOOL WINAPI HookShowWindow(HWND window, int command) {
    if (plan != nullptr) {
        if ((plan->shims & kShimFirstShow) && plan->shown == 0) {
            command = FirstShowCommand(window, command);
        }
        plan->shown = 1;
    }
    return reinterpret_cast<decltype(&::ShowWindow)>(originalShowWindow)(window, command);
}

void AdjustWorkArea(UINT action, PVOID value) {
    if (plan != nullptr && action == SPI_GETWORKAREA && (plan->shims & kShimPhysicalWorkArea)) {
        RECT& area = *static_cast<RECT*>(value);
        area = {area.left * 2, area.top * 2, area.right * 2, area.bottom * 2};
    }
}

} // namespace sevrane::e2e::shims
