#include "text/list_decoder.h"

#include "text/word_scan.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace sevrane {

namespace {

// The sample of the file that the reservation of the item list is estimated from.
constexpr std::uint64_t kEstimateAfterBytes = std::uint64_t{1} << 20;

constexpr std::string_view kUtf16Mark("\xFF\xFE", 2);
constexpr std::string_view kUtf16BigEndianMark("\xFE\xFF", 2);
constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool HoldsNul(std::string_view bytes) {
    std::size_t at = 0;
    while (bytes.size() - at >= 8 && !HoldsUnit<1>(LoadWord(bytes.data() + at), 0)) {
        at += 8;
    }
    return bytes.find('\0', at) != std::string_view::npos;
}

// UTF-16 text that came from valid UTF-8 (its surrogates paired) as UTF-8 again.
void AppendUtf8(std::u16string_view text, std::string& out) {
    constexpr unsigned char kLeads[] = {0x00, 0xC0, 0xE0, 0xF0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        const int trail = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        out += static_cast<char>(kLeads[trail] | (code >> (6 * trail)));
        for (int shift = 6 * (trail - 1); shift >= 0; shift -= 6) {
            out += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
        }
    }
}

} // namespace

ListDecoder::ListDecoder(ListEncoding encoding, ListConverters converters, ItemList& items)
    : items_(items), converters_(std::move(converters)),
      form_(encoding == ListEncoding::Ansi ? Form::Ansi : Form::Undecided) {}

bool ListDecoder::Ended() const {
    // A file without a mark is read to its end even after a Ctrl+Z: the rest decides its reading.
    return failed_ || (form_ == Form::Utf16
                           ? unitLines_.Ended()
                           : (form_ == Form::Ansi || form_ == Form::Utf8) && byteLines_.Ended());
}

bool ListDecoder::Feed(std::string_view bytes) {
    if (!reserved_ && fedBytes_ >= kEstimateAfterBytes && expectedBytes_ > fedBytes_) {
        ReserveItems();
    }
    fedBytes_ += bytes.size();
    if (form_ == Form::Undecided) {
        ReadMark(bytes);
        if (form_ != Form::Undecided) {
            FeedForm(std::exchange(head_, std::string()));
        }
    }
    if (!Ended()) {
        FeedForm(bytes);
    }
    return !failed_;
}

bool ListDecoder::Finish() {
    if (failed_) {
        return false;
    }
    if (form_ == Form::Undecided) {
        form_ = Form::MaybeUtf8; // a file shorter than a mark has none
        ReadMaybeUtf8(std::exchange(head_, std::string()), false);
    }
    if (form_ == Form::MaybeUtf8) {
        ReadMaybeUtf8({}, true);
    }
    // A UTF-16 file of odd length: the runtime drops the last byte, and so do we.
    oddByte_.reset();
    if (form_ == Form::Utf16) {
        EmitLast(unitLines_);
    } else {
        EmitLast(byteLines_);
    }
    return !failed_;
}

// Takes a Unicode file's first bytes until they show its mark or that it has none. The mark may
// arrive one byte at a time; two or three bytes decide.
void ListDecoder::ReadMark(std::string_view& bytes) {
    const std::size_t take = std::min(bytes.size(), kUtf8Mark.size() - head_.size());
    head_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (StartsWith(head_, kUtf16Mark) || StartsWith(head_, kUtf16BigEndianMark)) {
        form_ = Form::Utf16;
        bigEndian_ = StartsWith(head_, kUtf16BigEndianMark);
        head_.erase(0, kUtf16Mark.size());
    } else if (head_ == kUtf8Mark) {
        form_ = Form::Utf8;
        head_.clear();
    } else if (head_.size() >= 2 && !StartsWith(kUtf8Mark, head_)) {
        form_ = Form::MaybeUtf8;
    }
}

void ListDecoder::FeedForm(std::string_view bytes) {
    switch (form_) {
    case Form::Ansi:
    case Form::Utf8:
        Split(byteLines_, bytes);
        break;
    case Form::Utf16:
        FeedUtf16(bytes);
        break;
    case Form::MaybeUtf8:
        ReadMaybeUtf8(bytes, false);
        break;
    case Form::Undecided:
        break;
    }
}

// The reading of a Unicode file without a mark: UTF-8 while every byte is valid UTF-8 and none
// is NUL (real UTF-16 always holds NULs: its line ends are 0D 00 0A 00), up to a whole last
// character; otherwise UTF-16LE from its first byte.
bool ListDecoder::StaysUtf8(std::string_view bytes, bool atEnd) {
    return !HoldsNul(bytes) && utf8_.Take(bytes) && (!atEnd || utf8_.Complete());
}

// Lines are split and stored as in a file with the UTF-8 mark, once their bytes passed the
// check; after a Ctrl+Z the rest is only checked, and kept for a fall back.
void ListDecoder::ReadMaybeUtf8(std::string_view bytes, bool atEnd) {
    if (!StaysUtf8(bytes, atEnd)) {
        FallBackToUtf16(bytes);
    } else if (atEnd) {
        form_ = Form::Utf8;
        std::vector<bool>().swap(crLfEnds_);
        std::string().swap(fromCtrlZ_);
    } else {
        if (!byteLines_.Ended()) {
            Split(byteLines_, bytes);
        }
        if (byteLines_.Ended()) {
            fromCtrlZ_.append(bytes);
        }
    }
}

// Reads the bytes so far again as UTF-16LE, then these. The stored lines were valid UTF-8, so
// encoding them again gives their bytes exactly: no copy of the file is kept while it may still
// be UTF-8 (keeping its bytes would add half the items' memory for ASCII lines and as much again
// for kanji), and a UTF-16 file, whose first line end holds a NUL, falls back after a line or two.
void ListDecoder::FallBackToUtf16(std::string_view bytes) {
    const ItemList lines = std::exchange(items_, ItemList());
    const std::vector<bool> crLfEnds = std::exchange(crLfEnds_, {});
    const LineSplitter<1> unfinished = std::exchange(byteLines_, {});
    const std::string fromCtrlZ = std::exchange(fromCtrlZ_, {});
    form_ = Form::Utf16;
    reserved_ = false;
    constexpr std::size_t kRefeedSize = 64 * 1024;
    std::string again;
    for (std::size_t i = 0; i < lines.size() && !Ended(); ++i) {
        AppendUtf8(lines[i], again);
        again += crLfEnds[i] ? "\r\n" : "\n";
        if (again.size() >= kRefeedSize) {
            FeedUtf16(again);
            again.clear();
        }
    }
    for (const std::string_view part :
         {std::string_view(again), unfinished.Held(), std::string_view(fromCtrlZ), bytes}) {
        FeedUtf16(part);
    }
}

void ListDecoder::FeedUtf16(std::string_view bytes) {
    if (oddByte_ && !bytes.empty()) {
        const char unit[2] = {*oddByte_, bytes.front()};
        oddByte_.reset();
        bytes.remove_prefix(1);
        SplitUtf16(std::string_view(unit, 2));
    }
    const std::size_t whole = bytes.size() & ~std::size_t{1};
    SplitUtf16(bytes.substr(0, whole));
    if (whole != bytes.size() && !Ended()) {
        oddByte_ = bytes.back();
    }
}

void ListDecoder::SplitUtf16(std::string_view units) {
    if (Ended()) {
        return;
    }
    if (bigEndian_) {
        // Swapping the whole piece first keeps the splitter's word-at-a-time scan as it is for
        // little-endian text, and the line units it keeps are then little-endian too.
        swapped_.resize(units.size());
        for (std::size_t i = 0; i < units.size(); i += 2) {
            swapped_[i] = units[i + 1];
            swapped_[i + 1] = units[i];
        }
        units = swapped_;
    }
    Split(unitLines_, units);
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

// Stores the lines of the units; units is left at a Ctrl+Z that ended the text.
template <std::size_t Width>
void ListDecoder::Split(LineSplitter<Width>& lines, std::string_view& units) {
    units = lines.Split(units, [this](const typename LineSplitter<Width>::Line& line) {
        Emit<Width>(line.text);
        if constexpr (Width == 1) { // only byte text is converted, and only it may be UTF-8
            if (form_ == Form::MaybeUtf8) {
                crLfEnds_.push_back(line.crLf);
            }
        }
        return !failed_;
    });
    if (lines.Ended() && form_ != Form::MaybeUtf8) {
        EmitLast(lines); // a Ctrl+Z ended the text
    }
}

template <std::size_t Width>
void ListDecoder::Emit(std::string_view text) {
    std::u16string& buffer = items_.OpenItem();
    if constexpr (Width == 1) {
        const MultiByteConverter& convert =
            form_ == Form::Ansi ? converters_.ansi : converters_.utf8;
        if (!text.empty() && !convert(text, buffer)) {
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
                buffer[old + i] =
                    static_cast<char16_t>(static_cast<unsigned char>(text[2 * i]) |
                                          (static_cast<unsigned char>(text[2 * i + 1]) << 8));
            }
        }
    }
    items_.CloseItem();
}

template <std::size_t Width>
void ListDecoder::EmitLast(LineSplitter<Width>& lines) {
    if (failed_) {
        return;
    }
    if (const std::optional<std::string> last = lines.Last()) {
        Emit<Width>(*last);
        // Its bytes are not empty, but a conversion may give no unit for them.
        if (!failed_ && items_.back().empty()) {
            items_.pop_back();
        }
    }
}

} // namespace sevrane
