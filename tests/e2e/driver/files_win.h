// Files that the end-to-end tests write for the program: list files, icons, batch files.
#pragma once

#include "temp_dir_win.h"

#include <string>
#include <string_view>

namespace sevrane::e2e {

// The temporary folder and the write that every test program shares.
using test::TempDir;
using test::WriteBytes;

// Little-endian, or big-endian (mark FE FF) when asked.
bool WriteUtf16(const std::wstring& path, std::wstring_view text, bool byteOrderMark,
                bool bigEndian = false);
std::string ReadBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// A valid 32 × 32, 32-bit icon file with one image.
std::string IconFileBytes();

// Bytes of the text in a code page (CP_ACP of this process, 932, 1252, ...).
std::string Encode(std::wstring_view text, unsigned codePage);

} // namespace sevrane::e2e
