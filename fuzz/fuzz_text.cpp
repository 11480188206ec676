// The two text transformations with arbitrary input.
//
// Input: byte 0 picks the target. Odd: the message escapes, over the rest as UTF-16 LE units
// (a trailing odd byte is ignored). Even: the list decoder; bit 1 picks "/u", bit 2 the
// double-byte code page instead of Latin-1, bytes 1-2 the two chunk sizes that alternate, and
// the rest is the file. A Unicode file without a mark must read as the same bytes behind the mark
// that its content calls for.
#include "fuzz_support.h"
#include "text/escapes.h"
#include "text/list_decoder.h"
#include "text/utf8_validator.h"

#include "test_code_pages.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace sevrane;

using fuzzing::Require;

// The escapes as their rule reads: find a backslash, look at the unit behind it, replace the
// pair or not, and search again from the unit after the backslash.
std::size_t LiteralEscapes(std::u16string& message) {
    std::size_t replaced = 0;
    std::size_t p = message.find(u'\\');
    while (p != std::u16string::npos && p + 1 < message.size()) {
        const char16_t next = message[p + 1];
        const char16_t replacement = next == u'\\'  ? u'\\'
                                     : next == u'n' ? u'\n'
                                     : next == u't' ? u'\t'
                                                    : 0;
        if (replacement != 0) {
            message.replace(p, 2, 1, replacement);
            ++replaced;
        }
        if (p + 1 >= message.size()) {
            break;
        }
        p = message.find(u'\\', p + 1);
    }
    return replaced;
}

void FuzzEscapes(std::string_view bytes) {
    std::u16string message;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        message.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    std::u16string expected = message;
    const std::size_t replaced = LiteralEscapes(expected);
    std::u16string actual = message;
    ProcessMessageEscapes(actual);
    Require(actual == expected, "escapes differ from their literal rule");
    Require(actual.size() + replaced == message.size(), "each escape shortens by one unit");
    Require(actual.size() * 2 >= message.size(), "at most every second unit disappears");
    Require(message.empty() || !actual.empty(), "a message never becomes empty");
}

// The test converter gives one U+FFFD for each EF BF BD and at least one for each byte sequence
// that is not UTF-8 (a lead byte never continues a sequence, so neither can hide the other).
bool IsValidUtf8(std::string_view bytes) {
    std::u16string units;
    test::Utf8ToUtf16(bytes, units);
    std::size_t marks = 0;
    for (std::size_t at = bytes.find("\xEF\xBF\xBD"); at != std::string_view::npos;
         at = bytes.find("\xEF\xBF\xBD", at + 3)) {
        ++marks;
    }
    return static_cast<std::size_t>(std::count(units.begin(), units.end(), u'\uFFFD')) == marks;
}

void FuzzDecoder(std::uint8_t selector, std::size_t first, std::size_t second,
                 std::string_view bytes) {
    const ListEncoding encoding = (selector & 2) != 0 ? ListEncoding::Unicode : ListEncoding::Ansi;
    const ListConverters converters =
        (selector & 4) != 0 ? test::DoubleByteConverters() : test::Latin1Converters();
    const ItemList whole = test::DecodeInChunks(bytes, encoding, converters, 0);

    ItemList items;
    ListDecoder decoder(encoding, converters, items);
    bool useFirst = true;
    for (std::size_t at = 0; at < bytes.size() && !decoder.Ended();) {
        const std::size_t size = useFirst ? first : second;
        Require(decoder.Feed(bytes.substr(at, size)), "the test code pages never fail");
        at += size;
        useFirst = !useFirst;
    }
    Require(decoder.Finish(), "the test code pages never fail");
    Require(items == whole, "the items depend on where the reads cut the file");

    if (encoding == ListEncoding::Unicode && !bytes.starts_with("\xFF\xFE") &&
        !bytes.starts_with("\xFE\xFF") && !bytes.starts_with("\xEF\xBB\xBF")) {
        // Without a mark the bytes say which: UTF-8, or UTF-16LE as if it had its mark.
        Utf8Validator validator;
        validator.Take(bytes.substr(0, first));
        validator.Take(bytes.substr(std::min(first, bytes.size())));
        Require(validator.Complete() == IsValidUtf8(bytes), "the UTF-8 check misjudges bytes");
        const bool utf8 = bytes.find('\0') == std::string_view::npos && IsValidUtf8(bytes);
        const std::string marked = (utf8 ? "\xEF\xBB\xBF" : "\xFF\xFE") + std::string(bytes);
        Require(items == test::DecodeInChunks(marked, encoding, converters, 0),
                "a file without a mark is read in another encoding than its bytes say");
    }

    std::size_t lineEnds = 0;
    for (const char byte : bytes) {
        lineEnds += byte == '\n' ? 1 : 0;
    }
    Require(items.size() <= lineEnds + 1, "more items than lines");
    for (std::size_t i = 0; i < items.size(); ++i) {
        Require(items[i].find_first_of(std::u16string_view(u"\n\0\x1A", 3)) == std::u16string::npos,
                "an item holds LF, NUL or Ctrl+Z");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if ((data[0] & 1) != 0) {
        FuzzEscapes(input.substr(1));
    } else {
        FuzzDecoder(data[0], std::size_t{1} + data[1], std::size_t{1} + (data[2] % 16),
                    input.substr(3));
    }
    return 0;
}
