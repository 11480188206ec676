// A real client: a batch file run by the system's command interpreter starts the program,
// and branches on the exit code it gets back.
#include "driver/files_win.h"
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <string>

namespace sevrane::e2e {
namespace {

// The visible list window with this caption, in whatever process shows it.
HWND FindWindowByCaption(const std::wstring& caption) {
    HWND found = nullptr;
    WaitUntil([&] {
        found = ::FindWindowW(L"sevrane", caption.c_str());
        return found != nullptr && ::IsWindowVisible(found);
    });
    return found;
}

std::wstring CommandInterpreter() {
    wchar_t directory[MAX_PATH]{};
    ::GetSystemDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\cmd.exe";
}

TEST(Client, BatchFileBranchesOnTheChosenNumber) {
    TempDir dir;
    const std::wstring caption = L"Client " + std::to_wstring(::GetCurrentProcessId());
    const std::wstring script = dir.File(L"choose.bat");
    const std::wstring result = dir.File(L"result.txt");
    const std::wstring batch = L"@echo off\r\n"
                               L"\"" +
                               SevranePath() + L"\" /s 2 \"" + caption +
                               L"\" \"Pick one\" one two three\r\n"
                               L"if errorlevel 4 goto other\r\n"
                               L"if errorlevel 3 goto three\r\n"
                               L"if errorlevel 2 goto two\r\n"
                               L"goto other\r\n"
                               L":two\r\n"
                               L">\"" +
                               result +
                               L"\" echo chose 2\r\n"
                               L"goto end\r\n"
                               L":three\r\n"
                               L">\"" +
                               result +
                               L"\" echo chose 3\r\n"
                               L"goto end\r\n"
                               L":other\r\n"
                               L">\"" +
                               result +
                               L"\" echo chose %ERRORLEVEL%\r\n"
                               L":end\r\n"
                               L"exit /b %ERRORLEVEL%\r\n";
    ASSERT_TRUE(WriteBytes(script, Encode(batch, CP_ACP)));

    const std::wstring interpreter = CommandInterpreter();
    const Process shell =
        LaunchCommandLine(interpreter, L"\"" + interpreter + L"\" /c \"" + script + L"\"");
    ASSERT_TRUE(shell);
    HWND main = FindWindowByCaption(caption);
    ASSERT_NE(main, nullptr) << "the batch file did not show the list window";
    const DWORD thread = ::GetWindowThreadProcessId(main, nullptr);
    EXPECT_EQ(ListSelection(Control(main, kListId)), 1);
    PressKeyOnFocus(thread, main, VK_RETURN);

    EXPECT_EQ(shell.WaitExit(), 2u);
    std::string written = ReadBytes(result);
    while (!written.empty() &&
           (written.back() == '\n' || written.back() == '\r' || written.back() == ' ')) {
        written.pop_back();
    }
    EXPECT_EQ(written, "chose 2");
}

} // namespace
} // namespace sevrane::e2e
