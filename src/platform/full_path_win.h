// The absolute form of a path, as the platform resolves it against the current folder.
#pragma once

#include <string>

namespace sevrane {

// The path as given when the platform cannot resolve it.
std::u16string FullPathOf(const std::u16string& path);

} // namespace sevrane
