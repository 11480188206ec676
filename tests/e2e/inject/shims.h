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
    // Another program's window is in front, and the foreground is refused to this process.
    kShimForegroundElsewhere = 4,
    // Without the long-path setting, a path whose full form has MAX_PATH units or more is
    // refused unless it is in the extended-length form "\\?\" (CreateFileW, _waccess_s).
    kShimShortPathsOnly = 8,
    // The process runs in session 0, which no user sees (Wine puts every process in session 1).
    kShimSessionZero = 16,
    // ExtractIconW gives 1 for an existing file that is no executable, library or icon (Wine: 0).
    kShimExtractIconOne = 32,
    // A Japanese Windows, as Wine gives one under LC_ALL=ja_JP.UTF-8: the UI language Japanese
    // (1041) and the ANSI code page Shift-JIS (932). Windows sets the one per user and the other
    // per system, so a runner with an English UI gets them only this way.
    kShimJapaneseUser = 64,
};

} // namespace sevrane::e2e
