#include "app/icon_win.h"

#include "app/icon_file.h"
#include "platform/full_path_win.h"
#include "platform/platform_path_win.h"

#include <io.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

namespace sevrane {

namespace {

// Appends up to count more bytes of the file to head; false when a read fails.
bool ReadMore(HANDLE file, std::string& head, std::size_t count) {
    const std::size_t start = head.size();
    head.resize(start + count);
    std::size_t filled = start;
    while (filled < head.size()) {
        DWORD got = 0;
        if (!::ReadFile(file, head.data() + filled, static_cast<DWORD>(head.size() - filled), &got,
                        nullptr)) {
            return false;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    head.resize(filled);
    return true;
}

// The platform's extraction reads an icon file's images wherever its directory points, and
// faults on a directory that points past the end of the file: such a file is checked first.
// One that cannot be read counts as one without icons.
bool MayExtractFrom(const std::u16string& path) {
    const UniqueFileHandle file(
        ::CreateFileW(PlatformPath(path).get(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER size{};
    std::string head;
    // The directory is read only for an icon file: executables and libraries go as they are.
    if (!::GetFileSizeEx(file.get(), &size) || !ReadMore(file.get(), head, kIconFileHeaderSize) ||
        !ReadMore(file.get(), head, IconFileHeadSize(head) - head.size())) {
        return false;
    }
    return CheckIconFile(head, static_cast<std::uint64_t>(size.QuadPart)) != IconFileCheck::Broken;
}

} // namespace

IconLoad LoadOptionIcon(HINSTANCE instance, const IconSpec& spec) {
    // A long path is found as the list file's is; the icon loaders may still refuse it below.
    if (::_waccess_s(PlatformPath(spec.file).get(), 0) != 0) {
        return {UniqueIcon(), Failure{MessageId::MsgFileNotFound, spec.file}};
    }
    if (!MayExtractFrom(spec.file)) {
        return {UniqueIcon(), Failure{MessageId::MsgIconNotRetrieved, spec.file}};
    }
    // A negative index travels as its unsigned bit pattern: ExtractIconW reads it as a resource
    // identifier (its absolute value). -1 would ask for the icon count; parsing refuses it.
    // Libraries load from System32 only: a relative library or program is named in full.
    // A full path of MAX_PATH units or more goes in its extended-length form. Wine 8's loader
    // gives no icon for it in either form, and Microsoft documents no long paths for this call.
    const std::u16string file = FullPathOf(spec.file).value_or(spec.file);
    HICON icon = ::ExtractIconW(instance, PlatformPath(file).get(), static_cast<UINT>(spec.index));
    // ExtractIconW's odd rule: it returns 1, not NULL, for a file that exists but is no
    // executable, library or icon file. Neither 0 nor 1 is an icon, and 1 must never reach
    // DestroyIcon.
    if (reinterpret_cast<std::uintptr_t>(icon) <= 1) {
        return {UniqueIcon(), Failure{MessageId::MsgIconNotRetrieved, spec.file}};
    }
    return {UniqueIcon(icon), std::nullopt};
}

} // namespace sevrane
