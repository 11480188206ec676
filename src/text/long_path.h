// Paths of MAX_PATH characters or more. Windows takes them in every configuration only in
// their extended-length form, "\\?\" before the full path; its long-path setting is off by
// default, and the manifest's longPathAware counts only when it is on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sevrane {

inline constexpr std::size_t kMaxPath = 260;

// Whether a path must reach the platform in its extended-length form: an absolute path (a
// drive letter and a separator, or a UNC or device path) of kMaxPath units or more that is not
// in that form yet. The platform's limit holds for the full path, so a relative one is judged
// by its full path.
bool NeedsExtendedLengthForm(std::u16string_view path);

// The extended-length form of a full path as the platform normalises it (backslashes only):
// "\\server\share\..." becomes "\\?\UNC\server\share\...", a device path "\\.\..." becomes
// "\\?\...", a path already in the form stays, and any other gets "\\?\" in front.
std::u16string ExtendedLengthForm(std::u16string_view fullPath);

} // namespace sevrane
