// A fresh folder for the files of one test, and the plain write the tests make them with.
#pragma once

#include <string>
#include <string_view>

namespace sevrane::test {

// A new folder under the temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return path_; } // no trailing backslash
    std::wstring File(std::wstring_view name) const;   // path\name

private:
    std::wstring path_;
};

// Writes the bytes as the whole file, created or emptied first; false when it cannot.
bool WriteBytes(const std::wstring& path, std::string_view bytes);

} // namespace sevrane::test
