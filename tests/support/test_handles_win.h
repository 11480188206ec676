// Owners of the handles that only the tests and the benchmarks hold, in the product's style.
#pragma once

#include "platform/handles_win.h"

namespace sevrane {

using UniqueView = UniqueHandle<void*, &::UnmapViewOfFile>;
// Processes, threads, mappings, events, pipes: Create* and Open* give NULL on failure.
using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle>;

} // namespace sevrane
