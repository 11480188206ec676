// The backslash escapes of the message ("/e").
#pragma once

#include <string>

namespace sevrane {

// Rewrites \\ as one backslash, \n as LF and \t as TAB, in one pass from left to right; every
// other backslash stays as it is.
void ProcessMessageEscapes(std::u16string& message);

} // namespace sevrane
