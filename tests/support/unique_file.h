// An owner of a C runtime stream, for the tests and benchmarks that read or write files the way
// the C runtime does. The program itself reads no file through a stream.
#pragma once

#include "platform/handles_win.h"

#include <cstdio>

namespace sevrane::test {

inline void CloseStream(std::FILE* file) { std::fclose(file); }

using UniqueFile = UniqueHandle<std::FILE*, CloseStream>;

} // namespace sevrane::test
