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

struct Settings {
    std::u16string title;
    std::u16string message;
    ItemList items;
    bool escapes = false;
    bool listFile = false;
    bool deleteListFile = false;
    bool unicodeListFile = false;
    bool useUiFont = false;
    std::int32_t rows = 0;
    bool rowsGiven = false;
    std::int32_t width = 0;
    bool widthGiven = false;
    std::int32_t selectIndex = -1;
    std::int32_t tabLength = 8;
    bool tabGiven = false;
    std::optional<IconSpec> icon;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace sevrane
