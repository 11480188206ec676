#include "window/message_text.h"

#include <algorithm>
#include <vector>

namespace sevrane {

namespace {

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

bool EndsLine(char16_t unit) { return unit == u'\r' || unit == u'\n'; }

// Characters a line may break before and after, as between ideographs: the CJK scripts and their
// punctuation, kana, Hangul and the full-width forms.
bool IsIdeographic(char16_t unit) {
    return (unit >= 0x2E80 && unit <= 0x31FF) ||
           (unit >= 0x3400 && unit <= 0x4DBF) || (unit >= 0x4E00 && unit <= 0x9FFF) ||
           (unit >= 0xAC00 && unit <= 0xD7AF) || (unit >= 0xF900 && unit <= 0xFAFF) ||
           (unit >= 0xFF01 && unit <= 0xFF60);
}

// No line starts with closing punctuation or a small kana, and none ends with an opening
// bracket (the Japanese rule that Unicode's line breaking also follows).
constexpr std::u16string_view kNoLineStart =
    u"、。，．・：；？！ー」』）〕］｝〉》】〙〗ゝゞヽヾ々ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
    u",.:;!?)]}%";
constexpr std::u16string_view kNoLineEnd = u"「『（〔［｛〈《【〘〖([{";

// Units that belong to the character before them: combining marks, joiners, variation
// selectors and the second half of a surrogate pair.
bool JoinsBefore(char16_t unit) {
    return (unit >= 0x0300 && unit <= 0x036F) || (unit >= 0x1AB0 && unit <= 0x1AFF) ||
           (unit >= 0x1DC0 && unit <= 0x1DFF) || (unit >= 0x20D0 && unit <= 0x20FF) ||
           unit == 0x200C || unit == 0x200D || unit == 0x3099 || unit == 0x309A ||
           (unit >= 0xFE00 && unit <= 0xFE0F) || (unit >= 0xFE20 && unit <= 0xFE2F) ||
           (unit >= 0xDC00 && unit <= 0xDFFF);
}

// The end of a line's ink: the blanks before a break hang past the edge unmeasured.
std::size_t InkEnd(std::u16string_view text, std::size_t start, std::size_t end) {
    while (end > start && IsBlank(text[end - 1])) {
        --end;
    }
    return end;
}

class Breaker {
public:
    Breaker(std::u16string_view text, std::int32_t width, const LineWidth& lineWidth)
        : text_(text), width_(width), lineWidth_(lineWidth) {}

    // One line of the message, without its line end, broken into lines that fit.
    void BreakLine(std::size_t start, std::size_t end, std::u16string& out) {
        places_.clear();
        for (std::size_t at = start + 1; at < end; ++at) {
            if (BreaksBetween(text_[at - 1], text_[at])) {
                places_.push_back(at);
            }
        }
        std::size_t next = 0; // the first place after start
        while (next < places_.size() && !Fits(start, end)) {
            const std::size_t at = places_[FarthestFit(start, next)];
            out.append(text_.substr(start, at - start));
            out.push_back(u'\n');
            start = at;
            next = static_cast<std::size_t>(
                std::upper_bound(places_.begin(), places_.end(), at) - places_.begin());
        }
        out.append(text_.substr(start, end - start));
    }

private:
    bool Fits(std::size_t start, std::size_t end) const {
        const std::size_t ink = InkEnd(text_, start, end);
        return ink - start <= kMaximumMeasuredLine &&
               lineWidth_(text_.substr(start, ink - start)) <= width_;
    }

    // The farthest place from next on whose line fits, found by doubling then halving (a line
    // measures no narrower for being longer); next itself when none fits: a first word too wide
    // for any line keeps a line to itself.
    std::size_t FarthestFit(std::size_t start, std::size_t next) const {
        std::size_t low = next; // the farthest place known to fit, or next
        if (!Fits(start, places_[next])) {
            return next;
        }
        std::size_t high = next + 1; // not known to fit
        for (std::size_t step = 1; high < places_.size() && Fits(start, places_[high]);
             step *= 2) {
            low = high;
            high = low + step;
        }
        high = std::min(high, places_.size());
        while (high - low > 1) {
            const std::size_t middle = low + (high - low) / 2;
            (Fits(start, places_[middle]) ? low : high) = middle;
        }
        return low;
    }

    std::u16string_view text_;
    std::int32_t width_;
    const LineWidth& lineWidth_;
    std::vector<std::size_t> places_; // where the line being broken may break
};

} // namespace

bool BreaksBetween(char16_t before, char16_t after) {
    if (IsBlank(after) || JoinsBefore(after)) {
        return false; // a run of blanks stays with the line it ends
    }
    if (IsBlank(before)) {
        return true;
    }
    return (IsIdeographic(before) || IsIdeographic(after)) &&
           kNoLineStart.find(after) == std::u16string_view::npos &&
           kNoLineEnd.find(before) == std::u16string_view::npos;
}

std::u16string BreakLines(std::u16string_view message, std::int32_t width,
                          const LineWidth& lineWidth) {
    std::u16string broken;
    broken.reserve(message.size() + message.size() / 16);
    Breaker breaker(message, width, lineWidth);
    std::size_t start = 0;
    for (std::size_t at = 0; at <= message.size(); ++at) {
        if (at == message.size() || EndsLine(message[at])) {
            breaker.BreakLine(start, at, broken);
            if (at < message.size()) {
                broken.push_back(message[at]);
            }
            start = at + 1;
        }
    }
    return broken;
}

std::int32_t WidestLine(std::u16string_view text, std::int32_t width, const LineWidth& lineWidth) {
    std::int32_t widest = 0;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || EndsLine(text[at])) {
            const std::size_t ink = InkEnd(text, start, at);
            widest = std::max(widest, ink - start > kMaximumMeasuredLine
                                          ? width
                                          : lineWidth(text.substr(start, ink - start)));
            start = at + 1;
        }
    }
    return widest;
}

MessageDrawing DrawingFor(std::u16string_view message, std::int32_t width,
                          const LineWidth& lineWidth) {
    if (message.find(u'\t') == std::u16string_view::npos) {
        return {std::u16string(message), false};
    }
    return {BreakLines(message, width, lineWidth), true};
}

} // namespace sevrane
