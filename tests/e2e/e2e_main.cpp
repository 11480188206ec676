// Entry of the end-to-end tests. The program under test is the sevrane.exe of this build
// (SEVRANE_E2E_EXE, a Unix path from CMake) unless --sevrane=<path> names another one;
// --japanese-user runs it as a Japanese user's on any system.
#include "driver/driver_win.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::wstring path = sevrane::e2e::DosPath(SEVRANE_E2E_EXE);
    constexpr std::wstring_view option = L"--sevrane=";
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view argument = argv[i];
        if (argument.substr(0, option.size()) == option) {
            const std::wstring value(argument.substr(option.size()));
            std::string narrow(value.begin(), value.end());
            path = narrow.empty() || narrow.front() != '/' ? value : sevrane::e2e::DosPath(narrow);
        } else if (argument == L"--japanese-user") {
            sevrane::e2e::SetJapaneseUser(true);
        }
    }
    sevrane::e2e::SetSevranePath(path);
    return RUN_ALL_TESTS();
}
