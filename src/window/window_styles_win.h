// The list window's styles and control ids: what it is created with, and what its frames are
// measured from.
#pragma once

#include <windows.h>

namespace sevrane {

inline constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kListBoxStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                                       WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS |
                                       LBS_NOTIFY;
// The list box's frame is sized from its window styles and its notify style.
inline constexpr DWORD kListBoxFrameStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY;
inline constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
static_assert(kMainWindowStyle == 0xCA0000);
static_assert(kListBoxStyle == 0x50B10181);
static_assert(kButtonStyle == 0x50010000);

inline constexpr int kListBoxId = 101;
inline constexpr int kOkButtonId = 102;
inline constexpr int kCancelButtonId = 103;

} // namespace sevrane
