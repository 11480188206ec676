// Loading the "/i" icon, and releasing it. The list window shows it.
#pragma once

#include "platform/handles_win.h"
#include "vocabulary/settings.h"

namespace sevrane {

// Tests that the file exists and extracts the icon. An empty handle means the run must end:
// the warning box has been shown already. (Not "LoadIcon": <windows.h> makes that a macro.)
UniqueIcon LoadOptionIcon(HINSTANCE instance, const IconSpec& spec);

// Destroys the icon, if one was loaded.
void ReleaseIcon(UniqueIcon& icon);

} // namespace sevrane
