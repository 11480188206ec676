// The whole life of a run, from the command line to the exit code.
#pragma once

#include <windows.h>

namespace sevrane {

int RunSequence(HINSTANCE instance, int showCommand);

} // namespace sevrane
