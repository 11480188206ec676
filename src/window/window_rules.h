// The list window's small decisions: plain rules over the platform's numbers, which keep their
// Win32 values (checked against the platform's headers where the window uses them).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sevrane {

// Show commands (SW_*) and keys (VK_*) the rules look at.
enum ShowCommand : int {
    kShowHide = 0,
    kShowNormal = 1,
    kShowMinimized = 2,
    kShowMaximized = 3,
    kShowNoActivate = 4,
    kShowShow = 5,
    kShowMinNoActive = 7,
    kShowNotActivated = 8, // SW_SHOWNA
    kShowRestore = 9,
};
inline constexpr std::uint32_t kKeyReturn = 0x0D;
inline constexpr std::uint32_t kKeyEscape = 0x1B;

// The command the window is first shown with. It has a fixed size: a maximized start shows it
// restored. A caller that hides its own console passes SW_HIDE on; a hidden window would leave
// that caller waiting for ever.
constexpr int ShowCommandFor(int requested) {
    switch (requested) {
    case kShowMaximized:
        return kShowRestore;
    case kShowHide:
        return kShowNormal;
    default:
        return requested;
    }
}

// The commands with which the caller asked for a shown window that does not take the activation.
constexpr bool ShowsWithoutActivating(int requested) {
    return requested == kShowNoActivate || requested == kShowNotActivated;
}

// An Enter or Esc still held from an earlier window arrives as auto-repeat (bit 30 of a key
// message's lParam: the key was already down): it must not answer a window the user has not read
// yet.
constexpr bool IsHeldAnswerKey(std::uint32_t key, std::int64_t keyData) {
    return (key == kKeyReturn || key == kKeyEscape) && (keyData & (std::int64_t{1} << 30)) != 0;
}

// The text of the list's label: screen readers read it as a mnemonic text and drop its first
// "&", which is therefore doubled so that the message is spoken as written.
inline std::u16string LabelText(std::u16string_view message) {
    std::u16string label(message);
    if (const std::size_t first = label.find(u'&'); first != std::u16string::npos) {
        label.insert(first, 1, u'&');
    }
    return label;
}

} // namespace sevrane
