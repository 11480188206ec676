// The boxes of the two commands that stand alone: "/?" and "/ver".
#pragma once

#include <windows.h>

#include <string_view>

namespace sevrane {

// "/?": the usage text with its TABs turned into an indent measured in the message-box font.
void ShowUsage(std::u16string_view usage);

// "/ver": the single-byte version line.
void ShowVersion();

} // namespace sevrane
