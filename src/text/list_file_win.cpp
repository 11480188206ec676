#include "text/list_file_win.h"

#include "platform/handles_win.h"
#include "platform/platform_path_win.h"
#include "platform/trace_win.h"
#include "text/code_page_win.h"
#include "text/list_decoder.h"

#include <io.h>
#include <windows.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string_view>

namespace sevrane {

namespace {

// Large enough to keep the per-read cost out of sight, small enough to stay in the cache.
constexpr DWORD kReadSize = 64 * 1024;

enum class ListFileStatus { Read, NotOpened };

// A virus scanner or a sync client may hold a file it has just seen being written, for a moment:
// such a holder is waited for, about a second in short steps, before the file counts as not
// readable. A writer that keeps it longer is still writing it.
constexpr ULONGLONG kHeldFileWait = 1000;
constexpr DWORD kHeldFileStep = 50;

UniqueFileHandle OpenListFile(const std::u16string& path) {
    const PlatformPath platformPath(path);
    const ULONGLONG giveUpAt = ::GetTickCount64() + kHeldFileWait;
    for (;;) {
        // Sharing reading only, as the C runtime's fopen does: a file that another process is
        // writing (or holds without sharing) cannot be opened, rather than be read in part, and
        // a directory cannot be opened as a file at all.
        UniqueFileHandle file(::CreateFileW(platformPath.get(), GENERIC_READ, FILE_SHARE_READ,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                            nullptr));
        const DWORD error = ::GetLastError();
        if (file || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            ::GetTickCount64() >= giveUpAt) {
            return file;
        }
        ::Sleep(kHeldFileStep);
    }
}

// Reads from the handle, a disk file or a pipe (type), to its end. A pipe ends when its writer
// closes it.
ListFileStatus DecodeList(HANDLE input, DWORD type, bool unicode, ItemList& items) {
    ListDecoder decoder(unicode ? ListEncoding::Unicode : ListEncoding::Ansi, PlatformConverters(),
                        items);
    LARGE_INTEGER size{};
    if (type == FILE_TYPE_DISK && ::GetFileSizeEx(input, &size) && size.QuadPart > 0) {
        decoder.ExpectBytes(static_cast<std::uint64_t>(size.QuadPart));
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(kReadSize);
    while (!decoder.Ended()) {
        DWORD got = 0;
        if (!::ReadFile(input, buffer.get(), kReadSize, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            if (type == FILE_TYPE_PIPE && error == ERROR_BROKEN_PIPE) {
                break;
            }
            // A message longer than the buffer: the rest comes with the next read. Anything
            // else (a range another process has locked, a disk error) makes the input not
            // readable: never a partial list, nor a retry for ever.
            if (type != FILE_TYPE_PIPE || error != ERROR_MORE_DATA) {
                Trace({L"ReadFile", error});
                return ListFileStatus::NotOpened;
            }
        }
        if (got == 0 && type != FILE_TYPE_PIPE) {
            break;
        }
        if (!decoder.Feed(std::string_view(buffer.get(), got))) {
            TraceLastFailure(L"MultiByteToWideChar"); // the only call a decoder fails by
            return ListFileStatus::NotOpened;
        }
    }
    if (!decoder.Finish()) {
        TraceLastFailure(L"MultiByteToWideChar");
        return ListFileStatus::NotOpened;
    }
    return ListFileStatus::Read;
}

// An input that is not a list that can be read whole, traced: the box names only the file. A
// type that GetFileType cannot tell comes with an error code.
ListFileStatus NotAFile(DWORD type) {
    if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR) {
        TraceLastFailure(L"GetFileType");
    } else {
        TraceLine(L"the list is a console, a device or a pipe, not a file");
    }
    return ListFileStatus::NotOpened;
}

// The file's lines, and which file they came from: the handle read through tells.
ListFileStatus DecodeListFile(const std::u16string& path, bool unicode, ListRead& read) {
    const UniqueFileHandle file = OpenListFile(path);
    if (!file) {
        TraceLastFailure(L"CreateFileW");
        return ListFileStatus::NotOpened;
    }
    // Only a disk file is sure to end: a device (NUL, CON, COM1, AUX) or a pipe may never end,
    // or hand over whatever happens to come; none of them is a list that can be read whole.
    if (const DWORD type = ::GetFileType(file.get()); type != FILE_TYPE_DISK) {
        return NotAFile(type);
    }
    const ListFileStatus status = DecodeList(file.get(), FILE_TYPE_DISK, unicode, read.items);
    if (status == ListFileStatus::Read) {
        read.identity = IdentityOf(file.get());
    }
    return status;
}

// Standard input is the caller's own: a pipe or a redirected file is read, and left open. A
// console, a device or no handle at all is no list.
ListFileStatus DecodeStandardInput(bool unicode, ItemList& items) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == INVALID_HANDLE_VALUE) {
        TraceLastFailure(L"GetStdHandle");
        return ListFileStatus::NotOpened;
    }
    if (input == nullptr) {
        TraceLine(L"there is no standard input");
        return ListFileStatus::NotOpened;
    }
    const DWORD type = ::GetFileType(input);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
        return NotAFile(type);
    }
    return DecodeList(input, type, unicode, items);
}

// Items that cannot be held make a list that cannot be read, not a reason to end with a code of
// the runtime's own. The items read so far go with the result, before the box that follows.
template <typename Decode>
ListFileStatus Guarded(Decode decode) {
    try {
        return decode();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return ListFileStatus::NotOpened;
}

} // namespace

std::variant<ListRead, Failure> ReadList(const std::u16string& path, bool unicode) {
    ListRead read;
    if (path == kStandardInputList) {
        if (Guarded([&] { return DecodeStandardInput(unicode, read.items); }) !=
            ListFileStatus::Read) {
            return Failure{MessageId::MsgFileNotOpened, path};
        }
        return read;
    }
    // Mode 0 tests existence only; a directory exists too (and fails later, to open).
    if (::_waccess_s(PlatformPath(path).get(), 0) != 0) {
        return Failure{MessageId::MsgFileNotFound, path};
    }
    if (Guarded([&] { return DecodeListFile(path, unicode, read); }) != ListFileStatus::Read) {
        return Failure{MessageId::MsgFileNotOpened, path};
    }
    return read;
}

} // namespace sevrane
