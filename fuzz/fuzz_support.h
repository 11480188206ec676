// What the fuzz targets share: an invariant that fails loudly, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace sevrane::fuzzing {

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

} // namespace sevrane::fuzzing
