#include "app/icon_file.h"
#include "app/icon_value.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace sevrane {
namespace {

using Outcome = std::variant<IconSpec, IconValueError>;

struct Case {
    std::u16string value;
    Outcome expected;
};

constexpr IconValueError kParameter = IconValueError::InvalidParameter;
constexpr IconValueError kIndex = IconValueError::InvalidIndex;

TEST(IconValue, SplitsFileAndIndexOrNamesTheError) {
    const std::vector<Case> cases = {
        {u"app.ico", IconSpec{u"app.ico", 0}},
        {u"C:\\my-icons\\app.ico", IconSpec{u"C:\\my-icons\\app.ico", 0}},
        {u" -x \t", IconSpec{u" -x \t", 0}},
        {u"", IconSpec{u"", 0}},
        {u"shell.dll,4", IconSpec{u"shell.dll", 4}},
        {u"shell.dll, 4", IconSpec{u"shell.dll", 4}},
        {u"shell.dll,  4", kIndex},
        {u"shell.dll,\t4", kIndex},
        {u"shell.dll,-5", IconSpec{u"shell.dll", -5}},
        {u"shell.dll, -5", IconSpec{u"shell.dll", -5}},
        {u"shell.dll,-", IconSpec{u"shell.dll", 0}},
        {u"shell.dll,007", IconSpec{u"shell.dll", 7}},
        {u"shell.dll, ", IconSpec{u"shell.dll", 0}},
        {u"shell.dll,-1", kIndex},
        {u"shell.dll,-0001", kIndex},
        {u"shell.dll,-0", IconSpec{u"shell.dll", 0}},
        {u"shell.dll,5-", kIndex},
        {u"shell.dll,--5", kIndex},
        {u"shell.dll,+5", kIndex},
        {u"shell.dll,5 ", kIndex},
        {u"shell.dll,x", kIndex},
        {u"shell.dll,\uFF14", kIndex},
        {u"C:\\my-icons\\lib.dll,-3", IconSpec{u"C:\\my-icons\\lib.dll", -3}},
        {u"shell.dll,99999999999", IconSpec{u"shell.dll", INT_MAX}},
        {u"shell.dll,2147483647", IconSpec{u"shell.dll", INT_MAX}},
        {u"shell.dll,2147483648", IconSpec{u"shell.dll", INT_MAX}},
        {u"shell.dll,-2147483648", IconSpec{u"shell.dll", INT_MIN}},
        {u"shell.dll,-99999999999", IconSpec{u"shell.dll", INT_MIN}},
        {u"shell.dll,-2147483647", IconSpec{u"shell.dll", -2147483647}},
        {u",4", kParameter},
        {u",", kParameter},
        {u"shell.dll,", kParameter},
        {u"a,b,c", kParameter},
        {u"a,1,", kParameter},
        {u"a, ,", kParameter},
        {u" ,4", IconSpec{u" ", 4}},
        {u"\xD800,\xDC00", kIndex},
        {u"\xD800,3", IconSpec{u"\xD800", 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseIconValue(c.value), c.expected) << test::Shown(c.value);
    }
}

TEST(IconValue, LongIndexTextsSaturateAndLeadingZerosDoNot) {
    EXPECT_EQ(ParseIconValue(u"f," + std::u16string(32000, u'9')),
              Outcome(IconSpec{u"f", INT_MAX}));
    EXPECT_EQ(ParseIconValue(u"f,-" + std::u16string(32000, u'0') + u"12"),
              Outcome(IconSpec{u"f", -12}));
    EXPECT_EQ(ParseIconValue(u"f,-" + std::u16string(32000, u'0') + u"1"), Outcome(kIndex));
}

// An icon file of the given entries, each an (image size, image offset) pair, padded to size.
std::string IconBytes(std::uint16_t count,
                      std::vector<std::pair<std::uint32_t, std::uint32_t>> entries,
                      std::size_t size) {
    std::string bytes = {
        0, 0, 1, 0, static_cast<char>(count & 0xFF), static_cast<char>(count >> 8)};
    for (const auto& [imageSize, offset] : entries) {
        bytes.append(8, '\x20');
        for (const std::uint32_t value : {imageSize, offset}) {
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
    }
    bytes.resize(std::max(bytes.size(), size), '\0');
    return bytes;
}

TEST(IconFile, DirectoryMustNameImagesInsideTheFile) {
    const struct {
        const char* name;
        std::string head;
        IconFileCheck expected;
    } cases[] = {
        {"one image filling the file", IconBytes(1, {{40, 22}}, 62), IconFileCheck::Sound},
        {"two images", IconBytes(2, {{10, 38}, {10, 48}}, 58), IconFileCheck::Sound},
        {"image ends one byte past the end", IconBytes(1, {{41, 22}}, 62), IconFileCheck::Broken},
        {"offset near 4 GiB", IconBytes(1, {{40, 0xFFFFFFF0u}}, 62), IconFileCheck::Broken},
        {"size near 4 GiB", IconBytes(1, {{0xFFFFFFF0u, 22}}, 62), IconFileCheck::Broken},
        {"999 entries, one real", IconBytes(999, {{40, 22}}, 62), IconFileCheck::Broken},
        {"no entries", IconBytes(0, {}, 62), IconFileCheck::Broken},
        {"header cut after its type", std::string("\0\0\1\0", 4), IconFileCheck::Broken},
        {"cursor file", std::string("\0\0\2\0\1\0", 6), IconFileCheck::NotIconFile},
        {"executable", std::string("MZ\x90\0\3\0", 6), IconFileCheck::NotIconFile},
        {"text", "not an icon", IconFileCheck::NotIconFile},
        {"empty file", "", IconFileCheck::NotIconFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckIconFile(c.head, c.head.size()), c.expected);
    }
    // Only an icon file's directory is read.
    EXPECT_EQ(IconFileHeadSize(IconBytes(3, {}, 6)), 6u + 3 * 16);
    EXPECT_EQ(IconFileHeadSize(std::string("MZ\x90\0\3\0", 6)), 6u);
    EXPECT_EQ(IconFileHeadSize("x"), 1u);
    // The head may stop short of a long file: the file's size decides.
    const std::string head = IconBytes(1, {{1000, 22}}, 22);
    EXPECT_EQ(CheckIconFile(head, 1022), IconFileCheck::Sound);
    EXPECT_EQ(CheckIconFile(head, 1021), IconFileCheck::Broken);
}

} // namespace
} // namespace sevrane
