#include "app/icon_value.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <variant>
#include <vector>

namespace sevrane {
namespace {

using Outcome = std::variant<IconSpec, IconValueError>;

struct Case {
    std::u16string value;
    Outcome expected;
};

std::string Describe(const std::u16string& text) {
    std::string out;
    for (const char16_t unit : text) {
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return out;
}

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
        EXPECT_EQ(ParseIconValue(c.value), c.expected) << Describe(c.value);
    }
}

TEST(IconValue, LongIndexTextsSaturateAndLeadingZerosDoNot) {
    EXPECT_EQ(ParseIconValue(u"f," + std::u16string(32000, u'9')),
              Outcome(IconSpec{u"f", INT_MAX}));
    EXPECT_EQ(ParseIconValue(u"f,-" + std::u16string(32000, u'0') + u"12"),
              Outcome(IconSpec{u"f", -12}));
    EXPECT_EQ(ParseIconValue(u"f,-" + std::u16string(32000, u'0') + u"1"), Outcome(kIndex));
}

} // namespace
} // namespace sevrane
