// The list file of "/f" and "/fd": its path, its existence, and its lines as items.
#pragma once

#include "vocabulary/settings.h"

#include <string>

namespace sevrane {

// Moves the one list argument out of settings.items into listFilePath, tests that it exists
// and reads it. False means the run must end: the warning box has been shown already.
bool RunListFileStep(Settings& settings, std::u16string& listFilePath);

// Replaces items by the file's lines. False (after its box) when the file cannot be opened.
bool ReadListFile(const std::u16string& path, bool unicode, ItemList& items);

// Deletes the list file of "/fd"; a failure is not reported.
void DeleteListFile(const std::u16string& path);

enum class ListFileStatus { Read, NotOpened };

// ReadListFile without the box: NotOpened when the file cannot be opened or read to its end
// (a directory, a device or a pipe, a file another process is writing, holds exclusively or
// has locked), items then empty.
ListFileStatus LoadListFile(const std::u16string& path, bool unicode, ItemList& items);

} // namespace sevrane
