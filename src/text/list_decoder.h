// The text of a list file turned into items, fed in chunks of any size as the file is read.
#pragma once

#include "vocabulary/settings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace sevrane {

// Appends the UTF-16 form of bytes in a multibyte encoding to out; false when the platform
// cannot convert them. Each call receives whole lines, so a character is never cut.
using MultiByteConverter = std::function<bool(std::string_view bytes, std::u16string& out)>;

struct ListConverters {
    MultiByteConverter ansi; // the system ANSI code page: files read without "/u"
    MultiByteConverter utf8; // files read with "/u" that start with the UTF-8 mark
};

// Without "/u" the bytes are ANSI text; with it the file is UTF-16LE (its mark dropped) unless
// it starts with the UTF-16BE mark or the UTF-8 mark, which say what it is instead.
enum class ListEncoding : std::uint8_t { Ansi, Unicode };

// Splits the decoded text at LF, as the C runtime's text mode reads it: CR LF becomes LF, a lone
// CR stays, Ctrl+Z ends the text. Every LF-terminated line is an item, empty or not; the text
// after the last LF is one only when it is not empty. A NUL ends its item's text and the rest
// of that line is dropped, so lines are never merged. Holds only the line being read.
class ListDecoder {
public:
    ListDecoder(ListEncoding encoding, ListConverters converters, ItemList& items);

    // The next bytes of the file, cut anywhere. False once a conversion has failed.
    bool Feed(std::string_view bytes);

    // The end of the file; stores its last line. False once a conversion has failed.
    bool Finish();

    // True once the text is over (a Ctrl+Z, the end of the file) or a conversion has failed:
    // later bytes are ignored, the reader may stop.
    bool Ended() const { return ended_ || failed_; }

    // The file's size, when known: once the first megabyte has shown how long its lines are,
    // the item list is reserved for the whole file instead of growing step by step. A
    // reservation that cannot be had is dropped; growing then throws std::bad_alloc (or
    // std::length_error) from Feed or Finish only when the items really do not fit.
    void ExpectBytes(std::uint64_t total) { expectedBytes_ = total; }

private:
    enum class Form : std::uint8_t { Undecided, Bytes, Utf16 };

    void FeedUtf16(std::string_view bytes);
    void ScanUtf16(const char* begin, const char* end);
    template <std::size_t Width>
    void Scan(const char* begin, const char* end);
    template <std::size_t Width>
    void EndLine(const char* begin, const char* end);
    template <std::size_t Width>
    void EndText();
    template <std::size_t Width>
    void Emit(std::string_view text);
    void ClearPending();
    void ReserveItems();

    ItemList& items_;
    ListConverters converters_;
    const MultiByteConverter* converter_ = nullptr;
    Form form_ = Form::Undecided;
    bool ended_ = false;
    bool failed_ = false;
    bool lineCut_ = false;   // a NUL ended the current line's text; skipping to its LF
    bool bigEndian_ = false; // a UTF-16 file whose mark is FE FF
    bool hasOddByte_ = false;
    char oddByte_ = 0;    // the first byte of a UTF-16 unit cut by a chunk boundary
    std::string head_;    // a Unicode file's first bytes until its mark is known
    std::string pending_; // the current line's raw bytes taken from earlier chunks
    std::string swapped_; // a big-endian chunk turned little-endian, so one scan serves both
    std::uint64_t expectedBytes_ = 0;
    std::uint64_t fedBytes_ = 0;
    bool reserved_ = false;
};

} // namespace sevrane
