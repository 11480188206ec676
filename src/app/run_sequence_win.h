// The whole life of a run, from the command line to the exit code.
#pragma once

#include <windows.h>

namespace sevrane {

// Sets the run's language from the user's UI language; the first thing a run does.
void ChooseLanguage();

int RunSequence(HINSTANCE instance, int showCommand);

} // namespace sevrane
