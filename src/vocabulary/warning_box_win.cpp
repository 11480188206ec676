#include "vocabulary/warning_box_win.h"

#include "platform/trace_win.h"
#include "platform/wide_win.h"

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

void ShowWarning(const Failure& failure, LanguageIndex language) {
    const std::u16string text = FailureText(failure, language);
    const std::u16string caption(kProgramName);
    if (::MessageBoxW(nullptr, Wide(text), Wide(caption), MB_OK | MB_ICONWARNING) == 0) {
        TraceLastFailure(L"MessageBoxW");
    }
}

} // namespace sevrane
