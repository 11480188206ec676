// The warning box every phase reports its error in, and the system's message font that the
// boxes and the list window share.
#pragma once

#include <windows.h>

#include <string_view>

namespace sevrane {

// An error: no owner, caption "sevrane", the warning icon, OK.
void ShowWarning(std::u16string_view text);

// The system's message font; false when the query fails.
bool QueryMessageFont(LOGFONTW& font);

} // namespace sevrane
