#include "text/escapes.h"

#include <gtest/gtest.h>

#include <string>

namespace sevrane {
namespace {

struct EscapeCase {
    std::u16string argument;
    std::u16string message;
};

class MessageEscapes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(MessageEscapes, RewriteTheArgumentInOnePassFromTheLeft) {
    std::u16string message = GetParam().argument;
    ProcessMessageEscapes(message);
    EXPECT_EQ(message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, MessageEscapes,
    ::testing::Values(EscapeCase{u"a\\nb", u"a\nb"},    // LF alone, no CR
                      EscapeCase{u"\\\\n", u"\\n"},     // the new backslash starts nothing
                      EscapeCase{u"\\\\\\n", u"\\\n"},  // three, then n
                      EscapeCase{u"\\\\\\\\", u"\\\\"}, // four become two
                      EscapeCase{u"C:\\temp\\new", u"C:\temp\new"}, // an undoubled path
                      EscapeCase{u"100%\\", u"100%\\"},             // a trailing backslash stays
                      EscapeCase{u"\\", u"\\"},
                      EscapeCase{u"\\x\\N\\T", u"\\x\\N\\T"}, // unknown and capital letters
                      EscapeCase{u"\\n\\n", u"\n\n"}, EscapeCase{u"\\t\\", u"\t\\"},
                      EscapeCase{u"a\\\\\\", u"a\\\\"}, // pair, then a trailing one
                      EscapeCase{u"\\q\\n", u"\\q\n"},  // resumes right after the pair
                      EscapeCase{u"日本\\n語", u"日本\n語"},
                      EscapeCase{u"no escapes", u"no escapes"}));

} // namespace
} // namespace sevrane
