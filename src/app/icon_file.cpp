#include "app/icon_file.h"

namespace sevrane {

namespace {

constexpr std::size_t kHeaderSize = kIconFileHeaderSize;
constexpr std::size_t kEntrySize = 16;

std::uint32_t ReadLittleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// Reserved 0, type 1: an icon file. Type 2 (a cursor) and everything else are not ours to check.
bool IsIconFile(std::string_view head) {
    return head.size() >= 4 && ReadLittleEndian(head, 0, 2) == 0 &&
           ReadLittleEndian(head, 2, 2) == 1;
}

} // namespace

std::size_t IconFileHeadSize(std::string_view header) {
    if (!IsIconFile(header) || header.size() < kHeaderSize) {
        return header.size();
    }
    return kHeaderSize + ReadLittleEndian(header, 4, 2) * kEntrySize;
}

IconFileCheck CheckIconFile(std::string_view head, std::uint64_t fileSize) {
    if (!IsIconFile(head)) {
        return IconFileCheck::NotIconFile;
    }
    if (head.size() < kHeaderSize) {
        return IconFileCheck::Broken;
    }
    const std::size_t count = ReadLittleEndian(head, 4, 2);
    const std::size_t directoryEnd = kHeaderSize + count * kEntrySize;
    if (count == 0 || directoryEnd > head.size() || directoryEnd > fileSize) {
        return IconFileCheck::Broken;
    }
    for (std::size_t entry = kHeaderSize; entry < directoryEnd; entry += kEntrySize) {
        const std::uint64_t size = ReadLittleEndian(head, entry + 8, 4);
        const std::uint64_t offset = ReadLittleEndian(head, entry + 12, 4);
        if (offset > fileSize || size > fileSize - offset) {
            return IconFileCheck::Broken;
        }
    }
    return IconFileCheck::Sound;
}

} // namespace sevrane
