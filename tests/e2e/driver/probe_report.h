// What the probe DLL reads inside sevrane.exe and hands back to the driver through shared
// memory. Wine answers WM_GETFONT and WM_GETICON with 0 when they come from another process,
// and icon handles of another process cannot be inspected, so these facts are gathered by a
// hook that runs on the program's own UI thread.
#pragma once

#include "window/layout.h"

#include <cstdint>

namespace sevrane::e2e {

// The registered window message that triggers the probe; wParam carries a sequence number
// that the probe writes back last, so the driver knows the report is fresh.
inline constexpr wchar_t kProbeMessageName[] = L"sevrane.e2e.probe";

// The shared memory is named after the probed process's id.
inline constexpr wchar_t kProbeMappingPrefix[] = L"sevrane-e2e-probe-";

enum class BoxIconKind : std::int32_t {
    None = 0, // the icon static is hidden or holds no icon
    Warning = 1,
    Information = 2,
    Error = 3,
    Question = 4,
    Other = 5,
};

struct ProbeFont {
    std::int32_t present; // the window answered WM_GETFONT with a font
    std::int32_t height;  // lfHeight
    std::int32_t weight;  // lfWeight
    std::uint64_t handle; // compared only within one report
    wchar_t face[32];     // lfFaceName
};

struct ProbeIcon {
    std::uint64_t handle;
    std::int32_t width; // from the icon's colour (or mask) bitmap; 0 when no icon
    std::int32_t height;
};

struct ProbeReport {
    std::uint32_t sequence; // written last
    std::int32_t isBox;     // the probed window is a message box (class #32770)
    // Main window: its own font, the fonts of controls 101, 102, 103, its icons.
    ProbeFont windowFont;
    ProbeFont listFont;
    ProbeFont okFont;
    ProbeFont cancelFont;
    ProbeIcon bigIcon;
    ProbeIcon smallIcon;
    // The message font as the program's process sees it (SPI_GETNONCLIENTMETRICS).
    ProbeFont messageFont;
    // Message box: which standard icon its icon static shows.
    BoxIconKind boxIcon;
    // Main window: its class cursor is the standard arrow.
    std::int32_t arrowCursor;
    // Main window: the layout input the program's own measuring gives in its process.
    std::int32_t layoutMeasured;
    LayoutInput layoutInput;
};

} // namespace sevrane::e2e
