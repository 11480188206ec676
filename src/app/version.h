// The version numbers, the authorship notice and the one-line version notice of "/ver".
#pragma once

// Shared with the resource script, which only understands the preprocessor.
#define SEVRANE_VERSION_TEXT "2.20"
#define SEVRANE_VERSION_BINARY 2, 20, 0, 0
#define SEVRANE_VERSION_DOTTED "2.20.0.0"
#define SEVRANE_AUTHORSHIP "Copyright (c) 2026 The sevrane developers"

// " sevrane 2.20 64bit <notice> - Mmm dd yyyy hh:mm:ss ", the stamp being the date and time.
#define SEVRANE_VERSION_LINE(stamp)                                                                \
    " sevrane " SEVRANE_VERSION_TEXT " 64bit " SEVRANE_AUTHORSHIP " - " stamp " "

#ifndef RC_INVOKED
namespace sevrane {

// Defined by the build stamp that is written and compiled before every link of the program, so
// it carries the time of the link (or SOURCE_DATE_EPOCH), never that of an older compile.
extern const char kVersionLine[];

} // namespace sevrane
#endif
