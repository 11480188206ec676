#include "driver/files_win.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace sevrane::e2e {

namespace {

void RemoveTree(const std::wstring& directory) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring full = directory + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(directory.c_str());
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"sevrane-e2e-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) {
            break;
        }
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::wstring TempDir::File(std::wstring_view name) const {
    return path_ + L"\\" + std::wstring(name);
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    ::CloseHandle(file);
    return ok;
}

bool WriteUtf16(const std::wstring& path, std::wstring_view text, bool byteOrderMark) {
    std::string bytes;
    if (byteOrderMark) {
        bytes += "\xFF\xFE";
    }
    for (const wchar_t unit : text) {
        PutLe(bytes, static_cast<std::uint16_t>(unit), 2);
    }
    return WriteBytes(path, bytes);
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string IconFileBytes() {
    constexpr std::uint32_t side = 32;
    constexpr std::uint32_t pixelBytes = side * side * 4;
    constexpr std::uint32_t maskBytes = side * (side / 8); // 1 bit per pixel, rows of 4 bytes
    constexpr std::uint32_t imageBytes = 40 + pixelBytes + maskBytes;
    std::string out;
    // ICONDIR: reserved, type 1 (icon), one image.
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);
    PutLe(out, 1, 2);
    // ICONDIRENTRY: width, height, colours, reserved, planes, bit count, size, offset.
    PutLe(out, side, 1);
    PutLe(out, side, 1);
    PutLe(out, 0, 1);
    PutLe(out, 0, 1);
    PutLe(out, 1, 2);
    PutLe(out, 32, 2);
    PutLe(out, imageBytes, 4);
    PutLe(out, 6 + 16, 4);
    // BITMAPINFOHEADER: the height counts the colour image and the mask.
    PutLe(out, 40, 4);
    PutLe(out, side, 4);
    PutLe(out, side * 2, 4);
    PutLe(out, 1, 2);
    PutLe(out, 32, 2);
    PutLe(out, 0, 4); // BI_RGB
    PutLe(out, pixelBytes + maskBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    // An opaque diagonal split of two colours (BGRA).
    for (std::uint32_t y = 0; y < side; ++y) {
        for (std::uint32_t x = 0; x < side; ++x) {
            PutLe(out, x > y ? 0xFF2060C0u : 0xFFE0A020u, 4);
        }
    }
    out.append(maskBytes, '\0');
    return out;
}

std::string Encode(std::wstring_view text, unsigned codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          size, nullptr, nullptr);
    return bytes;
}

} // namespace sevrane::e2e
