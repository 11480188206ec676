// Whether an icon file's directory may be handed to the platform's icon extraction, which
// reads the images wherever the directory points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sevrane {

enum class IconFileCheck {
    NotIconFile, // no icon-file header: an executable, a library or anything else
    Sound,       // at least one image, every image inside the file
    Broken,      // an icon file whose directory is empty or points past the file's end
};

inline constexpr std::size_t kIconFileHeaderSize = 6;

// How many of the file's first bytes CheckIconFile needs, told by the first
// kIconFileHeaderSize of them: the directory too for an icon file, nothing more otherwise.
std::size_t IconFileHeadSize(std::string_view header);

// head: the file's first IconFileHeadSize bytes (fewer when the file is shorter); fileSize:
// the whole file's size.
IconFileCheck CheckIconFile(std::string_view head, std::uint64_t fileSize);

} // namespace sevrane
