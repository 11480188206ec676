// The absolute form of a path, as the platform resolves it against the current folder.
#pragma once

#include <optional>
#include <string>

namespace sevrane {

// Nothing when the platform cannot resolve the path.
std::optional<std::u16string> FullPathOf(const std::u16string& path);

} // namespace sevrane
