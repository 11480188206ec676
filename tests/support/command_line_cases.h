// Command lines and what each must give: its first failure, or acceptance. The unit tests run
// every row through the parser and the checks; the end-to-end tests run every row through the
// real program, in both languages. The texts themselves are pinned once, by the catalogue's
// tests.
#pragma once

#include "vocabulary/catalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sevrane::test {

struct CommandLineCase {
    std::vector<std::u16string> arguments;
    std::optional<Failure> failure; // none: accepted, the window shows
};

// The rows for a screen whose work area is workAreaWidth pixels wide (the bound of "/w").
inline std::vector<CommandLineCase> CommandLineCases(std::int32_t workAreaWidth) {
    using enum MessageId;
    const auto fail = [](MessageId id, std::u16string subject = {}) {
        return std::optional<Failure>(Failure{id, std::move(subject)});
    };
    const std::u16string workArea = FormatNumber(workAreaWidth);
    const std::u16string pastWorkArea = FormatNumber(workAreaWidth + 1);
    // Near the limit of a command line (32,767 characters with the program's path).
    const std::u16string longOption = u"/" + std::u16string(32000, u'x');
    return {
        // An empty argument, wherever it stands.
        {{u""}, fail(MsgEmptyParameter)},
        {{u"", u"M", u"a"}, fail(MsgEmptyParameter)},
        {{u"T", u"", u"a"}, fail(MsgEmptyParameter)},
        {{u"T", u"M", u"a", u""}, fail(MsgEmptyParameter)},
        {{u"/e", u"", u"/m"}, fail(MsgEmptyParameter)},
        // Anything else that begins with "/", shown exactly as typed; only the first is reported.
        {{u"/x", u"T", u"M", u"a"}, fail(MsgParameterInvalid, u"/x")},
        {{u"T", u"/"}, fail(MsgParameterInvalid, u"/")},
        // The commands count only alone.
        {{u"/?", u"T"}, fail(MsgParameterInvalid, u"/?")},
        {{u"T", u"/?"}, fail(MsgParameterInvalid, u"/?")},
        {{u"T", u"/VoId"}, fail(MsgParameterInvalid, u"/VoId")},
        {{u"/ver", u"x"}, fail(MsgParameterInvalid, u"/ver")},
        {{u"T", u"M", u"a", u"/ver"}, fail(MsgParameterInvalid, u"/ver")},
        {{u"/void", u"/ver"}, fail(MsgParameterInvalid, u"/void")},
        {{u"/r5", u"T"}, fail(MsgParameterInvalid, u"/r5")},
        {{u"/r=5"}, fail(MsgParameterInvalid, u"/r=5")},
        {{u"T", u"M", u"a", u"/fdx"}, fail(MsgParameterInvalid, u"/fdx")},
        {{u"/\u0130", u"x"}, fail(MsgParameterInvalid, u"/\u0130")},
        {{u"/\u017F", u"1"}, fail(MsgParameterInvalid, u"/\u017F")},
        {{u"/x", u"/y"}, fail(MsgParameterInvalid, u"/x")},
        {{u"/a\"b\\", u"T"}, fail(MsgParameterInvalid, u"/a\"b\\")},
        {{u"/ spaced  out \\\\"}, fail(MsgParameterInvalid, u"/ spaced  out \\\\")},
        {{u"/Grüße", u"T"}, fail(MsgParameterInvalid, u"/Grüße")},
        {{u"/ファイル", u"T"}, fail(MsgParameterInvalid, u"/ファイル")},
        {{longOption}, fail(MsgParameterInvalid, longOption)},
        // A repeat is named in small letters, even when its value is missing too.
        {{u"/r", u"3", u"/R", u"4", u"T", u"M", u"a"}, fail(MsgAlreadySpecified, u"/r")},
        {{u"/S", u"1", u"T", u"/s", u"1", u"M", u"a"}, fail(MsgAlreadySpecified, u"/s")},
        {{u"/t", u"2", u"/T", u"2"}, fail(MsgAlreadySpecified, u"/t")},
        {{u"/W", u"300", u"/W", u"300"}, fail(MsgAlreadySpecified, u"/w")},
        {{u"/i", u"a.ico", u"/I", u"b.ico"}, fail(MsgAlreadySpecified, u"/i")},
        {{u"/r", u"3", u"/r"}, fail(MsgAlreadySpecified, u"/r")},
        // A value missing at the end.
        {{u"T", u"M", u"a", u"/r"}, fail(MsgRowsNotSpecified)},
        {{u"T", u"M", u"a", u"/s"}, fail(MsgSelectNotSpecified)},
        {{u"T", u"M", u"a", u"/T"}, fail(MsgTabNotSpecified)},
        {{u"T", u"M", u"a", u"/w"}, fail(MsgWidthNotSpecified)},
        {{u"T", u"M", u"a", u"/i"}, fail(MsgIconFileNotSpecified)},
        // Values that break the number rule or the range, shown as typed; the next argument is
        // the value whatever it holds.
        {{u"/r", u"/w", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u"/w")},
        {{u"/r", u"", u"T", u"M", u"a"}, fail(MsgRowsInvalid)},
        {{u"/r", u"0", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u"0")},
        {{u"/r", u"-1", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u"-1")},
        {{u"/r", u"+3", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u"+3")},
        {{u"/r", u"3.0", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u"3.0")},
        {{u"/r", u" 3", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u" 3")},
        {{u"/r", u"\uFF13", u"T", u"M", u"a"}, fail(MsgRowsInvalid, u"\uFF13")},
        {{u"/s", u"0", u"T", u"M", u"a"}, fail(MsgSelectInvalid, u"0")},
        {{u"/s", u"", u"T", u"M", u"a"}, fail(MsgSelectInvalid)},
        {{u"/s", u"x", u"T", u"M", u"a"}, fail(MsgSelectInvalid, u"x")},
        {{u"/t", u"17", u"T", u"M", u"a"}, fail(MsgTabInvalid, u"17")},
        {{u"/t", u"0", u"T", u"M", u"a"}, fail(MsgTabInvalid, u"0")},
        {{u"/t", u"x", u"T", u"M", u"a"}, fail(MsgTabInvalid, u"x")},
        {{u"/w", u"199", u"T", u"M", u"a"}, fail(MsgWidthInvalid, u"199")},
        {{u"/w", u"", u"T", u"M", u"a"}, fail(MsgWidthInvalid)},
        {{u"/w", u"3OO", u"T", u"M", u"a"}, fail(MsgWidthInvalid, u"3OO")},
        {{u"/w", pastWorkArea, u"T", u"M", u"a"}, fail(MsgWidthTooLarge, pastWorkArea)},
        {{u"/w", u"99999999999", u"T", u"M", u"a"}, fail(MsgWidthTooLarge, u"99999999999")},
        {{u"/i", u",4", u"T", u"M", u"a"}, fail(MsgIconFileParameterInvalid, u",4")},
        {{u"/i", u"shell.dll,", u"T"}, fail(MsgIconFileParameterInvalid, u"shell.dll,")},
        {{u"/i", u"a,b,c", u"T"}, fail(MsgIconFileParameterInvalid, u"a,b,c")},
        {{u"/i", u"shell.dll,  4", u"T"}, fail(MsgIconIndexInvalid, u"shell.dll,  4")},
        {{u"/i", u"shell.dll,-1", u"T"}, fail(MsgIconIndexInvalid, u"shell.dll,-1")},
        {{u"/i", u"shell.dll,5-", u"T"}, fail(MsgIconIndexInvalid, u"shell.dll,5-")},
        {{u"/i", u"shell.dll,+5", u"T"}, fail(MsgIconIndexInvalid, u"shell.dll,+5")},
        {{u"/i", u"アイコン.dll,x", u"T"}, fail(MsgIconIndexInvalid, u"アイコン.dll,x")},
        // Parsing stops at its first error, before any check.
        {{u"T", u"/r", u"abc"}, fail(MsgRowsInvalid, u"abc")},
        {{u"/i", u",4"}, fail(MsgIconFileParameterInvalid, u",4")},
        {{u"/r", u"0", u"/x"}, fail(MsgRowsInvalid, u"0")},
        // The checks after parsing, in their fixed order.
        {{}, fail(MsgTitleNotSpecified)},
        {{u"/e", u"/m"}, fail(MsgTitleNotSpecified)},
        {{u"/u", u"/s", u"9"}, fail(MsgTitleNotSpecified)},
        {{u"Title"}, fail(MsgMessageNotSpecified)},
        {{u"タイトル"}, fail(MsgMessageNotSpecified)},
        {{u"T", u"/s", u"9"}, fail(MsgMessageNotSpecified)},
        {{u"T", u"M"}, fail(MsgListNotSpecified)},
        // The selection is held against the items before the missing list is noticed, and its
        // number is written anew (007 shows 7; past the 32-bit range, the largest number).
        {{u"/s", u"1", u"T", u"M"}, fail(MsgSelectTooLarge, u"1")},
        {{u"/s", u"3", u"T", u"M", u"a", u"b"}, fail(MsgSelectTooLarge, u"3")},
        {{u"/s", u"007", u"T", u"M", u"a", u"b"}, fail(MsgSelectTooLarge, u"7")},
        {{u"/s", u"99999999999", u"T", u"M", u"a"}, fail(MsgSelectTooLarge, u"2147483647")},
        {{u"/u", u"/s", u"2", u"T", u"M", u"a"}, fail(MsgSelectTooLarge, u"2")},
        {{u"/f", u"T", u"M"}, fail(MsgListFileNotSpecified)},
        {{u"/fd", u"T", u"M", u"a", u"b"}, fail(MsgListFileParameterInvalid)},
        {{u"/s", u"5", u"/f", u"T", u"M"}, fail(MsgListFileNotSpecified)},
        {{u"/s", u"5", u"/f", u"T", u"M", u"a", u"b"}, fail(MsgListFileParameterInvalid)},
        {{u"/u", u"T", u"M"}, fail(MsgListNotSpecified)},
        {{u"/u", u"T", u"M", u"a"}, fail(MsgUnicodeNeedsListFile)},
        // Accepted: options anywhere and in any case, values at the ends of their ranges.
        {{u"Title", u"Message", u"item"}, std::nullopt},
        {{u"/r", u"3", u"T", u"M", u"a"}, std::nullopt},
        {{u"T", u"/R", u"3", u"M", u"a"}, std::nullopt},
        {{u"T", u"M", u"a", u"/r", u"3"}, std::nullopt},
        {{u"/t", u"16", u"T", u"M", u"a"}, std::nullopt},
        {{u"/w", u"200", u"T", u"M", u"a"}, std::nullopt},
        {{u"/w", workArea, u"T", u"M", u"a"}, std::nullopt},
        {{u"/w", u"0300", u"T", u"M", u"a"}, std::nullopt},
        {{u"/s", u"2", u"T", u"M", u"a", u"b"}, std::nullopt},
        {{u"/E", u"/e", u"/M", u"/m", u"T", u"M", u"a"}, std::nullopt},
        {{u"-x", u"-y", u"-z"}, std::nullopt},
    };
}

} // namespace sevrane::test
