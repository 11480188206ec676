// What the command line asks for, as the later phases of a run read it.
#pragma once

#include "vocabulary/item_list.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sevrane {

// The parsed value of "/i": the file and which icon in it.
struct IconSpec {
    std::u16string file;
    std::int32_t index = 0;

    friend bool operator==(const IconSpec&, const IconSpec&) = default;
};

inline constexpr std::int32_t kDefaultTabLength = 8;

// What the command line asks of the window's geometry. An option not given is an empty value,
// and the layout reads this record as it stands.
struct WindowSettings {
    std::optional<std::int32_t> rows = std::nullopt;  // "/r": the most rows the list may show
    std::optional<std::int32_t> width = std::nullopt; // "/w": the window's outer width
    std::optional<std::int32_t> tabLength =
        std::nullopt;       // "/t": tab length in average character widths
    bool useUiFont = false; // "/m"

    std::int32_t TabLength() const { return tabLength.value_or(kDefaultTabLength); }

    friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

struct Settings {
    std::u16string title;
    std::u16string message;
    ItemList items;
    bool escapes = false;
    bool listFile = false;
    // With "/f" or "/fd", the one list argument, as typed: the list's path ("-": standard
    // input), not an item. Absent when there is none or there are several.
    std::optional<std::u16string> listFilePath;
    bool deleteListFile = false;
    bool unicodeListFile = false;
    WindowSettings window;
    std::optional<std::int32_t> selectIndex; // "/s", 0-based
    std::optional<IconSpec> icon;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace sevrane
