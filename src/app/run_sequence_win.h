// The whole life of a run, from the command line to the exit code.
#pragma once

#include "vocabulary/catalogue.h"

#include <windows.h>

namespace sevrane {

// The half of the catalogue the user's UI language asks for; chosen once, first thing in a run.
LanguageIndex ChooseLanguage();

int RunSequence(HINSTANCE instance, int showCommand);

} // namespace sevrane
