// Which file a handle reaches, and which writing of it: what a path named when it was read,
// to be told apart from whatever file has that name later.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace sevrane {

struct FileIdentity {
    std::uint32_t volumeSerial = 0;
    std::uint64_t fileIndex = 0;
    // A file rewritten in place (cmd's ">", a truncating save) keeps its index; a file made
    // anew may get the index just freed. Its last write and size tell both from the file read.
    std::uint64_t lastWrite = 0;
    std::uint64_t size = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Nothing when the platform cannot tell.
std::optional<FileIdentity> IdentityOf(HANDLE file);

} // namespace sevrane
