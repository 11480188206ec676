// Owners of the handles that only the tests and the benchmarks hold, in the product's style.
#pragma once

#include "platform/handles_win.h"

namespace sevrane {

namespace detail {
inline void UnmapView(void* view) { ::UnmapViewOfFile(view); }
} // namespace detail

using UniqueView = UniqueHandle<void*, detail::UnmapView>;
// Processes, threads, mappings, events, pipes: Create* and Open* give NULL on failure.
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle>;

} // namespace sevrane
