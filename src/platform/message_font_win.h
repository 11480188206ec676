// The system's message font, which the usage box measures in and the list window uses with "/m".
#pragma once

#include <windows.h>

namespace sevrane {

// False when the query fails.
bool QueryMessageFont(LOGFONTW& font);

} // namespace sevrane
