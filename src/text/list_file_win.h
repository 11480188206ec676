// The list of "/f" and "/fd": a file's lines, or standard input's, as items.
#pragma once

#include "platform/file_identity_win.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/item_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace sevrane {

// The list argument that names standard input instead of a file.
inline constexpr std::u16string_view kStandardInputList = u"-";

struct ListRead {
    ItemList items;
    // The file the items came from, for "/fd" to delete that one only. None for standard input,
    // or when the platform could not tell.
    std::optional<FileIdentity> identity;
};

// The lines of the file at path ("-": standard input, read to its end), decoded as "/u" says; or
// the failure to show. Not found: the path does not exist. Not opened: it cannot be opened or
// read to its end (a directory, a device or a pipe, a file another process is writing, holds
// exclusively or has locked still after about a second, a console as standard input).
std::variant<ListRead, Failure> ReadList(const std::u16string& path, bool unicode);

} // namespace sevrane
