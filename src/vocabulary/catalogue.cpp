#include "vocabulary/catalogue.h"

#include <array>
#include <utility>

namespace sevrane {
namespace {

// Every line ends with LF; option lines start with one TAB that the usage box turns into an
// indent measured in the box's font.
constexpr std::u16string_view kUsageJapanese =
    u"リストウィンドウを表示します。\n"
    u"\n"
    u"sevrane [/r 行数] [/w 幅] [/s 番号] [/e] [/t 数] [/m] [/f[d]] [/i アイコンファイル] [/u] "
    u"タイトル メッセージ リスト... | ファイル\n"
    u"\t/r リストの最大行数を指定する\n"
    u"\t/w ウィンドウの最大幅を指定する（最小 200）\n"
    u"\t/s 初期選択するリスト番号を指定する\n"
    u"\t/e メッセージにエスケープ文字を使う\n"
    u"\t    \\n:CRLF \\t:TAB \\\\:\\\n"
    u"\t/t タブの文字数を指定する（1～16）\n"
    u"\t/m Windows UI フォントを使う\n"
    u"\t/f リストパラメータの代わりにファイルを使用する\n"
    u"\t    d ファイルを削除する\n"
    u"\t/i アイコンを設定する\n"
    u"\t/u Unicode のファイルを使用する\n"
    u"\n"
    u"選択されたリストの番号は終了コードで返します。\n";

constexpr std::u16string_view kUsageEnglish =
    u"Display list window.\n"
    u"\n"
    u"sevrane [/r row] [/w width] [/s number] [/e] [/t number] [/m] [/f[d]] [/i icon-file] [/u] "
    u"title message list... | file\n"
    u"\t/r Specify number of max list rows\n"
    u"\t/w Specify window maximum width (minimum 200)\n"
    u"\t/s Specify initial select list number\n"
    u"\t/e Use escape character for message\n"
    u"\t    \\n:CRLF \\t:TAB \\\\:\\\n"
    u"\t/t Specify number of tab character (1 to 16)\n"
    u"\t/m Use Windows UI font\n"
    u"\t/f Use file instead of list parameter\n"
    u"\t    d Delete file\n"
    u"\t/i Set icon\n"
    u"\t/u Use Unicode file\n"
    u"\n"
    u"Selected list number will be return with exit code.\n";

struct Entry {
    MessageId id;
    std::u16string_view japanese;
    std::u16string_view english;
};

constexpr std::array<Entry, kMessageCount> kCatalogue = {{
    {MessageId::MsgUsage, kUsageJapanese, kUsageEnglish},
    {MessageId::MsgParameterInvalid, u" - パラメータが正しくありません。",
     u" - Parameter is invalid."},
    {MessageId::MsgEmptyParameter, u"空のパラメータが指定されています。",
     u"Empty parameter is specified."},
    {MessageId::MsgAlreadySpecified, u" - パラメータはすでに指定されています。",
     u" - Parameter is already specified."},
    {MessageId::MsgListFileNotSpecified, u"リストファイルが指定されていません。",
     u"List file is not specified."},
    {MessageId::MsgRowsNotSpecified, u"行数が指定されていません。",
     u"Number of rows is not specified."},
    {MessageId::MsgWidthNotSpecified, u"ウィンドウ幅が指定されていません。",
     u"Window width is not specified."},
    {MessageId::MsgSelectNotSpecified, u"選択する番号が指定されていません。",
     u"Select number is not specified."},
    {MessageId::MsgTabNotSpecified, u"タブの文字数が指定されていません。",
     u"Number of tab character is not specified."},
    {MessageId::MsgIconFileNotSpecified, u"アイコンファイルが指定されていません。",
     u"Icon file is not specified."},
    {MessageId::MsgListFileParameterInvalid, u"リストファイルのパラメータが正しくありません。",
     u"Parameter of list file is invalid."},
    {MessageId::MsgRowsInvalid, u" - 行数の値が正しくありません。",
     u" - Value of number of rows is invalid."},
    {MessageId::MsgWidthInvalid, u" - ウィンドウ幅の値が正しくありません。",
     u" - Value of window width is invalid."},
    {MessageId::MsgSelectInvalid, u" - 選択する番号の値が正しくありません。",
     u" - Value of select number is invalid."},
    {MessageId::MsgTabInvalid, u" - タブの文字数の値が正しくありません。",
     u" - Value of number of tab character is invalid."},
    {MessageId::MsgIconFileParameterInvalid, u" - アイコンファイルのパラメータが正しくありません。",
     u" - Parameter of icon file is invalid."},
    {MessageId::MsgIconIndexInvalid, u" - アイコンファイルのインデックスが正しくありません。",
     u" - Index of icon file is invalid."},
    {MessageId::MsgRowsTooLarge, u" - 行数の値が大きすぎます。",
     u" - Value of number of rows is too large."},
    {MessageId::MsgWidthTooLarge, u" - ウィンドウ幅の値が大きすぎます。",
     u" - Value of window width is too large."},
    {MessageId::MsgSelectTooLarge, u" - 選択する番号の値が大きすぎます。",
     u" - Value of select number is too large."},
    {MessageId::MsgTitleNotSpecified, u"タイトルが指定されていません。",
     u"Title is not specified."},
    {MessageId::MsgMessageNotSpecified, u"メッセージが指定されていません。",
     u"Message is not specified."},
    {MessageId::MsgListNotSpecified, u"リストが指定されていません。", u"List is not specified."},
    {MessageId::MsgUnicodeNeedsListFile, u"/u - パラメータは /f パラメータと一緒に使います。",
     u"/u - Parameter is able to use with /f parameter."},
    {MessageId::MsgFileNotFound, u" - ファイルが見つかりませんでした。", u" - File was not found."},
    {MessageId::MsgFileNotOpened, u" - ファイルを開けませんでした。",
     u" - File was not able to open."},
    {MessageId::MsgIconNotRetrieved, u" - アイコンを取得できませんでした。",
     u" - Unable to retreave the icon."},
    {MessageId::MsgMessageTooLarge, u"メッセージのサイズが大きすぎて表示できません。",
     u"Size of message is too large to display."},
    {MessageId::MsgNothingSelected, u"何も選択されていません。", u"Nothing is selected."},
    {MessageId::LabelOk, u"OK", u"OK"},
    {MessageId::LabelCancel, u"キャンセル", u"Cancel"},
}};

// The table is indexed by the id: every entry must stand at its own id's place.
constexpr bool EveryEntryAtItsId() {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (static_cast<std::size_t>(kCatalogue[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(EveryEntryAtItsId());

} // namespace

LanguageIndex LanguageIndexFor(std::uint16_t languageId) {
    return languageId == kJapaneseLanguageId ? kJapanese : kEnglish;
}

std::u16string_view MessageText(MessageId id, LanguageIndex language) {
    const Entry& entry = kCatalogue[static_cast<std::size_t>(id)];
    return language == kJapanese ? entry.japanese : entry.english;
}

std::u16string ComposeMessage(std::u16string_view prefix, MessageId suffix,
                              LanguageIndex language) {
    const std::u16string_view text = MessageText(suffix, language);
    std::u16string composed;
    composed.reserve(prefix.size() + text.size());
    composed.append(prefix);
    composed.append(text);
    return composed;
}

std::u16string FailureText(const Failure& failure, LanguageIndex language) {
    return ComposeMessage(failure.subject, failure.id, language);
}

std::u16string FormatNumber(std::int32_t value) {
    // Work on the unsigned magnitude so that INT32_MIN needs no special case.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char16_t digits[11];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::u16string text;
    text.reserve(count + 1);
    if (value < 0) {
        text.push_back(u'-');
    }
    while (count > 0) {
        text.push_back(digits[--count]);
    }
    return text;
}

} // namespace sevrane
