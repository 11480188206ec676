#include "temp_dir_win.h"

#include "platform/handles_win.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace sevrane::test {

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1]{};
    ::GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    do {
        path_ = std::wstring(base) + L"sevrane-test-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
    } while (!::CreateDirectoryW(path_.c_str(), nullptr));
}

TempDir::~TempDir() {
    std::error_code ignored; // what cannot be removed stays behind, as in any temporary folder
    std::filesystem::remove_all(path_, ignored);
}

std::wstring TempDir::File(std::wstring_view name) const {
    return path_ + L"\\" + std::wstring(name);
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           (bytes.empty() || (::WriteFile(file.get(), bytes.data(),
                                          static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              written == bytes.size()));
}

} // namespace sevrane::test
