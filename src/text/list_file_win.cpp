#include "text/list_file_win.h"

#include "platform/full_path_win.h"
#include "platform/handles_win.h"
#include "platform/trace_win.h"
#include "platform/wide_win.h"
#include "text/list_decoder.h"
#include "text/long_path.h"

#include <io.h>
#include <windows.h>

#include <climits>
#include <memory>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace sevrane {

namespace {

// Large enough to keep the per-read cost out of sight, small enough to stay in the cache.
constexpr DWORD kReadSize = 64 * 1024;

// MultiByteToWideChar takes an int length: a longer line is converted in pieces that end on a
// character boundary of the code page.
constexpr std::size_t kConvertPieceLimit = std::size_t{1} << 30;

std::size_t CharacterBoundary(UINT codePage, std::string_view bytes, std::size_t limit) {
    if (codePage == CP_UTF8 || (codePage == CP_ACP && ::GetACP() == CP_UTF8)) {
        // Back off over continuation bytes to the start of the character.
        std::size_t end = limit;
        while (end > limit - 4 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
            --end;
        }
        return end;
    }
    // A trail byte can look like a lead byte, so walk from a known boundary.
    std::size_t end = 0;
    while (true) {
        const std::size_t width =
            ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[end])) ? 2 : 1;
        if (end + width > limit) {
            return end;
        }
        end += width;
    }
}

bool AppendConverted(UINT codePage, std::string_view bytes, std::u16string& out) {
    while (!bytes.empty()) {
        std::size_t piece = bytes.size();
        if (piece > kConvertPieceLimit) {
            piece = CharacterBoundary(codePage, bytes, kConvertPieceLimit);
        }
        const int length = static_cast<int>(piece);
        // Flags 0: bytes that are not valid in the code page get the platform's replacement.
        const int units = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
        if (units <= 0) {
            return false;
        }
        const std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(units));
        auto* target = reinterpret_cast<wchar_t*>(out.data() + old);
        if (::MultiByteToWideChar(codePage, 0, bytes.data(), length, target, units) != units) {
            return false;
        }
        bytes.remove_prefix(piece);
    }
    return true;
}

// Converts a line with one call straight behind the text already in out (the items' shared
// buffer), which is quicker than asking for the size first. No code page gives more UTF-16
// units than bytes; should one, the two-call path above takes over, as it does for lines too
// long for one call.
class LineConverter {
public:
    explicit LineConverter(UINT codePage) : codePage_(codePage) {}

    bool operator()(std::string_view bytes, std::u16string& out) const {
        if (bytes.size() > kConvertPieceLimit) {
            return AppendConverted(codePage_, bytes, out);
        }
        const std::size_t old = out.size();
        out.resize(old + bytes.size());
        const int length = static_cast<int>(bytes.size());
        const int units =
            ::MultiByteToWideChar(codePage_, 0, bytes.data(), length,
                                  reinterpret_cast<wchar_t*>(out.data() + old), length);
        if (units <= 0) {
            out.resize(old);
            return AppendConverted(codePage_, bytes, out);
        }
        out.resize(old + static_cast<std::size_t>(units));
        return true;
    }

private:
    UINT codePage_;
};

ListConverters PlatformConverters() {
    return ListConverters{LineConverter(CP_ACP), LineConverter(CP_UTF8)};
}

// The path in the form the platform takes: one whose full path is too long for the platform's
// plain form goes in its extended-length form, whatever form it was typed in (relative, "\dir",
// "C:dir", with ".." or "/"), for the platform measures the full path; any other as typed (and
// so it is when the full path cannot be had).
class PlatformPath {
public:
    explicit PlatformPath(const std::u16string& path) : path_(path) {
        try {
            if (const auto full = FullPathOf(path); full && NeedsExtendedLengthForm(*full)) {
                extended_ = ExtendedLengthForm(*full);
            }
        } catch (const std::bad_alloc&) {
        }
    }
    PlatformPath(const PlatformPath&) = delete;
    PlatformPath& operator=(const PlatformPath&) = delete;

    const wchar_t* get() const { return Wide(extended_.empty() ? path_ : extended_); }

private:
    const std::u16string& path_;
    std::u16string extended_;
};

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

ListFileStatus DecodeListFile(const std::u16string& path, bool unicode, ItemList& items) {
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
    return DecodeList(file.get(), FILE_TYPE_DISK, unicode, items);
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

// Runs a read into items: what cannot be held counts as not readable, and leaves no items.
template <typename Read>
ListFileStatus LoadInto(ItemList& items, Read read) {
    items.clear();
    ListFileStatus status = ListFileStatus::NotOpened;
    try {
        status = read();
    } catch (const std::bad_alloc&) {
        // Items that cannot be held are a file that cannot be read, not a reason to end with a
        // code of the runtime's own.
    } catch (const std::length_error&) {
    }
    if (status != ListFileStatus::Read) {
        // An empty list gives its memory back, for the box that follows.
        items = ItemList();
    }
    return status;
}

} // namespace

ListFileStatus LoadListFile(const std::u16string& path, bool unicode, ItemList& items) {
    return LoadInto(items, [&] { return DecodeListFile(path, unicode, items); });
}

ListFileStatus LoadStandardInput(bool unicode, ItemList& items) {
    return LoadInto(items, [&] { return DecodeStandardInput(unicode, items); });
}

bool DeleteListFile(const std::u16string& path) {
    return path != kStandardInputList && !::DeleteFileW(PlatformPath(path).get()) &&
           ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::optional<Failure> RunListFileStep(Settings& settings, std::u16string& listFilePath) {
    // The checks of the command line leave exactly one list argument: the path, not an item.
    listFilePath =
        settings.items.empty() ? std::u16string() : std::u16string(settings.items.front());
    settings.items.clear();
    if (listFilePath == kStandardInputList) {
        if (LoadStandardInput(settings.unicodeListFile, settings.items) != ListFileStatus::Read) {
            return Failure{MessageId::MsgFileNotOpened, listFilePath};
        }
        return std::nullopt;
    }
    // Mode 0 tests existence only; a directory exists too (and fails later, to open).
    if (::_waccess_s(PlatformPath(listFilePath).get(), 0) != 0) {
        return Failure{MessageId::MsgFileNotFound, listFilePath};
    }
    if (LoadListFile(listFilePath, settings.unicodeListFile, settings.items) !=
        ListFileStatus::Read) {
        return Failure{MessageId::MsgFileNotOpened, listFilePath};
    }
    return std::nullopt;
}

} // namespace sevrane
