// Start-up phase marks for the start-up benchmark. Built with the CMake option
// SEVRANE_PHASE_TRACE, each mark writes its name and the wall-clock time to the standard error,
// where the benchmark compares it with the moment it started the process; in every other build
// a mark is empty and the program does exactly what it does without one.
#pragma once

namespace sevrane {

#if defined(SEVRANE_PHASE_TRACE)
void MarkPhase(const char* name);
#else
inline void MarkPhase(const char*) {}
#endif

} // namespace sevrane
