// The boxes a run shows without its window: the warning every phase reports its error in, and
// the boxes of the two commands that stand alone, "/?" and "/ver".
#pragma once

#include "vocabulary/catalogue.h"

#include <windows.h>

#include <string_view>

namespace sevrane {

// An error, in the run's language: no owner, caption "sevrane", the warning icon, OK.
void ShowWarning(const Failure& failure, LanguageIndex language);

// "/?": the usage text with its TABs turned into an indent measured in the message-box font.
void ShowUsage(std::u16string_view usage);

// "/ver": the single-byte version line.
void ShowVersion();

} // namespace sevrane
