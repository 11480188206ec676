// The text of a list file turned into items, fed in chunks of any size as the file is read.
#pragma once

#include "text/line_splitter.h"
#include "text/utf8_validator.h"
#include "vocabulary/settings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sevrane {

// Appends the UTF-16 form of bytes in a multibyte encoding to out; false when the platform
// cannot convert them. Each call receives whole lines, so a character is never cut.
using MultiByteConverter = std::function<bool(std::string_view bytes, std::u16string& out)>;

struct ListConverters {
    MultiByteConverter ansi; // the system ANSI code page: files read without "/u"
    MultiByteConverter utf8; // files read with "/u" that start with the UTF-8 mark
};

// Without "/u" the bytes are ANSI text. With it a mark says what the file is: UTF-16LE (FF FE,
// dropped), UTF-16BE (FE FF) or UTF-8 (EF BB BF). A file without a mark is UTF-8 when it holds no
// NUL byte and is valid UTF-8 from its first byte to its last (real UTF-16 always holds NULs:
// its line ends are 0D 00 0A 00), and UTF-16LE otherwise.
enum class ListEncoding : std::uint8_t { Ansi, Unicode };

// Turns the bytes of a list file into items, one for each line of text as LineSplitter reads
// it. Holds the mark's first bytes until they show the encoding; a splitter for byte text and
// one for UTF-16 units, each with the line being read; for UTF-16, a unit cut by a read; and,
// while a Unicode file without a mark may still be UTF-8, the UTF-8 check's state, one bit a
// stored line (whether it ended in CR LF) and the bytes from a Ctrl+Z on: what reading the file
// again as UTF-16LE takes, without a copy of the file.
class ListDecoder {
public:
    ListDecoder(ListEncoding encoding, ListConverters converters, ItemList& items);

    // The next bytes of the file, cut anywhere. False once a conversion has failed.
    bool Feed(std::string_view bytes);

    // The end of the file; stores its last line. False once a conversion has failed.
    bool Finish();

    // True once the text is over (a Ctrl+Z, the end of the file) or a conversion has failed:
    // later bytes are ignored, the reader may stop.
    bool Ended() const;

    // The file's size, when known: once the first megabyte has shown how long its lines are,
    // the item list is reserved for the whole file instead of growing step by step. A
    // reservation that cannot be had is dropped; growing then throws std::bad_alloc (or
    // std::length_error) from Feed or Finish only when the items really do not fit.
    void ExpectBytes(std::uint64_t total) { expectedBytes_ = total; }

private:
    // MaybeUtf8: a Unicode file without a mark, read as UTF-8 until its bytes show otherwise.
    enum class Form : std::uint8_t { Undecided, Ansi, Utf8, Utf16, MaybeUtf8 };

    void ReadMark(std::string_view& bytes);
    void FeedForm(std::string_view bytes);
    bool StaysUtf8(std::string_view bytes, bool atEnd);
    void ReadMaybeUtf8(std::string_view bytes, bool atEnd);
    void FallBackToUtf16(std::string_view bytes);
    void FeedUtf16(std::string_view bytes);
    void SplitUtf16(std::string_view units);
    template <std::size_t Width>
    void Split(LineSplitter<Width>& lines, std::string_view& units);
    template <std::size_t Width>
    void Emit(std::string_view text);
    template <std::size_t Width>
    void EmitLast(LineSplitter<Width>& lines);
    void ReserveItems();

    ItemList& items_;
    ListConverters converters_;
    Form form_ = Form::Undecided;
    bool failed_ = false;
    std::string head_; // a Unicode file's first bytes until its mark is known
    LineSplitter<1> byteLines_;
    LineSplitter<2> unitLines_;
    bool bigEndian_ = false;      // a UTF-16 file whose mark is FE FF
    std::optional<char> oddByte_; // the first byte of a UTF-16 unit cut by a read
    std::string swapped_; // a big-endian piece turned little-endian, so one splitter serves both
    Utf8Validator utf8_;
    std::vector<bool> crLfEnds_;
    std::string fromCtrlZ_;
    std::uint64_t expectedBytes_ = 0;
    std::uint64_t fedBytes_ = 0;
    bool reserved_ = false;
};

} // namespace sevrane
