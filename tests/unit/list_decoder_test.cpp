#include "text/list_decoder.h"

#include "test_code_pages.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace sevrane {
namespace {

using namespace std::string_literals;
using test::DecodeInChunks;
using test::Utf16Bytes;

const std::string kUtf16Mark = "\xFF\xFE";
const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kBigEndianMark = "\xFE\xFF";

// Decodes with every chunk size from one byte to the whole input: the items must not depend on
// where the reads cut the file.
ItemList DecodeEveryWay(const std::string& bytes, ListEncoding encoding,
                        const ListConverters& converters) {
    const ItemList whole = DecodeInChunks(bytes, encoding, converters, 0);
    for (std::size_t size = 1; size <= bytes.size(); ++size) {
        EXPECT_EQ(DecodeInChunks(bytes, encoding, converters, size), whole)
            << "chunk size " << size;
    }
    return whole;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    ItemList items;
};

void PrintTo(const DecodeCase& decodeCase, std::ostream* out) { *out << decodeCase.name; }

// A test name from the case's: letters and digits, the rest as underscores.
std::string CaseName(const ::testing::TestParamInfo<DecodeCase>& info) {
    std::string name;
    for (const char c : std::string_view(info.param.name)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

class AnsiListFile : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(AnsiListFile, GivesTheItemsOfItsLinesWhereverTheReadsCutIt) {
    EXPECT_EQ(DecodeEveryWay(GetParam().bytes, ListEncoding::Ansi, test::Latin1Converters()),
              GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AnsiListFile,
    ::testing::Values(
        DecodeCase{"final LF", "a\nb\n", {u"a", u"b"}},
        DecodeCase{"no final LF", "a\nb", {u"a", u"b"}},
        DecodeCase{"empty line inside", "a\n\nb\n", {u"a", u"", u"b"}},
        DecodeCase{"empty last line", "a\n\n", {u"a", u""}}, DecodeCase{"empty file", "", {}},
        DecodeCase{"only LF", "\n", {u""}}, DecodeCase{"CR LF", "a\r\nb\r\n", {u"a", u"b"}},
        DecodeCase{"lone CR stays", "a\rb\n", {u"a\rb"}},
        DecodeCase{"CR CR LF", "a\r\r\nb", {u"a\r", u"b"}},
        DecodeCase{"CR before the end", "ab\r", {u"ab\r"}}, DecodeCase{"only CR", "\r", {u"\r"}},
        DecodeCase{"spaces, tabs, backslashes", " a\t\\n \n/x\n", {u" a\t\\n ", u"/x"}},
        DecodeCase{"UTF-8 mark kept as ANSI",
                   "\xEF\xBB\xBF"
                   "ab\n",
                   {u"\u00EF\u00BB\u00BF"
                    u"ab"}},
        DecodeCase{"Ctrl+Z ends the text",
                   "ab\x1A"
                   "cd\nef\n",
                   {u"ab"}},
        DecodeCase{"Ctrl+Z first",
                   "\x1A"
                   "ab\n",
                   {}},
        DecodeCase{"Ctrl+Z after a line", "ab\n\x1A\ncd\n", {u"ab"}},
        DecodeCase{"CR before Ctrl+Z stays", "ab\r\x1A", {u"ab\r"}},
        DecodeCase{"NUL cuts its line only", "a\0b\ncd\n"s, {u"a", u"cd"}},
        DecodeCase{"NUL first", "\0x\ny\n"s, {u"", u"y"}},
        DecodeCase{"CR before NUL stays", "ab\r\0\n"s, {u"ab\r"}},
        DecodeCase{"CR LF after NUL", "a\0b\r\nc"s, {u"a", u"c"}},
        DecodeCase{"NUL padding at the end", "x\n\0\0"s, {u"x"}},
        DecodeCase{"long NUL run before LF",
                   "a\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0b\nc\n"s,
                   {u"a", u"c"}},
        DecodeCase{"long NUL run before Ctrl+Z",
                   "a\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x1A"
                   "b\n"s,
                   {u"a"}},
        DecodeCase{"Ctrl+Z after NUL",
                   "a\0\x1A"
                   "b\nc\n"s,
                   {u"a"}}),
    CaseName);

class UnicodeListFile : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(UnicodeListFile, GivesTheItemsOfItsLinesWhereverTheReadsCutIt) {
    EXPECT_EQ(DecodeEveryWay(GetParam().bytes, ListEncoding::Unicode, test::Latin1Converters()),
              GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, UnicodeListFile,
    ::testing::Values(
        DecodeCase{"mark and CR LF", kUtf16Mark + Utf16Bytes(u"a\r\nb\r\n"), {u"a", u"b"}},
        DecodeCase{"no mark", Utf16Bytes(u"a\r\nb\r\n"), {u"a", u"b"}},
        DecodeCase{"lone CR and CR before the end",
                   kUtf16Mark + Utf16Bytes(u"a\rb\nc\r"),
                   {u"a\rb", u"c\r"}},
        DecodeCase{"only the mark", kUtf16Mark, {}}, DecodeCase{"empty file", "", {}},
        DecodeCase{
            "second mark is text", kUtf16Mark + kUtf16Mark + Utf16Bytes(u"a\n"), {u"\uFEFFa"}},
        DecodeCase{"big-endian",
                   kBigEndianMark + Utf16Bytes(u"a\r\n\nb\rc\r", true),
                   {u"a", u"", u"b\rc\r"}},
        DecodeCase{"big-endian units with LF, CR and Ctrl+Z bytes",
                   kBigEndianMark + Utf16Bytes(u"\u0A00\u0D00\r\n\u1A00\U0001F600\n", true),
                   {u"\u0A00\u0D00", u"\u1A00\U0001F600"}},
        DecodeCase{"big-endian NUL and Ctrl+Z",
                   kBigEndianMark + Utf16Bytes(u"a\0b\ncd\x1A\nx\n"s, true),
                   {u"a", u"cd"}},
        DecodeCase{
            "big-endian odd last byte", kBigEndianMark + Utf16Bytes(u"ab", true) + "c", {u"ab"}},
        DecodeCase{"odd last byte dropped", kUtf16Mark + Utf16Bytes(u"ab") + "c", {u"ab"}},
        DecodeCase{"odd byte after CR", kUtf16Mark + Utf16Bytes(u"ab\r") + "\n", {u"ab\r"}},
        DecodeCase{"a single byte is UTF-8", "a", {u"a"}},
        DecodeCase{"UTF-8 without a mark",
                   "caf\xC3\xA9\r\nna\xC3\xAFve\r\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n",
                   {u"caf\u00E9", u"na\u00EFve", u"\u65E5\u672C\u8A9E"}},
        DecodeCase{"only ASCII without a mark", "alpha\r\n\nbeta\rx", {u"alpha", u"", u"beta\rx"}},
        DecodeCase{"NUL at the very end", "alpha\r\nbeta\0"s, {u"\u6C61\u6870\u0D61\u620A\u7465a"}},
        DecodeCase{"lines stored before a NUL are read again", "\xC3\xA9\n\0"s, {u"\uA9C3"}},
        DecodeCase{"CR LF and LF ends kept for the fall back",
                   "a\r\nb\n\xFF\xFE",
                   {u"\u0D61\u620A\uFF0A"}},
        DecodeCase{
            "four-byte sequence read again", "\xF0\x9F\x98\x80\n\xFF", {u"\u9FF0\u8098\uFF0A"}},
        DecodeCase{"overlong form", "\xC1\xBF", {u"\uBFC1"}},
        DecodeCase{"encoded surrogate",
                   "\xED\xA0\x80"
                   "a",
                   {u"\uA0ED\u6180"}},
        DecodeCase{"beyond U+10FFFF", "\xF4\x90\x80\x80", {u"\u90F4\u8080"}},
        DecodeCase{"sequence cut by the end", "ab\xE6\x97", {u"\u6261\u97E6"}},
        DecodeCase{"Ctrl+Z ends UTF-8 text",
                   "ab\r\x1A"
                   "cd\xC3\xA9\n",
                   {u"ab\r"}},
        DecodeCase{"NUL after Ctrl+Z", "ab\x1A\0"s, {u"\u6261"}},
        DecodeCase{"invalid byte after Ctrl+Z", "a\x1A\xFF\n", {u"\u1A61\u0AFF"}},
        DecodeCase{"half a UTF-8 mark", "\xEF\xBB", {u"\uBBEF"}},
        DecodeCase{"Ctrl+Z ends the text",
                   kUtf16Mark + Utf16Bytes(u"ab\x1A"
                                           u"cd\nef\n"),
                   {u"ab"}},
        DecodeCase{"Ctrl+Z byte in a unit", kUtf16Mark + Utf16Bytes(u"a\u1A00b\n"), {u"a\u1A00b"}},
        DecodeCase{
            "LF byte in a unit", kUtf16Mark + Utf16Bytes(u"a\u0A0Ab\u0D0A"), {u"a\u0A0Ab\u0D0A"}},
        DecodeCase{
            "NUL cuts its line only", kUtf16Mark + Utf16Bytes(u"a\0b\ncd\n"s), {u"a", u"cd"}},
        DecodeCase{"long NUL run, LF and Ctrl+Z bytes in units",
                   kUtf16Mark + Utf16Bytes(u"a\0\0\0\0\0\0\0\0\0\u0A0A\u1A1Ab\ncd\n"s),
                   {u"a", u"cd"}},
        DecodeCase{"surrogate pair", kUtf16Mark + Utf16Bytes(u"a\U0001F600b\n"), {u"a\U0001F600b"}},
        DecodeCase{"UTF-8 mark",
                   kUtf8Mark + "a\xC3\xA9\r\nb\rc\n\xE6\x97\xA5\xF0\x9F\x98\x80",
                   {u"a\u00E9", u"b\rc", u"\u65E5\U0001F600"}},
        DecodeCase{"UTF-8 invalid bytes",
                   kUtf8Mark + "a\xFF"
                               "b\xC3\n",
                   {u"a\uFFFDb\uFFFD"}},
        DecodeCase{"UTF-8 Ctrl+Z",
                   kUtf8Mark + "ab\x1A"
                               "cd\n",
                   {u"ab"}},
        DecodeCase{"only the UTF-8 mark", kUtf8Mark, {}}),
    CaseName);

TEST(ListDecoder, DoubleByteCharacterIsConvertedWholeWhereverAReadCutsIt) {
    // 日 and 本, then ソ whose trail byte is a backslash, on a line that a 1023-byte read would cut
    // between lead and trail byte.
    const std::string line = std::string(1022, 'x') + "\x93\xFA\x96\x7B\x83\x5C";
    const std::u16string expected = std::u16string(1022, u'x') + u"日本ソ";
    const std::string bytes = line + "\r\n" + line;
    for (std::size_t size = 1; size <= bytes.size(); ++size) {
        const ItemList items =
            DecodeInChunks(bytes, ListEncoding::Ansi, test::DoubleByteConverters(), size);
        ASSERT_EQ(items, (ItemList{expected, expected})) << "chunk size " << size;
    }
}

TEST(ListDecoder, LineLongerThanEveryReadBecomesOneItem) {
    const std::string longLine(300000, 'q');
    const std::string ansi = longLine + "\r\n" + "y\r" + longLine;
    const std::string utf16 = kUtf16Mark + Utf16Bytes(std::u16string(ansi.begin(), ansi.end()));
    const ItemList expected{std::u16string(longLine.begin(), longLine.end()),
                            u"y\r" + std::u16string(longLine.begin(), longLine.end())};
    for (const std::size_t size : {1, 3, 1023, 4096, 65536, 0}) {
        EXPECT_EQ(DecodeInChunks(ansi, ListEncoding::Ansi, test::Latin1Converters(), size),
                  expected);
        EXPECT_EQ(DecodeInChunks(utf16, ListEncoding::Unicode, test::Latin1Converters(), size),
                  expected);
    }
}

TEST(ListDecoder, FailedConversionStopsTheDecoderAndIsReported) {
    ItemList items;
    ListConverters refusing{[](std::string_view bytes, std::u16string& out) {
                                if (bytes == "bad") {
                                    return false;
                                }
                                return test::Latin1ToUtf16(bytes, out);
                            },
                            test::Utf8ToUtf16};
    ListDecoder decoder(ListEncoding::Ansi, refusing, items);
    EXPECT_TRUE(decoder.Feed("ok\nba"));
    EXPECT_FALSE(decoder.Feed("d\nmore\n"));
    EXPECT_TRUE(decoder.Ended());
    EXPECT_FALSE(decoder.Finish());
    EXPECT_EQ(items, ItemList{u"ok"});
}

TEST(ListDecoder, ReservationFromTheFileSizeKeepsTheItemsAndStaysBounded) {
    // A first megabyte of empty lines, then one long line: the estimate from the start would
    // ask for a slot per byte of the file.
    const std::string bytes = std::string(std::size_t{1} << 20, '\n') + std::string(8u << 20, 'x');
    ItemList items;
    ListDecoder decoder(ListEncoding::Ansi, test::Latin1Converters(), items);
    decoder.ExpectBytes(bytes.size());
    for (std::size_t at = 0; at < bytes.size(); at += 65536) {
        ASSERT_TRUE(decoder.Feed(std::string_view(bytes).substr(at, 65536)));
    }
    ASSERT_TRUE(decoder.Finish());
    ASSERT_EQ(items.size(), (std::size_t{1} << 20) + 1);
    EXPECT_EQ(items.back().size(), std::size_t{8} << 20);
    EXPECT_LE(items.capacity(), items.size() * 2);

    // Lines of one length throughout: one reservation holds them all.
    std::string even;
    for (int i = 0; i < 200000; ++i) {
        even += "line " + std::to_string(100000 + i) + "\r\n";
    }
    ItemList evenItems;
    ListDecoder evenDecoder(ListEncoding::Ansi, test::Latin1Converters(), evenItems);
    evenDecoder.ExpectBytes(even.size());
    for (std::size_t at = 0; at < even.size(); at += 65536) {
        ASSERT_TRUE(evenDecoder.Feed(std::string_view(even).substr(at, 65536)));
    }
    ASSERT_TRUE(evenDecoder.Finish());
    EXPECT_EQ(evenItems, DecodeInChunks(even, ListEncoding::Ansi, test::Latin1Converters(), 0));
    EXPECT_LE(evenItems.capacity(), evenItems.size() * 5 / 4 + 16);
}

TEST(ListDecoder, InvalidUtf8AfterManyReadsStillMakesAFileWithoutMarkUtf16) {
    std::string bytes;
    while (bytes.size() < 65536) {
        bytes += "caf\xC3\xA9 line\r\n";
    }
    const ItemList utf8 = DecodeInChunks(bytes, ListEncoding::Unicode, test::Latin1Converters(), 0);
    ASSERT_EQ(utf8.size(), bytes.size() / 12);
    EXPECT_EQ(utf8.back(), u"caf\u00E9 line");
    bytes += "\xFF!";
    const ItemList utf16 =
        DecodeInChunks(kUtf16Mark + bytes, ListEncoding::Unicode, test::Latin1Converters(), 0);
    for (const std::size_t size : {1, 4093, 65536, 0}) {
        EXPECT_EQ(DecodeInChunks(bytes, ListEncoding::Unicode, test::Latin1Converters(), size),
                  utf16);
    }
}

TEST(ListDecoder, BytesAfterCtrlZAreNotLookedAt) {
    ItemList items;
    ListDecoder decoder(ListEncoding::Ansi, test::Latin1Converters(), items);
    EXPECT_TRUE(decoder.Feed("a\nb\x1A"));
    EXPECT_TRUE(decoder.Ended());
    EXPECT_TRUE(decoder.Feed("c\n"));
    EXPECT_TRUE(decoder.Finish());
    EXPECT_EQ(items, (ItemList{u"a", u"b"}));
}

} // namespace
} // namespace sevrane
