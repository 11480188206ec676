// Files that the end-to-end tests write for the program: list files, icons, batch files.
#pragma once

#include <string>
#include <string_view>

namespace sevrane::e2e {

// A fresh directory under the temporary directory, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; } // no trailing backslash
    std::wstring File(std::wstring_view name) const;   // path\name

private:
    std::wstring path_;
};

bool WriteBytes(const std::wstring& path, std::string_view bytes);
bool WriteUtf16(const std::wstring& path, std::wstring_view text, bool byteOrderMark);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// A valid 32 × 32, 32-bit icon file with one image.
std::string IconFileBytes();

// Bytes of the text in a code page (CP_ACP of this process, 932, 1252, ...).
std::string Encode(std::wstring_view text, unsigned codePage);

} // namespace sevrane::e2e
