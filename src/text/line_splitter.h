// The line rule of a list file, as the C runtime's text mode reads it, over code units of Width
// bytes (1: bytes of an ANSI or UTF-8 text; 2: UTF-16LE): an LF ends a line and a CR right before
// it is dropped, a lone CR stays; a NUL ends its line's text and the rest of that line is
// skipped, so lines are never merged; a Ctrl+Z ends the text. After the last LF the text is a
// line only when it is not empty, a CR there staying. The units come in pieces cut anywhere
// between units; only the line being read is held.
#pragma once

#include "text/word_scan.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace sevrane {

template <std::size_t Width>
class LineSplitter {
public:
    struct Line {
        std::string_view text; // its units
        bool crLf = false;     // it ended in CR LF (the CR dropped)
    };

    // Gives onLine(line) each line that ends in units, its text valid only during the call;
    // onLine returns false to stop. Returns the units not taken: none, or those from a Ctrl+Z
    // on, which ends the text.
    template <class OnLine>
    std::string_view Split(std::string_view units, OnLine&& onLine) {
        const char* start = units.data();
        const char* const end = start + units.size();
        for (const char* p = FindControl(start, end); p != end; p = FindControl(p + Width, end)) {
            const std::uint16_t unit = UnitAt(p);
            if (unit == kLf) {
                const bool goOn = onLine(EndLine(start, p));
                Clear();
                start = p + Width;
                if (!goOn) {
                    return {};
                }
                continue;
            }
            Hold(start, p);
            start = p;
            if (unit == kCtrlZ) {
                ended_ = true;
                return std::string_view(p, static_cast<std::size_t>(end - p));
            }
            cut_ = true; // a NUL
        }
        Hold(start, end);
        return {};
    }

    // Ends the text; gives the text after the last LF when that is a line.
    std::optional<std::string> Last() {
        ended_ = true;
        if (pending_.empty()) {
            return std::nullopt;
        }
        return std::exchange(pending_, std::string());
    }

    bool Ended() const { return ended_; }

    // The units of the unfinished line, all of them while no NUL cut it.
    std::string_view Held() const { return pending_; }

private:
    static constexpr std::uint16_t kNul = 0x00;
    static constexpr std::uint16_t kLf = 0x0A;
    static constexpr std::uint16_t kCr = 0x0D;
    static constexpr std::uint16_t kCtrlZ = 0x1A; // the text mode's end of file
    // A line buffer that grew past this is given back rather than kept for the next line.
    static constexpr std::size_t kKeptCapacity = std::size_t{1} << 20;

    static std::uint16_t UnitAt(const char* p) {
        const auto low = static_cast<unsigned char>(p[0]);
        if constexpr (Width == 1) {
            return low;
        } else {
            return static_cast<std::uint16_t>(low | (static_cast<unsigned char>(p[1]) << 8));
        }
    }

    // The first unit at or after p that is an LF, a Ctrl+Z or (unless the line is cut already)
    // a NUL; end when there is none.
    const char* FindControl(const char* p, const char* end) const {
        for (; p != end; p += Width) {
            if constexpr (std::endian::native == std::endian::little) {
                // Most text holds no control unit: pass over it a word at a time. After a NUL
                // only LF and Ctrl+Z count, so a run of NULs (a sparse file's hole) passes as fast.
                while (end - p >= 8 && !HoldsUnitBelow<Width>(LoadWord(p), kCtrlZ + 1)) {
                    p += 8;
                }
                while (cut_ && end - p >= 8 && !HoldsUnit<Width>(LoadWord(p), kLf) &&
                       !HoldsUnit<Width>(LoadWord(p), kCtrlZ)) {
                    p += 8;
                }
                if (p == end) {
                    break;
                }
            }
            const std::uint16_t unit = UnitAt(p);
            if (unit == kLf || unit == kCtrlZ || (unit == kNul && !cut_)) {
                return p;
            }
        }
        return end;
    }

    Line EndLine(const char* begin, const char* lf) {
        if (cut_) {
            // The text ended at a NUL: nothing after it counts, not even a CR before the LF.
            return Line{pending_, false};
        }
        std::string_view text(begin, static_cast<std::size_t>(lf - begin));
        if (!pending_.empty()) {
            pending_.append(text);
            text = pending_;
        }
        // The CR of CR LF can only be the last unit before the LF.
        const bool crLf = !text.empty() && UnitAt(text.data() + text.size() - Width) == kCr;
        if (crLf) {
            text.remove_suffix(Width);
        }
        return Line{text, crLf};
    }

    void Hold(const char* begin, const char* end) {
        if (!cut_) {
            pending_.append(begin, end);
        }
    }

    void Clear() {
        cut_ = false;
        if (pending_.capacity() > kKeptCapacity) {
            std::string().swap(pending_);
        } else {
            pending_.clear();
        }
    }

    std::string pending_; // the line's units taken from earlier pieces
    bool cut_ = false;    // a NUL ended the line's text; skipping to its LF
    bool ended_ = false;
};

} // namespace sevrane
