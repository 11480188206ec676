// The deletion of "/fd": the list file that was read, and no other file that has its name now.
#pragma once

#include "platform/file_identity_win.h"

#include <string>

namespace sevrane {

enum class ListDeletion {
    Gone,      // deleted, or marked for deletion until other programs that share it let go
    Held,      // another program holds it without letting others delete it: a later try may do
    LeftAlone, // another file has the name now, there is none, or the platform refused
};

// Deletes the file at path if it is still the one read (identity); a failure is not reported.
ListDeletion DeleteListFile(const std::u16string& path, const FileIdentity& identity);

} // namespace sevrane
