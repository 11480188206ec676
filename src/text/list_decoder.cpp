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
                // No mark: UTF-16LE from the first byte on.
                form_ = Form::Utf16;
                const std::string text = std::exchange(head_, std::string());
                FeedUtf16(text);
            }
            break;
        }
        }
    }
    return !failed_;
}

bool ListDecoder::Finish() {
    if (form_ == Form::Undecided && !Ended()) {
        // A file shorter than a mark is UTF-16LE text (its odd last byte is dropped below).
        form_ = Form::Utf16;
        const std::string text = std::exchange(head_, std::string());
        FeedUtf16(text);
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
