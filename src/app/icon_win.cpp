#include "app/icon_win.h"

#include "platform/wide_win.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/warning_box_win.h"

#include <io.h>
#include <shellapi.h>

#include <cstdint>

namespace sevrane {

UniqueIcon LoadOptionIcon(HINSTANCE instance, const IconSpec& spec) {
    if (::_waccess_s(Wide(spec.file), 0) != 0) {
        ShowWarning(ComposeMessage(spec.file, MessageId::MsgFileNotFound));
        return UniqueIcon();
    }
    // A negative index travels as its unsigned bit pattern: ExtractIconW reads it as a resource
    // identifier (its absolute value). -1 would ask for the icon count; parsing refuses it.
    HICON icon = ::ExtractIconW(instance, Wide(spec.file), static_cast<UINT>(spec.index));
    // ExtractIconW's odd rule: it returns 1, not NULL, for a file that exists but is no
    // executable, library or icon file. Neither 0 nor 1 is an icon, and 1 must never reach
    // DestroyIcon.
    if (reinterpret_cast<std::uintptr_t>(icon) <= 1) {
        ShowWarning(ComposeMessage(spec.file, MessageId::MsgIconNotRetrieved));
        return UniqueIcon();
    }
    return UniqueIcon(icon);
}

void ReleaseIcon(UniqueIcon& icon) { icon.reset(); }

} // namespace sevrane
