// Whether bytes fed in pieces cut anywhere are UTF-8 as the standard bounds it: no overlong
// forms, no surrogates, nothing above U+10FFFF. Holds the state of the sequence being read.
#pragma once

#include <cstdint>
#include <string_view>

namespace sevrane {

class Utf8Validator {
public:
    // Takes the next bytes: whether all bytes taken so far are still valid. Once false, always.
    bool Take(std::string_view bytes);

    // Whether the bytes taken are valid and end with a whole character.
    bool Complete() const { return valid_ && missing_ == 0; }

private:
    bool TakeByte(unsigned char byte);

    bool valid_ = true;
    std::uint8_t missing_ = 0; // continuation bytes the current sequence still needs
    unsigned char low_ = 0x80; // the range of the next continuation byte
    unsigned char high_ = 0xBF;
};

} // namespace sevrane
