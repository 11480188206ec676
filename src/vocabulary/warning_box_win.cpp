#include "vocabulary/warning_box_win.h"

#include "platform/trace_win.h"
#include "platform/wide_win.h"

#include <string>

namespace sevrane {

void ShowWarning(const Failure& failure, LanguageIndex language) {
    const std::u16string text = FailureText(failure, language);
    if (::MessageBoxW(nullptr, Wide(text), Wide(kProgramName), MB_OK | MB_ICONWARNING) == 0) {
        TraceLastFailure(L"MessageBoxW");
    }
}

} // namespace sevrane
