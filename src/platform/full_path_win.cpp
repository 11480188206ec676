#include "platform/full_path_win.h"

#include "platform/wide_win.h"

#include <windows.h>

namespace sevrane {

std::optional<std::u16string> FullPathOf(const std::u16string& path) {
    const DWORD needed = ::GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::nullopt;
    }
    std::u16string full(needed, u'\0');
    const DWORD written =
        ::GetFullPathNameW(Wide(path), needed, reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (written == 0 || written >= needed) {
        return std::nullopt;
    }
    full.resize(written);
    return full;
}

} // namespace sevrane
