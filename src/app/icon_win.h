// Loading the "/i" icon, and releasing it. The list window shows it.
#pragma once

#include "platform/handles_win.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/settings.h"

#include <optional>

namespace sevrane {

struct IconLoad {
    UniqueIcon icon;
    std::optional<Failure> failure; // set, with no icon, when the run must end
};

// Tests that the file exists and extracts the icon. (Not "LoadIcon": <windows.h> makes that a
// macro.)
IconLoad LoadOptionIcon(HINSTANCE instance, const IconSpec& spec);

} // namespace sevrane
