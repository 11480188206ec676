#include "text/list_delete_win.h"

#include "platform/handles_win.h"
#include "platform/platform_path_win.h"

#include <windows.h>

namespace sevrane {

namespace {

// FileDispositionInfoEx and its flags, which the Windows 7 headers this program is built with do
// not declare (Windows 10 1709 and later answer them).
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosixSemantics = 0x2;

// Marks the file for deletion through the handle. POSIX semantics take the name away when the
// handle closes, even while another program that shares deletion (a virus scanner, an indexer)
// still has the file open; without them the name stays until that program lets go, and cannot
// be created again meanwhile. Windows before 10 1709, file systems other than NTFS and Wine 8
// refuse them: there the plain disposition marks it.
bool MarkForDeletion(HANDLE file) {
    DWORD flags = kDispositionDelete | kDispositionPosixSemantics;
    if (::SetFileInformationByHandle(file, kFileDispositionInfoEx, &flags, sizeof(flags))) {
        return true;
    }
    FILE_DISPOSITION_INFO plain{TRUE};
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &plain, sizeof(plain));
}

} // namespace

ListDeletion DeleteListFile(const std::u16string& path, const FileIdentity& identity) {
    // Opened for deletion only, sharing everything: a reader that shares deletion does not stop
    // it, and nothing the handle does can change the file's contents.
    const UniqueFileHandle file(
        ::CreateFileW(PlatformPath(path).get(), DELETE | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? ListDeletion::Held
                                                           : ListDeletion::LeftAlone;
    }
    // A path names whatever file has that name now: another program may have written a new
    // list under it since it was read.
    if (IdentityOf(file.get()) != identity || !MarkForDeletion(file.get())) {
        return ListDeletion::LeftAlone;
    }
    return ListDeletion::Gone;
}

} // namespace sevrane
