#include "text/list_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace sevrane {

namespace {

constexpr std::uint16_t kNul = 0x00;
constexpr std::uint16_t kLf = 0x0A;
constexpr std::uint16_t kCr = 0x0D;
constexpr std::uint16_t kCtrlZ = 0x1A; // the text mode's end of file

// A line buffer that grew past this is given back rather than kept for the next line.
constexpr std::size_t kKeptPendingCapacity = std::size_t{1} << 20;

// The sample of the file that the reservation of the item list is estimated from.
constexpr std::uint64_t kEstimateAfterBytes = std::uint64_t{1} << 20;

// Reads eight bytes as one little-endian word.
std::uint64_t LoadWord(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof(word));
    return word;
}

// Whether any unit of the word is below Ctrl+Z + 1, that is, may be LF, NUL or Ctrl+Z; exact
// for the word as a whole (the classic test for a lane below a bound of at most half its range).
template <std::size_t Width>
bool MayHoldControl(std::uint64_t word) {
    constexpr std::uint64_t lanes = Width == 1 ? 0x0101010101010101u : 0x0001000100010001u;
    constexpr std::uint64_t high = Width == 1 ? 0x8080808080808080u : 0x8000800080008000u;
    return ((word - lanes * (kCtrlZ + 1)) & ~word & high) != 0;
}

// Whether any unit of the word equals the value; exact for the word as a whole.
template <std::size_t Width>
bool HoldsUnit(std::uint64_t word, std::uint16_t value) {
    constexpr std::uint64_t lanes = Width == 1 ? 0x0101010101010101u : 0x0001000100010001u;
    constexpr std::uint64_t high = Width == 1 ? 0x8080808080808080u : 0x8000800080008000u;
    const std::uint64_t zeroWhereEqual = word ^ (lanes * value);
    return ((zeroWhereEqual - lanes) & ~zeroWhereEqual & high) != 0;
}

// The first word at or after p that may hold an LF or a Ctrl+Z unit, or the last few bytes.
// (The C runtime's memchr is no quicker under every runtime.)
template <std::size_t Width>
const char* SkipCutText(const char* p, const char* end) {
    for (; end - p >= 8; p += 8) {
        const std::uint64_t word = LoadWord(p);
        if (HoldsUnit<Width>(word, kLf) || HoldsUnit<Width>(word, kCtrlZ)) {
            break;
        }
    }
    return p;
}

template <std::size_t Width>
std::uint16_t UnitAt(const char* p) {
    const auto low = static_cast<unsigned char>(p[0]);
    if constexpr (Width == 1) {
        return low;
    } else {
        return static_cast<std::uint16_t>(low | (static_cast<unsigned char>(p[1]) << 8));
    }
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// UTF-16 text that came from valid UTF-8 (its surrogates paired) as UTF-8 again.
void AppendUtf8(std::u16string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
}

constexpr std::string_view kUtf16Mark("\xFF\xFE", 2);
constexpr std::string_view kUtf16BigEndianMark("\xFE\xFF", 2);
constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);

} // namespace

ListDecoder::ListDecoder(ListEncoding encoding, ListConverters converters, ItemList& items)
    : items_(items), converters_(std::move(converters)) {
    if (encoding == ListEncoding::Ansi) {
        form_ = Form::Bytes;
        converter_ = &converters_.ansi;
    }
}

bool ListDecoder::Feed(std::string_view bytes) {
    if (!reserved_ && fedBytes_ >= kEstimateAfterBytes && expectedBytes_ > fedBytes_) {
        ReserveItems();
    }
    fedBytes_ += bytes.size();
    while (!Ended() && !bytes.empty()) {
        switch (form_) {
        case Form::Bytes:
            Scan<1>(bytes.data(), bytes.data() + bytes.size());
            return !failed_;
        case Form::Utf16:
            FeedUtf16(bytes);
            return !failed_;
        case Form::Undecided: {
            // The mark may arrive one byte at a time; two or three bytes decide.
            const std::size_t take = std::min(bytes.size(), kUtf8Mark.size() - head_.size());
            head_.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (StartsWith(head_, kUtf16Mark) || StartsWith(head_, kUtf16BigEndianMark)) {
                form_ = Form::Utf16;
                bigEndian_ = StartsWith(head_, kUtf16BigEndianMark);
                const std::string rest = head_.substr(kUtf16Mark.size());
                head_.clear();
                FeedUtf16(rest);
            } else if (head_ == kUtf8Mark) {
                form_ = Form::Bytes;
                converter_ = &converters_.utf8;
                head_.clear();
            } else if (head_.size() >= 2 && !StartsWith(kUtf8Mark, head_)) {
                StartWithoutMark(std::exchange(head_, std::string()));
            }
            break;
        }
        case Form::MaybeUtf8:
            if (ctrlZSeen_) {
                CheckAfterCtrlZ(bytes.data(), bytes.data() + bytes.size());
            } else {
                ScanMaybeUtf8(bytes.data(), bytes.data() + bytes.size());
            }
            return !failed_;
        }
    }
    return !failed_;
}

bool ListDecoder::Finish() {
    if (form_ == Form::Undecided && !Ended()) {
        // A file shorter than a mark has none.
        StartWithoutMark(std::exchange(head_, std::string()));
    }
    if (form_ == Form::MaybeUtf8 && utf8Missing_ != 0) {
        FallBackToUtf16(); // the last sequence is cut short
    }
    if (form_ == Form::MaybeUtf8) {
        std::vector<bool>().swap(crLineEnds_);
        std::string().swap(afterCtrlZ_);
    }
    if (!Ended()) {
        // A UTF-16 file of odd length: the runtime drops the last byte, and so do we.
        hasOddByte_ = false;
        if (form_ == Form::Utf16) {
            EndText<2>();
        } else {
            EndText<1>();
        }
        ended_ = true;
    }
    return !failed_;
}

void ListDecoder::StartWithoutMark(std::string_view bytes) {
    form_ = Form::MaybeUtf8;
    converter_ = &converters_.utf8;
    ScanMaybeUtf8(bytes.data(), bytes.data() + bytes.size());
}

// Lines are split and converted as in a file with the UTF-8 mark, while every byte is checked;
// the first NUL or invalid byte hands everything read so far to the UTF-16LE reading.
void ListDecoder::ScanMaybeUtf8(const char* begin, const char* end) {
    constexpr std::uint64_t high = 0x8080808080808080u;
    const char* start = begin; // the first byte of the current line not yet taken
    for (const char* p = begin; p != end; ++p) {
        if (utf8Missing_ == 0) {
            // Plain ASCII text, a word at a time.
            while (end - p >= 8) {
                const std::uint64_t word = LoadWord(p);
                if (MayHoldControl<1>(word) || (word & high) != 0) {
                    break;
                }
                p += 8;
            }
            if (p == end) {
                break;
            }
        }
        const auto byte = static_cast<unsigned char>(*p);
        if (utf8Missing_ != 0 || byte >= 0x80) {
            if (!TakeUtf8Byte(byte)) {
                pending_.append(start, end);
                FallBackToUtf16();
                return;
            }
        } else if (byte == kLf) {
            crLineEnds_.push_back(p != start ? p[-1] == '\r'
                                             : !pending_.empty() && pending_.back() == '\r');
            EndLine<1>(start, p);
            if (failed_) {
                return;
            }
            start = p + 1;
        } else if (byte == kNul) {
            pending_.append(start, end);
            FallBackToUtf16();
            return;
        } else if (byte == kCtrlZ) {
            // The text ends here if the file is UTF-8; the rest still decides whether it is.
            pending_.append(start, p);
            ctrlZSeen_ = true;
            afterCtrlZ_.assign(1, static_cast<char>(kCtrlZ));
            CheckAfterCtrlZ(p + 1, end);
            return;
        }
    }
    pending_.append(start, end);
}

void ListDecoder::CheckAfterCtrlZ(const char* begin, const char* end) {
    for (const char* p = begin; p != end; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte == kNul || !TakeUtf8Byte(byte)) {
            afterCtrlZ_.append(begin, end);
            FallBackToUtf16();
            return;
        }
    }
    afterCtrlZ_.append(begin, end);
}

// One byte of UTF-8 as the standard bounds it: no overlong forms, no surrogates, nothing above
// U+10FFFF; false for a byte that cannot stand where it does.
bool ListDecoder::TakeUtf8Byte(unsigned char byte) {
    if (utf8Missing_ != 0) {
        if (byte < utf8Low_ || byte > utf8High_) {
            return false;
        }
        --utf8Missing_;
        utf8Low_ = 0x80;
        utf8High_ = 0xBF;
        return true;
    }
    if (byte < 0x80) {
        return true;
    }
    if (byte < 0xC2 || byte > 0xF4) {
        return false;
    }
    utf8Missing_ = byte < 0xE0 ? 1 : byte < 0xF0 ? 2 : 3;
    utf8Low_ = byte == 0xE0 ? 0xA0 : byte == 0xF0 ? 0x90 : 0x80;
    utf8High_ = byte == 0xED ? 0x9F : byte == 0xF4 ? 0x8F : 0xBF;
    return true;
}

// The lines stored so far were valid UTF-8, so encoding them again gives their bytes exactly:
// no copy of the file is kept while it may still be UTF-8, and a UTF-16 file, whose first line
// end holds a NUL, falls back after a line or two.
void ListDecoder::FallBackToUtf16() {
    ItemList lines = std::move(items_);
    items_.clear();
    const std::vector<bool> crLineEnds = std::exchange(crLineEnds_, {});
    std::string rest = std::exchange(pending_, std::string());
    rest += std::exchange(afterCtrlZ_, std::string());
    form_ = Form::Utf16;
    converter_ = nullptr;
    ctrlZSeen_ = false;
    utf8Missing_ = 0;
    reserved_ = false;

    constexpr std::size_t kRefeedSize = 64 * 1024;
    std::string bytes;
    for (std::size_t i = 0; i < lines.size() && !Ended(); ++i) {
        AppendUtf8(lines[i], bytes);
        bytes += crLineEnds[i] ? "\r\n" : "\n";
        if (bytes.size() >= kRefeedSize) {
            FeedUtf16(bytes);
            bytes.clear();
        }
    }
    if (!Ended()) {
        bytes += rest;
        FeedUtf16(bytes);
    }
}

void ListDecoder::FeedUtf16(std::string_view bytes) {
    if (hasOddByte_ && !bytes.empty()) {
        const char unit[2] = {oddByte_, bytes.front()};
        hasOddByte_ = false;
        bytes.remove_prefix(1);
        ScanUtf16(unit, unit + 2);
    }
    if (Ended()) {
        return;
    }
    const std::size_t whole = bytes.size() & ~std::size_t{1};
    ScanUtf16(bytes.data(), bytes.data() + whole);
    if (whole != bytes.size() && !Ended()) {
        hasOddByte_ = true;
        oddByte_ = bytes.back();
    }
}

void ListDecoder::ScanUtf16(const char* begin, const char* end) {
    if (!bigEndian_) {
        Scan<2>(begin, end);
        return;
    }
    // Swapping the whole chunk first keeps the scan's word-at-a-time loop as it is for
    // little-endian text, and the line bytes it keeps are then little-endian too.
    swapped_.resize(static_cast<std::size_t>(end - begin));
    for (std::size_t i = 0; i < swapped_.size(); i += 2) {
        swapped_[i] = begin[i + 1];
        swapped_[i + 1] = begin[i];
    }
    Scan<2>(swapped_.data(), swapped_.data() + swapped_.size());
}

void ListDecoder::ReserveItems() {
    // Lines seen so far, scaled to the whole file with a margin, but never more than a slot
    // for every eight bytes: a misleading start costs at most four times the file's size.
    reserved_ = true;
    const double perByte = static_cast<double>(items_.size()) / static_cast<double>(fedBytes_);
    const double estimate = perByte * static_cast<double>(expectedBytes_) * 1.125 + 16;
    const double limit = static_cast<double>(expectedBytes_) / 8 + 16;
    const double slots = std::min(estimate, limit);
    // No byte gives more than one UTF-16 unit and every line loses its LF to its NUL, so the
    // text of the whole file fits into its size in units (half that for UTF-16): one
    // allocation, never a doubling that holds the old and the new buffer at once.
    const std::uint64_t units = (form_ == Form::Utf16 ? expectedBytes_ / 2 : expectedBytes_) + 1;
    if (slots > static_cast<double>(items_.capacity()) &&
        slots < static_cast<double>(items_.max_size())) {
        try {
            items_.reserve(static_cast<std::size_t>(slots), static_cast<std::size_t>(units));
        } catch (const std::bad_alloc&) {
            // Only an estimate from the file's size: the items may still fit as they grow.
        } catch (const std::length_error&) {
        }
    }
}

template <std::size_t Width>
void ListDecoder::Scan(const char* begin, const char* end) {
    const char* start = begin; // the first byte of the current line not yet taken
    for (const char* p = begin; p != end; p += Width) {
        if constexpr (std::endian::native == std::endian::little) {
            // Most text holds no control unit at all: pass over it a word at a time.
            while (end - p >= 8 && !MayHoldControl<Width>(LoadWord(p))) {
                p += 8;
            }
            // After a NUL only LF and Ctrl+Z count: a run of NULs (a sparse file's hole, say)
            // passes as fast as text.
            if (lineCut_) {
                p = SkipCutText<Width>(p, end);
            }
            if (p == end) {
                break;
            }
        }
        const std::uint16_t unit = UnitAt<Width>(p);
        if (unit > kCtrlZ) {
            continue;
        }
        if (unit == kLf) {
            EndLine<Width>(start, p);
            if (failed_) {
                return;
            }
            start = p + Width;
        } else if (unit == kNul) {
            if (!lineCut_) {
                pending_.append(start, p);
                lineCut_ = true;
            }
        } else if (unit == kCtrlZ) {
            if (!lineCut_) {
                pending_.append(start, p);
            }
            EndText<Width>();
            ended_ = true;
            return;
        }
    }
    if (!lineCut_) {
        pending_.append(start, end);
    }
}

template <std::size_t Width>
void ListDecoder::EndLine(const char* begin, const char* end) {
    std::string_view text;
    if (lineCut_) {
        // The text ended at a NUL: nothing after it counts, not even a CR before the LF.
        text = pending_;
    } else {
        if (pending_.empty()) {
            text = std::string_view(begin, static_cast<std::size_t>(end - begin));
        } else {
            pending_.append(begin, end);
            text = pending_;
        }
        // CR LF is read as LF; the CR can only be the last unit before the LF.
        if (!text.empty() && UnitAt<Width>(text.data() + text.size() - Width) == kCr) {
            text.remove_suffix(Width);
        }
    }
    Emit<Width>(text);
    ClearPending();
}

template <std::size_t Width>
void ListDecoder::EndText() {
    // The text after the last LF is an item only when it is not empty; a CR there stays.
    if (!pending_.empty()) {
        Emit<Width>(pending_);
        if (!failed_ && items_.back().empty()) {
            items_.pop_back();
        }
    }
    ClearPending();
}

template <std::size_t Width>
void ListDecoder::Emit(std::string_view text) {
    std::u16string& buffer = items_.OpenItem();
    if constexpr (Width == 1) {
        if (!text.empty() && !(*converter_)(text, buffer)) {
            items_.AbandonItem();
            failed_ = true;
            return;
        }
    } else {
        const std::size_t old = buffer.size();
        buffer.resize(old + text.size() / 2);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(buffer.data() + old, text.data(), text.size());
        } else {
            for (std::size_t i = 0; i < text.size() / 2; ++i) {
                buffer[old + i] = static_cast<char16_t>(UnitAt<2>(text.data() + 2 * i));
            }
        }
    }
    items_.CloseItem();
}

void ListDecoder::ClearPending() {
    lineCut_ = false;
    if (pending_.capacity() > kKeptPendingCapacity) {
        std::string().swap(pending_);
    } else {
        pending_.clear();
    }
}

} // namespace sevrane
