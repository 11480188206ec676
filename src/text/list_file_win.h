// The list file of "/f" and "/fd": its path, its existence, and its lines as items.
#pragma once

#include "vocabulary/catalogue.h"
#include "vocabulary/settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace sevrane {

// The list argument that names standard input instead of a file.
inline constexpr std::u16string_view kStandardInputList = u"-";

// Moves the one list argument out of settings.items into listFilePath, tests that it exists
// and reads it in place of the items ("-" reads standard input). A failure ends the run.
std::optional<Failure> RunListFileStep(Settings& settings, std::u16string& listFilePath);

// Deletes the list file of "/fd"; a failure is not reported. Standard input is not a file. True
// when another process holds the file open without sharing its deletion: a later try may succeed.
bool DeleteListFile(const std::u16string& path);

enum class ListFileStatus { Read, NotOpened };

// The file's lines in place of items: NotOpened when the file cannot be opened or read to its end
// (a directory, a device or a pipe, a file another process is writing, holds exclusively or
// has locked, still after about a second), items then empty.
ListFileStatus LoadListFile(const std::u16string& path, bool unicode, ItemList& items);

// Standard input's lines in place of items, read to its end: NotOpened when there is none, or it
// is a console or a device rather than a pipe or a file.
ListFileStatus LoadStandardInput(bool unicode, ItemList& items);

} // namespace sevrane
