#include "driver/files_win.h"

#include "platform/handles_win.h"
#include "test_code_pages.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace sevrane::e2e {

namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

bool WriteUtf16(const std::wstring& path, std::wstring_view text, bool byteOrderMark,
                bool bigEndian) {
    const std::u16string mark = byteOrderMark ? u"\uFEFF" : u"";
    return WriteBytes(path,
                      test::Utf16Bytes(mark + std::u16string(text.begin(), text.end()), bigEndian));
}

std::string ReadBytes(const std::wstring& path) {
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
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
