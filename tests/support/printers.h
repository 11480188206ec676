// UTF-16 text in the tests' failure messages: as GoogleTest prints it, u"..." with every unit
// outside printable ASCII escaped, so that look-alike and invisible units stay apart. Long text
// is cut after its first units.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace sevrane::test {

inline std::string Shown(std::u16string_view text, std::size_t most = 40) {
    std::string shown = ::testing::PrintToString(std::u16string(text.substr(0, most)));
    if (text.size() > most) {
        shown += "... (" + std::to_string(text.size()) + " units)";
    }
    return shown;
}

} // namespace sevrane::test
