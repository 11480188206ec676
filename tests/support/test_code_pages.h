// Code pages for the host, injected where Windows uses MultiByteToWideChar: Latin-1, a
// double-byte page shaped like Shift-JIS, and UTF-8 with U+FFFD for every invalid byte.
#pragma once

#include "text/list_decoder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sevrane::test {

// The bytes of UTF-16 text, as a Unicode list file holds them (little-endian unless told).
inline std::string Utf16Bytes(std::u16string_view text, bool bigEndian = false) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF));
        bytes.push_back(static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8));
    }
    return bytes;
}

inline bool Latin1ToUtf16(std::string_view bytes, std::u16string& out) {
    for (const char byte : bytes) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    }
    return true;
}

inline bool IsTestLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline bool IsTestTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Lead 0x81-0x9F or 0xE0-0xFC with trail 0x40-0xFC; a few pairs carry their Shift-JIS meaning,
// the others map into the private use area. A lead byte without its trail becomes U+FFFD.
inline bool DoubleByteToUtf16(std::string_view bytes, std::u16string& out) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            out.push_back(byte);
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            out.push_back(static_cast<char16_t>(0xFF61 + (byte - 0xA1)));
        } else if (IsTestLeadByte(byte) && i + 1 < bytes.size() &&
                   IsTestTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const unsigned pair = (byte << 8) | static_cast<unsigned char>(bytes[++i]);
            switch (pair) {
            case 0x93FA:
                out.push_back(u'日');
                break;
            case 0x967B:
                out.push_back(u'本');
                break;
            case 0x835C:
                out.push_back(u'ソ');
                break;
            case 0x955C:
                out.push_back(u'表');
                break;
            default:
                out.push_back(static_cast<char16_t>(0xE000 + (pair & 0x17FF)));
                break;
            }
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return true;
}

inline bool Utf8ToUtf16(std::string_view bytes, std::u16string& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        }
        std::size_t taken = 1;
        while (length != 0 && taken < length && i + taken < bytes.size() &&
               (static_cast<unsigned char>(bytes[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(bytes[i + taken]) & 0x3F);
            ++taken;
        }
        if (length == 0 || taken != length || code < minimum || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            i += length == 0 ? 1 : taken;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return true;
}

inline ListConverters Latin1Converters() { return {Latin1ToUtf16, Utf8ToUtf16}; }
inline ListConverters DoubleByteConverters() { return {DoubleByteToUtf16, Utf8ToUtf16}; }

// Feeds the bytes in chunks of chunkSize (the whole at once for 0).
inline ItemList DecodeInChunks(std::string_view bytes, ListEncoding encoding,
                               const ListConverters& converters, std::size_t chunkSize) {
    ItemList items;
    ListDecoder decoder(encoding, converters, items);
    if (chunkSize == 0) {
        chunkSize = bytes.size() == 0 ? 1 : bytes.size();
    }
    for (std::size_t at = 0; at < bytes.size() && !decoder.Ended(); at += chunkSize) {
        decoder.Feed(bytes.substr(at, chunkSize));
    }
    decoder.Finish();
    return items;
}

} // namespace sevrane::test
