#include "temp_dir_win.h"

#include "platform/handles_win.h"

#include <windows.h>

namespace sevrane::test {

namespace {

void RemoveTree(const std::wstring& directory) {
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(::FindFirstFileW((directory + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring full = directory + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(search.get(), &found));
    }
    ::RemoveDirectoryW(directory.c_str());
}

} // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"sevrane-test-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) {
            break;
        }
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::wstring TempDir::File(std::wstring_view name) const {
    return path_ + L"\\" + std::wstring(name);
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    return bytes.empty() || (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &written, nullptr) &&
                             written == bytes.size());
}

} // namespace sevrane::test
