// The warning box every phase reports its error in.
#pragma once

#include "vocabulary/catalogue.h"

#include <windows.h>

namespace sevrane {

// An error, in the run's language: no owner, caption "sevrane", the warning icon, OK.
void ShowWarning(const Failure& failure, LanguageIndex language);

} // namespace sevrane
