// Whether bytes fed in pieces cut anywhere are UTF-8 as the standard bounds it: no overlong
// forms, no surrogates, nothing above U+10FFFF. Holds the state of the sequence being read.
#pragma once

#include "text/word_scan.h"

#include <cstdint>
#include <string_view>

namespace sevrane {

class Utf8Validator {
public:
    // Takes the next bytes: whether all bytes taken so far are still valid. Once false, always.
    bool Take(std::string_view bytes) {
        const char* p = bytes.data();
        const char* const end = p + bytes.size();
        Sequence sequence = sequence_; // a copy the compiler may keep in registers
        bool valid = valid_;
        while (valid && p != end) {
            if (sequence.missing == 0) {
                // Plain ASCII text, a word at a time.
                while (end - p >= 8 && (LoadWord(p) & kWordHighBits<1>) == 0) {
                    p += 8;
                }
                if (p == end) {
                    break;
                }
            }
            valid = sequence.Take(static_cast<unsigned char>(*p++));
        }
        sequence_ = sequence;
        valid_ = valid;
        return valid;
    }

    // Whether the bytes taken are valid and end with a whole character.
    bool Complete() const { return valid_ && sequence_.missing == 0; }

private:
    struct Sequence {
        std::uint8_t missing = 0; // continuation bytes the current sequence still needs
        unsigned char low = 0x80; // the range of the next continuation byte
        unsigned char high = 0xBF;

        // False for a byte that cannot stand where it does.
        bool Take(unsigned char byte) {
            if (missing != 0) {
                if (byte < low || byte > high) {
                    return false;
                }
                --missing;
                low = 0x80;
                high = 0xBF;
                return true;
            }
            if (byte < 0x80) {
                return true;
            }
            if (byte < 0xC2 || byte > 0xF4) {
                return false;
            }
            missing = byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
            low = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
            high = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
            return true;
        }
    };

    bool valid_ = true;
    Sequence sequence_;
};

} // namespace sevrane
