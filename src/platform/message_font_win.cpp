#include "platform/message_font_win.h"

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

} // namespace sevrane
