#include "text/long_path.h"

namespace sevrane {

namespace {

constexpr std::u16string_view kExtendedPrefix = u"\\\\?\\";
constexpr std::u16string_view kDevicePrefix = u"\\\\.\\";
constexpr std::u16string_view kUncPrefix = u"\\\\?\\UNC\\";

bool IsSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

bool IsDriveLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

// "C:\..." or a path that starts with two separators (UNC, device, extended-length). A path
// rooted on the current drive ("\dir") or relative to a drive's current directory ("C:dir")
// depends on the process's state and is left to the platform.
bool IsAbsolute(std::u16string_view path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2])) {
        return true;
    }
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

} // namespace

bool NeedsExtendedLengthForm(std::u16string_view path) {
    return path.size() >= kMaxPath && !path.starts_with(kExtendedPrefix) && IsAbsolute(path);
}

std::u16string ExtendedLengthForm(std::u16string_view fullPath) {
    if (fullPath.starts_with(kExtendedPrefix)) {
        return std::u16string(fullPath);
    }
    if (fullPath.starts_with(kDevicePrefix)) {
        return std::u16string(kExtendedPrefix).append(fullPath.substr(kDevicePrefix.size()));
    }
    if (fullPath.starts_with(u"\\\\")) {
        return std::u16string(kUncPrefix).append(fullPath.substr(2));
    }
    return std::u16string(kExtendedPrefix).append(fullPath);
}

} // namespace sevrane
