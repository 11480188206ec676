#include "platform/platform_path_win.h"

#include "platform/full_path_win.h"
#include "platform/wide_win.h"
#include "text/long_path.h"

#include <new>

namespace sevrane {

PlatformPath::PlatformPath(const std::u16string& path) : path_(path) {
    try {
        if (const auto full = FullPathOf(path); full && NeedsExtendedLengthForm(*full)) {
            extended_ = ExtendedLengthForm(*full);
        }
    } catch (const std::bad_alloc&) {
        // The path as typed: short paths lose nothing, a long one fails as the platform says.
    }
}

const wchar_t* PlatformPath::get() const { return Wide(extended_.empty() ? path_ : extended_); }

} // namespace sevrane
