// The list window: from the main window's creation to the end of its message loop.
#pragma once

#include "vocabulary/settings.h"

#include <windows.h>

#include <string>

namespace sevrane {

struct WindowRequest {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWDEFAULT;
    const Settings* settings = nullptr;
    RECT workArea{};
    HICON icon = nullptr;                         // applied to the main window; not owned
    const std::u16string* listFilePath = nullptr; // deleted just before showing with "/fd"
};

// Builds, shows and runs the window; returns the chosen item's 1-based number, or 0 when the
// user cancels or the layout is refused (after its box, with the main window destroyed).
int RunWindow(const WindowRequest& request);

} // namespace sevrane
