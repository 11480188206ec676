// Rules of Windows that Wine does not apply, emulated by the injection DLL on request, so that a
// test of the program's answer to them can fail under Wine.
#pragma once

#include <cstdint>

namespace sevrane::e2e {

enum Shim : std::uint32_t {
    // The first ShowWindow of a process started with STARTF_USESHOWWINDOW takes the caller's
    // show command instead of SW_SHOWNORMAL, SW_SHOW or SW_SHOWDEFAULT, for a top-level,
    // unowned, captioned window.
    kShimFirstShow = 1,
    // SPI_GETWORKAREA in physical pixels at 200 %, as a scaled screen gives it to a program
    // that is not aware of scaling.
    kShimPhysicalWorkArea = 2,
};

} // namespace sevrane::e2e
