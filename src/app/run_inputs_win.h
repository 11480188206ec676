// What a run reads of its process and its screen before anything else. The end-to-end probe
// reads them again inside the run's process, to measure what the run measured.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sevrane {

// The arguments after the program's path; nothing when the split fails.
std::optional<std::vector<std::u16string>> SplitCommandLine();

// The work area of the primary screen, kept within it: what the options and the layout use.
RECT ReadWorkArea();

} // namespace sevrane
