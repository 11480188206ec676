// The one-line version notice of "/ver". GCC and Clang take __DATE__ and __TIME__ from
// SOURCE_DATE_EPOCH when it is set, so a build can be reproduced to the byte.
#pragma once

// Shared with the resource script, which only understands the preprocessor.
#define SEVRANE_VERSION_TEXT "2.20"
#define SEVRANE_VERSION_BINARY 2, 20, 0, 0
#define SEVRANE_VERSION_DOTTED "2.20.0.0"
#define SEVRANE_AUTHORSHIP "Copyright (C) 2026 The sevrane developers"

#ifndef RC_INVOKED
namespace sevrane {

// " sevrane 2.20 64bit <notice> - Mmm dd yyyy hh:mm:ss "
inline constexpr char kVersionLine[] =
    " sevrane " SEVRANE_VERSION_TEXT " 64bit " SEVRANE_AUTHORSHIP " - " __DATE__ " " __TIME__ " ";

} // namespace sevrane
#endif
