// The program's message boxes outside the list window.
#pragma once

#include <windows.h>

#include <string_view>

namespace sevrane {

// An error: no owner, caption "sevrane", the warning icon, OK.
void ShowWarning(std::u16string_view text);

// "/?": the usage text with its TABs turned into an indent measured in the message-box font.
void ShowUsage(std::u16string_view usage);

// "/ver": the single-byte version line.
void ShowVersion();

// The system's message font; false when the query fails.
bool QueryMessageFont(LOGFONTW& font);

} // namespace sevrane
