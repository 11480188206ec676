#include "window/window_win.h"

#include "platform/phase_trace_win.h"
#include "platform/program_name.h"
#include "platform/trace_win.h"
#include "platform/wide_win.h"
#include "window/window_rules.h"
#include "window/window_styles_win.h"

#include <string>
#include <utility>
#include <variant>

namespace sevrane {

namespace {

HMENU ControlId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

void SetFont(HWND window, HFONT font) {
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
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

// The window shows the "/i" icon as its big and then its small icon; it does not own it.
void ApplyIcon(HWND window, HICON icon) {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

// The rules' numbers are the platform's.
static_assert(kShowHide == SW_HIDE && kShowNormal == SW_SHOWNORMAL &&
              kShowMinimized == SW_SHOWMINIMIZED && kShowMaximized == SW_SHOWMAXIMIZED &&
              kShowNoActivate == SW_SHOWNOACTIVATE && kShowShow == SW_SHOW &&
              kShowMinNoActive == SW_SHOWMINNOACTIVE && kShowNotActivated == SW_SHOWNA &&
              kShowRestore == SW_RESTORE && kKeyReturn == VK_RETURN && kKeyEscape == VK_ESCAPE);

} // namespace

ListWindow::ListWindow(const WindowRequest& request) : request_(request) {}

// ---- Building, hidden ---------------------------------------------------------------------

BuildStatus ListWindow::Build() {
    // Every window the run relies on is checked: without the list box, Enter would read its
    // selection as 0 from a null window, that is, item 1. A run without its window ends as a
    // cancel.
    if (const BuildStatus created = CreateMain(); created != BuildStatus::Ready) {
        return created;
    }
    MarkPhase("main-window");
    WindowLayout layout;
    if (const BuildStatus laidOut = MeasureAndLayOut(layout); laidOut != BuildStatus::Ready) {
        return laidOut;
    }
    MarkPhase("measured");
    return CreateControls(layout);
}

BuildStatus ListWindow::Fail(const wchar_t* call) {
    TraceLastFailure(call);
    window_.reset();
    return BuildStatus::Failed;
}

// A run makes one list window, so the class is registered once per process.
bool ListWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    // Without a class cursor the pointer would keep whatever shape it had over the message.
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = Wide(kProgramName);
    return ::RegisterClassW(&windowClass) != 0;
}

BuildStatus ListWindow::CreateMain() {
    if (!RegisterWindowClass(request_.instance)) {
        return Fail(L"RegisterClassW");
    }
    // The procedure finds this object through the creation parameter from WM_NCCREATE on.
    window_.reset(::CreateWindowExW(WS_EX_CONTROLPARENT, Wide(kProgramName), Wide(RunSettings().title),
                                    kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, nullptr, nullptr, request_.instance, this));
    if (!window_) {
        return Fail(L"CreateWindowExW");
    }
    // The run's font, which the buttons take, and with "/m" also the main window for measuring,
    // the list box and the message.
    font_ = CreateMessageFont();
    if (RunSettings().window.useUiFont) {
        SetFont(window_.get(), font_.get());
    }
    if (request_.icon != nullptr) {
        ApplyIcon(window_.get(), request_.icon);
    }
    return BuildStatus::Ready;
}

BuildStatus ListWindow::MeasureAndLayOut(WindowLayout& layout) {
    measured_ = MeasureLayout(window_.get(), font_.get(), RunSettings(), request_.workArea);
    if (measured_.failure) {
        // Rows without a height, or a message of unknown size, cannot be laid out.
        Trace(*measured_.failure);
        window_.reset();
        return BuildStatus::Failed;
    }
    const LayoutResult computed = ComputeLayout(measured_.input);
    if (const auto* refusal = std::get_if<LayoutRefusal>(&computed)) {
        refusal_ = *refusal;
        return BuildStatus::Refused;
    }
    layout = std::get<WindowLayout>(computed);
    ::MoveWindow(window_.get(), layout.window.left, layout.window.top, layout.window.Width(),
                 layout.window.Height(), FALSE);
    return BuildStatus::Ready;
}

// Where the message is painted, and where its label lies, in the client area as it is now.
RECT ListWindow::MessageRect() const {
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    const LayoutRect area = MessageRectIn({client.left, client.top, client.right, client.bottom},
                                          measured_.input.messageHeight);
    return {area.left, area.top, area.right, area.bottom};
}

BuildStatus ListWindow::CreateControls(const WindowLayout& layout) {
    CreateLabel();
    if (const BuildStatus list = CreateListBox(layout); list != BuildStatus::Ready) {
        return list;
    }
    if (!FillList(listBox_, RunSettings().items)) {
        // Never a list shown in part.
        TraceLastFailure(L"SendMessageW(LB_ADDSTRING)");
        listBox_ = nullptr;
        window_.reset();
        return BuildStatus::ListNotShown;
    }
    if (layout.horizontalScroll) {
        ::SendMessageW(listBox_, LB_SETHORIZONTALEXTENT,
                       static_cast<WPARAM>(layout.horizontalExtent), 0);
    }
    ::SendMessageW(listBox_, LB_SETCURSEL, static_cast<WPARAM>(RunSettings().selectIndex.value_or(-1)),
                   0);
    if (!CreateButtons(layout)) {
        return Fail(L"CreateWindowExW");
    }
    return BuildStatus::Ready;
}

// Screen readers name a list box by the Static just before it in z-order, hidden or not. The
// message is painted, so a hidden copy of it, created just before the list box, names the list.
void ListWindow::CreateLabel() {
    const RECT area = MessageRect();
    if (::CreateWindowExW(0, L"STATIC", Wide(LabelText(RunSettings().message)), kLabelStyle,
                          area.left, area.top, area.right - area.left, area.bottom - area.top,
                          window_.get(), ControlId(kLabelId), request_.instance,
                          nullptr) == nullptr) {
        // Only a screen reader misses it; the user can still see and choose.
        TraceLastFailure(L"CreateWindowExW");
    }
}

BuildStatus ListWindow::CreateListBox(const WindowLayout& layout) {
    const LayoutRect& list = layout.listBox;
    listBox_ = ::CreateWindowExW(0, L"LISTBOX", nullptr, kListBoxStyle, list.left, list.top,
                                 list.Width(), list.Height(), window_.get(), ControlId(kListBoxId),
                                 request_.instance, nullptr);
    if (listBox_ == nullptr) {
        return Fail(L"CreateWindowExW");
    }
    if (RunSettings().window.useUiFont) {
        SetFont(listBox_, font_.get());
    }
    if (layout.tabStop) {
        INT stops[1] = {*layout.tabStop};
        ::SendMessageW(listBox_, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(stops));
    }
    return BuildStatus::Ready;
}

bool ListWindow::CreateButtons(const WindowLayout& layout) {
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    const std::int32_t clientWidth = client.right - client.left;
    const struct {
        LayoutRect rect;
        MessageId label;
        int id;
    } buttons[] = {
        {layout.OkButton(clientWidth), MessageId::LabelOk, kOkButtonId},
        {layout.CancelButton(clientWidth), MessageId::LabelCancel, kCancelButtonId},
    };
    for (std::size_t i = 0; i < 2; ++i) {
        const std::u16string label(MessageText(buttons[i].label, request_.language));
        const LayoutRect& rect = buttons[i].rect;
        buttons_[i] = ::CreateWindowExW(0, L"BUTTON", Wide(label), kButtonStyle, rect.left,
                                        rect.top, rect.Width(), rect.Height(), window_.get(),
                                        ControlId(buttons[i].id), request_.instance, nullptr);
        if (buttons_[i] == nullptr) {
            return false;
        }
    }
    for (HWND button : buttons_) {
        SetFont(button, font_.get());
    }
    return true;
}

// ---- Shown ----------------------------------------------------------------------------------

int ListWindow::ShowAndRun() {
    MarkPhase("controls");
    const HWND window = window_.get();
    ::ShowWindow(window, ShowCommandFor(request_.showCommand));
    if (!::IsWindowVisible(window)) {
        // Windows gives the first ShowWindow of a process the caller's own show command (a
        // hidden start, for instance) in place of ours; the second call is honoured.
        ::ShowWindow(window, SW_SHOWNORMAL);
    }
    ::UpdateWindow(window);
    AskForTheForeground();

    MSG message{};
    BOOL got = 0;
    // Only a running loop is asked to end: a window destroyed before, on a failure path, must
    // leave no quit message for a box that follows.
    looping_ = true;
    // GetMessageW gives -1 on failure: that ends the loop instead of spinning on it.
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (PreTranslate(message)) {
            continue;
        }
        if (!::IsDialogMessageW(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    looping_ = false;
    if (got < 0) {
        TraceLastFailure(L"GetMessageW");
    }
    // A loop that failed leaves the window to its owner; the font goes after it, with this object.
    window_.reset();
    return result_;
}

// What the loop drops or notes before the dialog processing sees a message: true to drop it.
bool ListWindow::PreTranslate(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
        return IsHeldAnswerKey(static_cast<std::uint32_t>(message.wParam), message.lParam);
    case WM_LBUTTONDBLCLK:
        if (message.hwnd == listBox_) {
            // Where the user pointed, before the list box acts on it. The high word is 0 only
            // when the point lies inside the item it names.
            doubleClickOnItem_ =
                HIWORD(::SendMessageW(listBox_, LB_ITEMFROMPOINT, 0, message.lParam)) == 0;
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK ListWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetLastError(0);
        if (::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams)) == 0 &&
            ::GetLastError() != 0) {
            return FALSE; // a window that cannot find its state is not created
        }
    }
    auto* self = reinterpret_cast<ListWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        // Gone: the owner must not destroy it again.
        self->window_.release();
    }
    try {
        return self->HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        // No exception may cross the platform's frames. Out of memory here ends the run as a
        // cancel: nothing is chosen, and the closing window ends the loop.
        TraceLine(L"an exception ended the window");
        self->result_ = 0;
        ::DestroyWindow(window);
        return 0;
    }
}

// The window comes as a parameter: during its creation window_ does not hold it yet.
LRESULT ListWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        if (looping_) {
            ::PostQuitMessage(0);
        }
        return 0;
    case WM_SETFOCUS:
        // Whenever the window is activated the list box takes the keyboard, even when a
        // button had it before.
        FocusList();
        return 0;
    case WM_ACTIVATE:
        // Activated while minimized (a minimized start), nothing can take the focus; the
        // restore below gives it to the list.
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
            FocusList();
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
        if (wParam == SIZE_RESTORED && ::GetActiveWindow() == window) {
            FocusList();
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

LRESULT ListWindow::OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDOK: // Enter, through the dialog-message processing
    case kOkButtonId:
        Confirm();
        return 0;
    case IDCANCEL: // Esc
    case kCancelButtonId:
        Choose(0);
        return 0;
    case kListBoxId:
        if (HIWORD(wParam) == LBN_SETFOCUS) {
            UnframeButtons();
        } else if (HIWORD(wParam) == LBN_DBLCLK && std::exchange(doubleClickOnItem_, false)) {
            // A double-click in the strip below the last item, or on an empty list, points at no
            // item: neither the selected item nor a cancel is what the user asked for.
            Choose(SelectedIndex() + 1);
        }
        return 0;
    default:
        return ::DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

void ListWindow::FocusList() const {
    if (listBox_ != nullptr) {
        ::SetFocus(listBox_);
    }
}

// Tab gives the focused button the default frame, and a click, an activation or a restore that
// brings the focus back to the list leaves it there. Enter on the list chooses the item: no
// button may look as if Enter pressed it.
void ListWindow::UnframeButtons() const {
    for (HWND button : buttons_) {
        if (button != nullptr &&
            (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            ::SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
    }
}

// A window behind the one the user works in may go unseen while the script waits. The
// foreground is asked for once, within the system's rules; refused, the taskbar button flashes
// until the user comes. It is never forced: keys typed elsewhere must not reach the list.
void ListWindow::AskForTheForeground() const {
    const HWND window = window_.get();
    if (::GetForegroundWindow() == window) {
        return;
    }
    // A minimized start, or one the caller asked not to activate, is left where it is: only the
    // taskbar button tells the user.
    if (!::IsIconic(window) && !ShowsWithoutActivating(request_.showCommand) &&
        ::SetForegroundWindow(window)) {
        return;
    }
    FLASHWINFO flash{sizeof(flash), window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    ::FlashWindowEx(&flash);
}

int ListWindow::SelectedIndex() const {
    return static_cast<int>(::SendMessageW(listBox_, LB_GETCURSEL, 0, 0));
}

void ListWindow::Confirm() {
    const int selected = SelectedIndex();
    if (selected == LB_ERR) {
        const std::u16string text(MessageText(MessageId::MsgNothingSelected, request_.language));
        ::MessageBoxW(window_.get(), Wide(text), Wide(RunSettings().title), MB_OK | MB_ICONWARNING);
        return;
    }
    Choose(selected + 1);
}

void ListWindow::Choose(std::int32_t result) {
    result_ = result;
    ::SendMessageW(window_.get(), WM_CLOSE, 0, 0);
}

void ListWindow::PaintMessage(HWND window) {
    const PaintScope paint(window);
    // The message is drawn in the font it was measured in: the context's default without "/m".
    const SelectionScope selection(paint.get(),
                                   RunSettings().window.useUiFont ? font_.get() : nullptr);
    RECT rect = MessageRect();
    DRAWTEXTPARAMS params = DrawParameters(RunSettings().window.TabLength());
    ::SetBkMode(paint.get(), TRANSPARENT);
    // A context draws black whatever the theme: on a dark button face the message would vanish.
    ::SetTextColor(paint.get(), ::GetSysColor(COLOR_BTNTEXT));
    const MessageDrawing& message = measured_.message;
    ::DrawTextExW(paint.get(), const_cast<wchar_t*>(Wide(message.text)), -1, &rect,
                  DrawFormat(message), &params);
}

} // namespace sevrane
