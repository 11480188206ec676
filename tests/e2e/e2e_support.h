// Shared helpers of the end-to-end test files: expected texts and common assertions.
#pragma once

#include "driver/driver_win.h"
#include "vocabulary/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace sevrane::e2e {

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline bool IsJapaneseRun() { return UiLanguage() == kJapaneseLanguageId; }
inline LanguageIndex RunLanguage() { return IsJapaneseRun() ? kJapanese : kEnglish; }

// A text as the catalogue makes it, after the subject its entry is about (if any), in the
// language of the run unless told.
inline std::wstring Text(MessageId id, std::wstring_view subject = {},
                         LanguageIndex language = RunLanguage()) {
    return ToWide(
        FailureText(Failure{id, std::u16string(subject.begin(), subject.end())}, language));
}

// Windows sets the UI language per user, not per process: where it is not Japanese, a test of
// the Japanese texts skips itself (GTEST_SKIP returns from the test, hence a macro). Under Wine,
// LC_ALL=ja_JP.UTF-8 on the run gives a Japanese UI; anywhere, --japanese-user.
#define SEVRANE_SKIP_UNLESS_JAPANESE_UI()                                                          \
    if (!::sevrane::e2e::IsJapaneseRun())                                                          \
    GTEST_SKIP() << "needs a Japanese UI language (--japanese-user; Windows: the user's display "  \
                    "language; Wine: LC_ALL=ja_JP.UTF-8), this one is "                            \
                 << ::sevrane::e2e::UiLanguage()

// One body as two tests: the English run's, and its Japanese twin, which skips itself where the
// UI is not Japanese.
#define SEVRANE_TEST_IN_BOTH_LANGUAGES(suite, name, body)                                          \
    TEST(suite, name) { body; }                                                                    \
    TEST(suite, Japanese##name) {                                                                  \
        SEVRANE_SKIP_UNLESS_JAPANESE_UI();                                                         \
        body;                                                                                      \
    }

// One box and nothing else: no owner, caption sevrane, the given text and icon (the warning icon
// of every error before the window); the run ends with 0 and no window.
inline void ExpectSingleBox(const RunOutcome& outcome, const std::wstring& text,
                            BoxIconKind icon = BoxIconKind::Warning) {
    ASSERT_EQ(outcome.boxes.size(), 1u)
        << "expected exactly one box saying: " << testing::PrintToString(text);
    const BoxInfo& box = outcome.boxes.front();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, L"sevrane");
    EXPECT_EQ(box.iconShown, icon != BoxIconKind::None);
    EXPECT_EQ(box.icon, icon);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_FALSE(outcome.windowShown);
    EXPECT_EQ(outcome.exitCode, 0u);
}

} // namespace sevrane::e2e

namespace sevrane::e2e {

// A run whose window is expected to show: the window and its three controls once visible.
// Whatever is still running at the end is closed from the caption, then ended.
class WindowSession {
public:
    WindowSession() = default;
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;
    ~WindowSession() {
        if (process.Running() && main != nullptr && ::IsWindow(main)) {
            CloseFromCaption(main);
            process.WaitExit();
        }
    }

    // Starts the program and waits for its window; false (with the reason) when a box or
    // the end of the process came instead.
    testing::AssertionResult Open(const Arguments& arguments, const LaunchOptions& options = {}) {
        process = Launch(arguments, options);
        if (!process) {
            return testing::AssertionFailure() << "sevrane.exe could not be started";
        }
        WaitUntil([&] {
            main = FindVisibleWindow(process.Id(), L"sevrane");
            return main != nullptr || FindVisibleWindow(process.Id(), L"#32770") != nullptr ||
                   !process.Running();
        });
        if (main == nullptr) {
            if (HWND box = FindVisibleWindow(process.Id(), L"#32770")) {
                return testing::AssertionFailure()
                       << "a box came instead of the window: "
                       << testing::PrintToString(ReadBox(box, process.ThreadId()).text);
            }
            return testing::AssertionFailure()
                   << "no window; exit code " << testing::PrintToString(process.WaitExit(kPoll));
        }
        // Showing activates the window, and the activation puts the focus on the list; the
        // user acts only after that. A program that never gets there fails the tests that
        // look at the focus.
        WaitUntil([&] { return ActiveWindow(process.ThreadId()) == main; });
        list = Control(main, kListId);
        ok = Control(main, kOkId);
        cancel = Control(main, kCancelId);
        return testing::AssertionSuccess();
    }

    // The exit code once the process has ended by the user's action.
    std::optional<DWORD> ExitCode() const { return process.WaitExit(); }

    HWND Focus() const { return FocusedWindow(process.ThreadId()); }
    void Press(UINT virtualKey) const { PressKeyOnFocus(process.ThreadId(), main, virtualKey); }

    Process process;
    HWND main = nullptr;
    HWND list = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;
};

} // namespace sevrane::e2e
