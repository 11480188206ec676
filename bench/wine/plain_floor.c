/* The plain floor for sevrane's window start-up: the plainest C program that shows the same
 * list, built by bench/run-startup with nothing but
 *
 *   x86_64-w64-mingw32-gcc -O2 -static -mwindows -municode
 *
 * (no stack protector, no C++ runtime, none of the project's flags or libraries). It splits its
 * command line with CommandLineToArgvW (so it imports shell32 as sevrane does), reads the list
 * file of CR LF lines in the ANSI code page, creates a window and a list box of sevrane's
 * styles, reserves the list box's storage, adds the lines with redraw off and shows the window.
 * With -DSEVRANE_PHASE_TRACE it writes the same phase marks as the other programs.
 *
 *   plain_floor.exe TITLE LIST-FILE
 *
 * Exit codes: 0 closed, 2 bad command line, 3 file not read, 4 window not made.
 */
#include <windows.h>

#include <shellapi.h>

#if defined(SEVRANE_PHASE_TRACE)
#include <stdio.h>

static void MarkPhase(const char* name) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
    char line[80];
    const int length = snprintf(line, sizeof(line), "phase %s %.6f\n", name,
                                (double)(ticks - 116444736000000000ULL) / 1e7);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, (DWORD)length, &written, NULL);
}
#else
#define MarkPhase(name) ((void)0)
#endif

static LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

/* The whole file as UTF-16 from the ANSI code page, NUL-terminated; NULL on failure. */
static WCHAR* ReadWholeFile(const WCHAR* path, int* units) {
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return NULL;
    }
    LARGE_INTEGER size;
    char* bytes = NULL;
    DWORD read = 0;
    if (GetFileSizeEx(file, &size) && size.QuadPart < 0x7fffffff &&
        (bytes = HeapAlloc(GetProcessHeap(), 0, (SIZE_T)size.QuadPart + 1)) != NULL &&
        !ReadFile(file, bytes, (DWORD)size.QuadPart, &read, NULL)) {
        read = 0;
    }
    CloseHandle(file);
    if (bytes == NULL) {
        return NULL;
    }
    *units = read == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, NULL, 0);
    WCHAR* text = HeapAlloc(GetProcessHeap(), 0, ((SIZE_T)*units + 1) * sizeof(WCHAR));
    if (text != NULL) {
        if (*units > 0) {
            MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, text, *units);
        }
        text[*units] = L'\0';
    }
    HeapFree(GetProcessHeap(), 0, bytes);
    return text;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand) {
    (void)previous;
    (void)commandLine;
    MarkPhase("entry");
    int count = 0;
    WCHAR** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == NULL || count < 3) {
        return 2;
    }
    int units = 0;
    WCHAR* text = ReadWholeFile(argv[2], &units);
    if (text == NULL) {
        return 3;
    }
    /* Each line ends at CR LF (or a lone LF); a last line without one counts too. */
    int lines = 0;
    for (int i = 0; i < units; ++i) {
        lines += text[i] == L'\n';
    }
    lines += units > 0 && text[units - 1] != L'\n';
    MarkPhase("settings");

    WNDCLASSW windowClass = {0};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"plain_floor";
    const HWND window =
        RegisterClassW(&windowClass)
            ? CreateWindowExW(WS_EX_CONTROLPARENT, L"plain_floor", argv[1],
                              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 200, 100, 400, 500, NULL,
                              NULL, instance, NULL)
            : NULL;
    const HWND listBox =
        window != NULL ? CreateWindowExW(0, L"LISTBOX", NULL, 0x50B10181, 20, 20, 340, 400, window,
                                         (HMENU)(INT_PTR)101, instance, NULL)
                       : NULL;
    if (listBox == NULL) {
        return 4;
    }
    SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox, LB_INITSTORAGE, (WPARAM)lines, (LPARAM)units * (LPARAM)sizeof(WCHAR));
    WCHAR* line = text;
    for (int i = 0; i < units; ++i) {
        if (text[i] == L'\n') {
            text[i] = L'\0';
            if (i > 0 && text[i - 1] == L'\r') {
                text[i - 1] = L'\0';
            }
            SendMessageW(listBox, LB_ADDSTRING, 0, (LPARAM)line);
            line = text + i + 1;
        }
    }
    if (*line != L'\0') {
        SendMessageW(listBox, LB_ADDSTRING, 0, (LPARAM)line);
    }
    SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    MarkPhase("controls");

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
