// The list file of "/f" and "/fd": its path, its existence, and its lines as items.
#pragma once

#include "vocabulary/catalogue.h"
#include "vocabulary/settings.h"

#include <optional>
#include <string>

namespace sevrane {

// Moves the one list argument out of settings.items into listFilePath, tests that it exists
// and reads it in place of the items. A failure ends the run.
std::optional<Failure> RunListFileStep(Settings& settings, std::u16string& listFilePath);

// Deletes the list file of "/fd"; a failure is not reported.
void DeleteListFile(const std::u16string& path);

enum class ListFileStatus { Read, NotOpened };

// The file's lines in place of items: NotOpened when the file cannot be opened or read to its end
// (a directory, a device or a pipe, a file another process is writing, holds exclusively or
// has locked), items then empty.
ListFileStatus LoadListFile(const std::u16string& path, bool unicode, ItemList& items);

} // namespace sevrane
