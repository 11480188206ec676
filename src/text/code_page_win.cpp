#include "text/code_page_win.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace sevrane {

namespace {

// MultiByteToWideChar takes an int length: a longer line is converted in pieces that end on a
// character boundary of the code page.
constexpr std::size_t kConvertPieceLimit = std::size_t{1} << 30;

std::size_t CharacterBoundary(UINT codePage, std::string_view bytes, std::size_t limit) {
    if (codePage == CP_UTF8 || (codePage == CP_ACP && ::GetACP() == CP_UTF8)) {
        // Back off over continuation bytes to the start of the character.
        std::size_t end = limit;
        while (end > limit - 4 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
            --end;
        }
        return end;
    }
    // A trail byte can look like a lead byte, so walk from a known boundary.
    std::size_t end = 0;
    while (true) {
        const std::size_t width =
            ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[end])) ? 2 : 1;
        if (end + width > limit) {
            return end;
        }
        end += width;
    }
}

bool AppendConverted(UINT codePage, std::string_view bytes, std::u16string& out) {
    while (!bytes.empty()) {
        std::size_t piece = bytes.size();
        if (piece > kConvertPieceLimit) {
            piece = CharacterBoundary(codePage, bytes, kConvertPieceLimit);
        }
        const int length = static_cast<int>(piece);
        // Flags 0: bytes that are not valid in the code page get the platform's replacement.
        const int units = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
        if (units <= 0) {
            return false;
        }
        const std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(units));
        auto* target = reinterpret_cast<wchar_t*>(out.data() + old);
        if (::MultiByteToWideChar(codePage, 0, bytes.data(), length, target, units) != units) {
            return false;
        }
        bytes.remove_prefix(piece);
    }
    return true;
}

// Converts a line with one call straight behind the text already in out (the items' shared
// buffer), which is quicker than asking for the size first. No code page gives more UTF-16
// units than bytes; should one, the two-call path above takes over, as it does for lines too
// long for one call.
class LineConverter {
public:
    explicit LineConverter(UINT codePage) : codePage_(codePage) {}

    bool operator()(std::string_view bytes, std::u16string& out) const {
        if (bytes.size() > kConvertPieceLimit) {
            return AppendConverted(codePage_, bytes, out);
        }
        const std::size_t old = out.size();
        out.resize(old + bytes.size());
        const int length = static_cast<int>(bytes.size());
        const int units =
            ::MultiByteToWideChar(codePage_, 0, bytes.data(), length,
                                  reinterpret_cast<wchar_t*>(out.data() + old), length);
        if (units <= 0) {
            out.resize(old);
            return AppendConverted(codePage_, bytes, out);
        }
        out.resize(old + static_cast<std::size_t>(units));
        return true;
    }

private:
    UINT codePage_;
};

} // namespace

ListConverters PlatformConverters() {
    return ListConverters{LineConverter(CP_ACP), LineConverter(CP_UTF8)};
}

} // namespace sevrane
