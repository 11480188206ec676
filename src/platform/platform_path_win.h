// A path in the form the platform takes whatever its length: one whose full path is too long
// for the plain form goes in its extended-length form, whatever form it was typed in (relative,
// "\dir", "C:dir", with ".." or "/"), for the platform measures the full path; any other as
// typed, and so does one whose full path cannot be had.
#pragma once

#include <string>

namespace sevrane {

class PlatformPath {
public:
    // Keeps a reference to path: it must outlive this object.
    explicit PlatformPath(const std::u16string& path);
    PlatformPath(const PlatformPath&) = delete;
    PlatformPath& operator=(const PlatformPath&) = delete;

    const wchar_t* get() const;

private:
    const std::u16string& path_;
    std::u16string extended_;
};

} // namespace sevrane
