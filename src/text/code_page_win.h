// The platform's conversion of a list's byte text to UTF-16: the system ANSI code page, and
// UTF-8.
#pragma once

#include "text/list_decoder.h"

namespace sevrane {

ListConverters PlatformConverters();

} // namespace sevrane
