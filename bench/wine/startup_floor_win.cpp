// The floor for sevrane's window start-up: the least a Win32 program must do to show the same
// list. It reads the list file with the same reader, creates a window with a list box, adds the
// lines with redraw off, shows the window and waits to be closed. No measuring, no layout.
//
//   startup_floor.exe TITLE LIST-FILE [/u]

#include "platform/handles_win.h"
#include "platform/phase_trace_win.h"
#include "platform/wide_win.h"
#include "text/list_file_win.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <utility>
#include <variant>

namespace {

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    sevrane::MarkPhase("entry");
    int count = 0;
    sevrane::UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!argv || count < 3) {
        return 2;
    }
    const std::u16string title = sevrane::FromWide(argv.get()[1]);
    const std::u16string path = sevrane::FromWide(argv.get()[2]);
    const bool unicode = count > 3 && ::_wcsicmp(argv.get()[3], L"/u") == 0;
    argv.reset();

    auto read = sevrane::ReadList(path, unicode);
    if (!std::holds_alternative<sevrane::ListRead>(read)) {
        return 3;
    }
    const sevrane::ItemList items = std::move(std::get<sevrane::ListRead>(read).items);
    sevrane::MarkPhase("settings");

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = L"startup_floor";
    ::RegisterClassW(&windowClass);

    const HWND window =
        ::CreateWindowExW(WS_EX_CONTROLPARENT, L"startup_floor", sevrane::Wide(title),
                          WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 200, 100, 400, 500, nullptr,
                          nullptr, instance, nullptr);
    const HWND listBox =
        ::CreateWindowExW(0, L"LISTBOX", nullptr, 0x50B10181, 20, 20, 340, 400, window,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(101)), instance, nullptr);
    ::SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(listBox, LB_INITSTORAGE, items.size(),
                   static_cast<LPARAM>(items.Units() * sizeof(char16_t)));
    for (std::size_t i = 0; i < items.size(); ++i) {
        ::SendMessageW(listBox, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(sevrane::Wide(items.c_str(i))));
    }
    ::SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    sevrane::MarkPhase("controls");

    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}
