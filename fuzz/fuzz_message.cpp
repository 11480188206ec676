// The lines of a message with TABs, judged by what a reader sees rather than by how they are
// found: nothing added but line breaks, each at a place a line may break, no line wider than the
// width unless it is one word, none shorter than it had to be, none made of blanks alone.
//
// Input: byte 0 the width (20 to 1040), byte 1 the tab distance (8 to 71), then one token a byte:
// its low three bits the kind, the rest its length. Widths are synthetic: 10 a letter, 30 a "W",
// 20 an ideograph, TABs to the next stop.
#include "fuzz_support.h"
#include "window/message_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using sevrane::fuzzing::Require;

constexpr std::u16string_view kIdeographs = u"漢字。「ー";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }
bool IsIdeograph(char16_t c) { return kIdeographs.find(c) != std::u16string_view::npos; }

// The places of the alphabet above, written out: after blanks before a non-blank; around an
// ideograph, but never before "。" or "ー", nor after "「".
bool MayBreak(char16_t before, char16_t after) {
    if (IsBlank(after) || IsLineEnd(before) || IsLineEnd(after)) {
        return false;
    }
    if (IsBlank(before)) {
        return true;
    }
    return (IsIdeograph(before) || IsIdeograph(after)) && after != u'。' && after != u'ー' &&
           before != u'「';
}

struct Width {
    std::int32_t line = 0;
    std::int32_t tab = 8;

    std::int32_t operator()(std::u16string_view text) const {
        Require(text.size() <= sevrane::kMaximumMeasuredLine, "a line longer than the platform measures");
        std::int32_t x = 0;
        for (const char16_t c : text) {
            x = c == u'\t' ? (x / tab + 1) * tab : x + (c == u'W' ? 30 : IsIdeograph(c) ? 20 : 10);
        }
        return x;
    }

    // A line's ink, its trailing blanks hanging past the edge, fits.
    bool Fits(std::u16string_view text) const {
        while (!text.empty() && IsBlank(text.back())) {
            text.remove_suffix(1);
        }
        return text.size() <= sevrane::kMaximumMeasuredLine && (*this)(text) <= line;
    }
};

std::u16string Message(const std::uint8_t* data, std::size_t size) {
    std::u16string message;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t length = 1 + (data[i] >> 3);
        switch (data[i] & 7) {
        case 0: message.append(length, u'a'); break;
        case 1: message.append(1 + length % 4, u' '); break;
        case 2: message.append(length, u'\t'); break;
        case 3: message.append(kIdeographs.substr(i % 5), 0, length % 5 + 1); break;
        case 4: message.append(length % 3 == 0 ? u"\r\n" : length % 3 == 1 ? u"\n" : u"\r"); break;
        case 5: message.append(100 * (1 + length % 16), u'a'); break; // past the measured line
        case 6: message.append(length, u'W'); break;
        default: message.append(u"a\tb "); break;
        }
    }
    return message;
}


} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const Width width{20 + data[0] * 4, 8 + data[1] % 64};
    const std::u16string message = Message(data + 2, size - 2);
    const std::u16string broken = sevrane::BreakLines(message, width.line, width);
    std::vector<std::size_t> added; // where line breaks were added, in the message's positions
    std::size_t i = 0;
    for (const char16_t c : broken) {
        const bool own = i < message.size() && c == message[i];
        Require(own || c == u'\n', "the breaker changed the text");
        own ? void(++i) : added.push_back(i);
    }
    Require(i == message.size(), "the breaker dropped text");

    // Each line of the result, from the message's line starts and the added breaks.
    std::size_t start = 0;
    std::size_t next = 0; // the next added break
    for (std::size_t at = 0; at <= message.size(); ++at) {
        const bool addedHere = next < added.size() && added[next] == at;
        if (addedHere) {
            Require(at > start && MayBreak(message[at - 1], message[at]),
                    "a break where no line may break");
            std::size_t further = at + 1; // the next place, or the end of the message's line
            while (further < message.size() && !IsLineEnd(message[further]) &&
                   !MayBreak(message[further - 1], message[further])) {
                ++further;
            }
            Require(!width.Fits(std::u16string_view(message).substr(start, further - start)),
                    "a line shorter than it had to be");
            const bool leading = start == 0 || IsLineEnd(message[start - 1]);
            Require(leading || message.find_first_not_of(u" \t", start) < at,
                    "a line of blanks alone");
        }
        if (addedHere || at == message.size() || IsLineEnd(message[at])) {
            const std::u16string_view line = std::u16string_view(message).substr(start, at - start);
            std::size_t k = 1; // the first place inside the line
            while (k < line.size() && !MayBreak(line[k - 1], line[k])) {
                ++k;
            }
            Require(k >= line.size() || width.Fits(line), "a line of several words passes the width");
            start = addedHere ? at : at + 1;
            next += addedHere ? 1 : 0;
        }
    }
    Require(next == added.size(), "breaks left over");
    return 0;
}
