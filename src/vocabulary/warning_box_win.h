// The warning box every phase reports its error in, and the system's message font that the
// boxes and the list window share.
#pragma once

#include "vocabulary/catalogue.h"

#include <windows.h>

namespace sevrane {

// An error, in the run's language: no owner, caption "sevrane", the warning icon, OK.
void ShowWarning(const Failure& failure, LanguageIndex language);

// The system's message font; false when the query fails.
bool QueryMessageFont(LOGFONTW& font);

} // namespace sevrane
