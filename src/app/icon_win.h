// Loading the "/i" icon, showing it on the main window, and releasing it.
#pragma once

#include "app/settings.h"
#include "platform/handles_win.h"

namespace sevrane {

// Tests that the file exists and extracts the icon. An empty handle means the run must end:
// the warning box has been shown already.
UniqueIcon loadIcon(HINSTANCE instance, const IconSpec& spec);

// Sets the icon as the window's big and then small icon; the window does not own it.
void applyIcon(HWND window, HICON icon);

// Destroys the icon, if one was loaded.
void releaseIcon(UniqueIcon& icon);

} // namespace sevrane
