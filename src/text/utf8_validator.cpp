#include "text/utf8_validator.h"

#include "text/word_scan.h"

namespace sevrane {

bool Utf8Validator::Take(std::string_view bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (valid_ && p != end) {
        if (missing_ == 0) {
            // Plain ASCII text, a word at a time.
            while (end - p >= 8 && (LoadWord(p) & kWordHighBits<1>) == 0) {
                p += 8;
            }
            if (p == end) {
                break;
            }
        }
        valid_ = TakeByte(static_cast<unsigned char>(*p++));
    }
    return valid_;
}

bool Utf8Validator::TakeByte(unsigned char byte) {
    if (missing_ != 0) {
        if (byte < low_ || byte > high_) {
            return false;
        }
        --missing_;
        low_ = 0x80;
        high_ = 0xBF;
        return true;
    }
    if (byte < 0x80) {
        return true;
    }
    if (byte < 0xC2 || byte > 0xF4) {
        return false;
    }
    missing_ = byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
    low_ = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
    high_ = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
    return true;
}

} // namespace sevrane
