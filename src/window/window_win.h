// The list window: measured, laid out and built hidden, then shown until the user decides.
#pragma once

#include "platform/handles_win.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/settings.h"
#include "window/layout.h"
#include "window/measure_win.h"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace sevrane {

struct WindowRequest {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWDEFAULT;
    const Settings* settings = nullptr; // outlives the window
    RECT workArea{};
    HICON icon = nullptr; // applied to the main window; not owned
    LanguageIndex language = kEnglish;
};

enum class BuildStatus {
    Ready,        // built and filled, still hidden
    Refused,      // the layout does not fit: RefusalWarning() says why; nothing was shown
    ListNotShown, // the list box refused an item: the window is gone, nothing was shown
    Failed,       // a platform call failed: traced, the window is gone, nothing was shown
};

class ListWindow {
public:
    explicit ListWindow(const WindowRequest& request);
    ListWindow(const ListWindow&) = delete;
    ListWindow& operator=(const ListWindow&) = delete;
    ~ListWindow() = default;

    // Creates the main window, measures and lays out, then creates and fills the controls, all
    // hidden. After Refused the hidden main window lives on until this object goes, so that the
    // refusal's box comes first.
    BuildStatus Build();
    Failure RefusalWarning() const { return RefusalFailure(refusal_); }

    // Shows the built window and runs its loop: the chosen item's 1-based number, or 0.
    int ShowAndRun();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static bool RegisterWindowClass(HINSTANCE instance);
    bool PreTranslate(const MSG& message);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
    void Confirm();
    void Choose(std::int32_t result);
    void PaintMessage(HWND window);
    int SelectedIndex() const;
    void FocusList() const;
    void UnframeButtons() const;
    void AskForTheForeground() const;

    BuildStatus CreateMain();
    BuildStatus MeasureAndLayOut(WindowLayout& layout);
    BuildStatus CreateControls(const WindowLayout& layout);
    void CreateLabel();
    BuildStatus CreateListBox(const WindowLayout& layout);
    bool CreateButtons(const WindowLayout& layout);
    BuildStatus Fail(const wchar_t* call);
    const Settings& RunSettings() const { return *request_.settings; }
    RECT MessageRect() const;

    WindowRequest request_;
    // Declared before the window: the font outlives every window that uses it.
    UniqueFont font_;
    UniqueWindow window_; // let go at WM_NCDESTROY, whoever destroys the window
    HWND listBox_ = nullptr;
    HWND buttons_[2] = {};
    // Noted by PreTranslate alone: whether the list box's last double-click, as the loop saw
    // it pass, pointed at an item; and whether the loop runs, so that a quit is asked for.
    bool doubleClickOnItem_ = false;
    bool looping_ = false;
    Measurement measured_; // the message as it is painted, and the input of the layout
    std::int32_t result_ = 0;
    LayoutRefusal refusal_;
};

} // namespace sevrane
