#include "vocabulary/warning_box_win.h"

#include "platform/wide_win.h"
#include "vocabulary/catalogue.h"

#include <string>

namespace sevrane {

bool QueryMessageFont(LOGFONTW& font) {
    // 504 bytes: the whole record, iPaddedBorderWidth included.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    static_assert(sizeof(NONCLIENTMETRICSW) == 504);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return false;
    }
    font = metrics.lfMessageFont;
    return true;
}

void ShowWarning(std::u16string_view text) {
    const std::u16string owned(text);
    const std::u16string caption(kProgramName);
    ::MessageBoxW(nullptr, Wide(owned), Wide(caption), MB_OK | MB_ICONWARNING);
}

} // namespace sevrane
