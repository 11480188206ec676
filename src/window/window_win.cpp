#include "window/window_win.h"

#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/warning_box_win.h"
#include "window/layout.h"
#include "window/measure_win.h"

#include <cstdint>
#include <string>
#include <variant>

namespace sevrane {

namespace {

constexpr int kListBoxId = 101;
constexpr int kOkButtonId = 102;
constexpr int kCancelButtonId = 103;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
static_assert(kButtonStyle == 0x50010000);
constexpr wchar_t kClassName[] = L"sevrane";

// What the window procedure reads (and, for result, writes). It is filled before the window
// can receive any message that reads it, and lives for the whole run.
struct DisplayState {
    std::u16string title;
    std::u16string message;
    std::int32_t tabLength = 8;
    bool useUiFont = false;
    HFONT font = nullptr; // owned by RunWindow
    std::int32_t messageHeight = 0;
    HWND listBox = nullptr;
    std::int32_t result = 0;
};

DisplayState displayState;

HMENU ControlId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

void SetFont(HWND window, HFONT font) {
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

int SelectedIndex() {
    return static_cast<int>(::SendMessageW(displayState.listBox, LB_GETCURSEL, 0, 0));
}

void Confirm(HWND window) {
    const int selected = SelectedIndex();
    if (selected == LB_ERR) {
        const std::u16string text(MessageText(MessageId::MsgNothingSelected));
        ::MessageBoxW(window, Wide(text), Wide(displayState.title), MB_OK | MB_ICONWARNING);
        return;
    }
    displayState.result = selected + 1;
    ::SendMessageW(window, WM_CLOSE, 0, 0);
}

void PaintMessage(HWND window) {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window, &paint);
    {
        // The message is drawn in the font it was measured in: the context's default without
        // "/m".
        const SelectionScope selection(dc, displayState.useUiFont ? displayState.font : nullptr);
        RECT client{};
        ::GetClientRect(window, &client);
        const LayoutRect area = MessageRectIn(
            {client.left, client.top, client.right, client.bottom}, displayState.messageHeight);
        RECT rect{area.left, area.top, area.right, area.bottom};
        DRAWTEXTPARAMS params = DrawParameters(displayState.tabLength);
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextExW(dc, const_cast<wchar_t*>(Wide(displayState.message)), -1, &rect,
                      MessageFormatFor(displayState.message), &params);
    }
    ::EndPaint(window, &paint);
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDOK: // Enter, through the dialog-message processing
    case kOkButtonId:
        Confirm(window);
        return 0;
    case IDCANCEL: // Esc
    case kCancelButtonId:
        ::SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case kListBoxId:
        if (HIWORD(wParam) == LBN_DBLCLK) {
            // A double-click in the empty area below the items selects nothing: 0, as Cancel.
            displayState.result = SelectedIndex() + 1;
            ::SendMessageW(window, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return ::DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    case WM_SETFOCUS:
        // Whenever the window is activated the list box takes the keyboard, even when a
        // button had it before.
        if (displayState.listBox != nullptr) {
            ::SetFocus(displayState.listBox);
        }
        return 0;
    case WM_PAINT:
        PaintMessage(window);
        return 0;
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        // No exception may cross the platform's frames. Out of memory here ends the run as a
        // cancel: nothing is chosen, and the closing window ends the loop.
        displayState.result = 0;
        ::DestroyWindow(window);
        return 0;
    }
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassW(&windowClass) != 0;
}

// False when the list box refuses an item (LB_ERR, LB_ERRSPACE): the list cannot be shown
// whole, and every number after a missing item would name the wrong line.
bool FillList(HWND listBox, const ItemList& items) {
    if (items.empty()) {
        return true;
    }
    // The list box is still hidden with its parent: skipping its repaints and scroll bar updates
    // per item, and reserving room once, changes nothing the user sees.
    ::SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(listBox, LB_INITSTORAGE, items.size(),
                   static_cast<LPARAM>(items.Units() * sizeof(char16_t)));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const LRESULT added = ::SendMessageW(listBox, LB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(Wide(items.c_str(i))));
        if (added == LB_ERR || added == LB_ERRSPACE) {
            return false;
        }
    }
    ::SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    return true;
}

bool CreateButtons(HWND mainWindow, HINSTANCE instance, const WindowLayout& layout, HFONT font) {
    RECT client{};
    ::GetClientRect(mainWindow, &client);
    const std::int32_t clientWidth = client.right - client.left;
    const struct {
        LayoutRect rect;
        MessageId label;
        int id;
    } buttons[] = {
        {layout.OkButton(clientWidth), MessageId::LabelOk, kOkButtonId},
        {layout.CancelButton(clientWidth), MessageId::LabelCancel, kCancelButtonId},
    };
    HWND created[2] = {};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::u16string label(MessageText(buttons[i].label));
        const LayoutRect& rect = buttons[i].rect;
        created[i] = ::CreateWindowExW(0, L"BUTTON", Wide(label), kButtonStyle, rect.left, rect.top,
                                       rect.Width(), rect.Height(), mainWindow,
                                       ControlId(buttons[i].id), instance, nullptr);
        if (created[i] == nullptr) {
            return false;
        }
    }
    for (HWND button : created) {
        SetFont(button, font);
    }
    return true;
}

// The window shows the "/i" icon as its big and then its small icon; it does not own it.
void ApplyIcon(HWND window, HICON icon) {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

int ShowCommandFor(int showCommand) {
    // The window has a fixed size: a maximized start shows it restored. A caller that hides its
    // own console passes SW_HIDE on; a hidden window would leave that caller waiting for ever.
    switch (showCommand) {
    case SW_SHOWMAXIMIZED:
        return SW_RESTORE;
    case SW_HIDE:
        return SW_SHOWNORMAL;
    default:
        return showCommand;
    }
}

} // namespace

int RunWindow(const WindowRequest& request) {
    const Settings& settings = *request.settings;
    displayState = DisplayState{};
    displayState.title = settings.title;
    displayState.message = settings.message;
    displayState.tabLength = settings.tabLength;
    displayState.useUiFont = settings.useUiFont;

    // Every window the run relies on is checked: without the list box, Enter would read its
    // selection as 0 from a null window, that is, item 1. A run without its window ends as a
    // cancel.
    if (!RegisterMainClass(request.instance)) {
        return 0;
    }

    // Declared before the window: the font outlives every window that uses it.
    UniqueFont font;
    UniqueWindow mainWindow(::CreateWindowExW(
        WS_EX_CONTROLPARENT, kClassName, Wide(displayState.title), kMainWindowStyle, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, request.instance, nullptr));
    if (!mainWindow) {
        return 0;
    }
    const HWND window = mainWindow.get();
    if (request.icon != nullptr) {
        ApplyIcon(window, request.icon);
    }

    Measurement measurement = MeasureLayout(window, settings, request.workArea);
    font = std::move(measurement.font);
    displayState.font = font.get();
    displayState.messageHeight = measurement.input.messageHeight;
    if (!measurement.complete) {
        // Rows without a height, or a message of unknown size, cannot be laid out.
        return 0;
    }

    const LayoutResult computed = ComputeLayout(measurement.input);
    if (const auto* refusal = std::get_if<LayoutRefusal>(&computed)) {
        ShowWarning(RefusalText(*refusal));
        mainWindow.reset();
        return 0;
    }
    const WindowLayout& layout = std::get<WindowLayout>(computed);

    ::MoveWindow(window, layout.window.left, layout.window.top, layout.window.Width(),
                 layout.window.Height(), FALSE);

    const LayoutRect& list = layout.listBox;
    const HWND listBox =
        ::CreateWindowExW(0, L"LISTBOX", nullptr, kListBoxStyle, list.left, list.top, list.Width(),
                          list.Height(), window, ControlId(kListBoxId), request.instance, nullptr);
    if (listBox == nullptr) {
        return 0;
    }
    displayState.listBox = listBox;
    if (settings.useUiFont) {
        SetFont(listBox, font.get());
    }
    if (layout.tabStop) {
        INT stops[1] = {*layout.tabStop};
        ::SendMessageW(listBox, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
    }
    if (!FillList(listBox, settings.items)) {
        // Never a list shown in part. The lines of a list file are reported as not read, and
        // the file of "/fd" stays for another try.
        displayState.listBox = nullptr;
        mainWindow.reset();
        // Its WM_DESTROY asked a loop to end that never ran; the box must not take that for
        // its own.
        MSG quit{};
        ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        if (settings.listFile && request.listFilePath != nullptr) {
            ShowWarning(ComposeMessage(*request.listFilePath, MessageId::MsgFileNotOpened));
        }
        return 0;
    }
    if (layout.horizontalScroll) {
        ::SendMessageW(listBox, LB_SETHORIZONTALEXTENT,
                       static_cast<WPARAM>(layout.horizontalExtent), 0);
    }
    ::SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(settings.selectIndex), 0);

    if (!CreateButtons(window, request.instance, layout, font.get())) {
        return 0;
    }

    if (settings.deleteListFile && request.listFilePath != nullptr) {
        // Gone before the user can act, whatever the choice; a failure is not reported.
        ::DeleteFileW(Wide(*request.listFilePath));
    }

    ::ShowWindow(window, ShowCommandFor(request.showCommand));
    ::UpdateWindow(window);

    MSG message{};
    // GetMessageW gives -1 on failure: that ends the loop instead of spinning on it.
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    if (!::IsWindow(window)) {
        mainWindow.release(); // destroyed by the close that ended the loop
    }
    mainWindow.reset();
    // The font goes before the caller releases the icon.
    font.reset();
    return displayState.result;
}

} // namespace sevrane
