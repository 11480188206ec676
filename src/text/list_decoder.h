// The text of a list file turned into items, fed in chunks of any size as the file is read.
#pragma once

#include "vocabulary/settings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Splits the decoded text at LF, as the C runtime's text mode reads it: CR LF becomes LF, a lone
// CR stays, Ctrl+Z ends the text. Every LF-terminated line is an item, empty or not; the text
// after the last LF is one only when it is not empty. A NUL ends its item's text and the rest
// of that line is dropped, so lines are never merged. Holds only the line being read (and, for a
// Unicode file without a mark until its end shows it is UTF-8, one bit a line).
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
    // MaybeUtf8: a Unicode file without a mark, read as UTF-8 until a NUL or a byte that is not
    // valid UTF-8 shows that it is UTF-16LE after all.
    enum class Form : std::uint8_t { Undecided, Bytes, Utf16, MaybeUtf8 };

    void StartWithoutMark(std::string_view bytes);
    void ScanMaybeUtf8(const char* begin, const char* end);
    void CheckAfterCtrlZ(const char* begin, const char* end);
    bool TakeUtf8Byte(unsigned char byte);
    void FallBackToUtf16();
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
    // While the form is MaybeUtf8: what a fall back to UTF-16LE needs to give the decoder the
    // bytes read so far once more. The stored lines are exactly their bytes as valid UTF-8, so
    // only whether each ended in CR LF is kept, and the raw bytes from a Ctrl+Z on, which ends
    // the text of a UTF-8 file but not the test of the whole file.
    std::vector<bool> crLineEnds_;
    std::string afterCtrlZ_;
    bool ctrlZSeen_ = false;
    std::uint8_t utf8Missing_ = 0; // continuation bytes the current sequence still needs
    unsigned char utf8Low_ = 0x80; // the range of the next continuation byte
    unsigned char utf8High_ = 0xBF;
    std::uint64_t expectedBytes_ = 0;
    std::uint64_t fedBytes_ = 0;
    bool reserved_ = false;
};

} // namespace sevrane
