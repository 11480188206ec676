// The bilingual texts of the program, and how error texts are put together from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sevrane {

// The names of the catalogue's entries, in the catalogue's order.
enum class MessageId : std::uint8_t {
    MsgUsage,
    MsgParameterInvalid,
    MsgEmptyParameter,
    MsgAlreadySpecified,
    MsgListFileNotSpecified,
    MsgRowsNotSpecified,
    MsgWidthNotSpecified,
    MsgSelectNotSpecified,
    MsgTabNotSpecified,
    MsgIconFileNotSpecified,
    MsgListFileParameterInvalid,
    MsgRowsInvalid,
    MsgWidthInvalid,
    MsgSelectInvalid,
    MsgTabInvalid,
    MsgIconFileParameterInvalid,
    MsgIconIndexInvalid,
    MsgRowsTooLarge,
    MsgWidthTooLarge,
    MsgSelectTooLarge,
    MsgTitleNotSpecified,
    MsgMessageNotSpecified,
    MsgListNotSpecified,
    MsgUnicodeNeedsListFile,
    MsgFileNotFound,
    MsgFileNotOpened,
    MsgIconNotRetrieved,
    MsgMessageTooLarge,
    MsgNothingSelected,
    LabelOk,
    LabelCancel,
};

inline constexpr std::size_t kMessageCount = static_cast<std::size_t>(MessageId::LabelCancel) + 1;

// Which half of every text a run uses.
enum class LanguageIndex : std::uint8_t { Japanese, English };
inline constexpr LanguageIndex kJapanese = LanguageIndex::Japanese;
inline constexpr LanguageIndex kEnglish = LanguageIndex::English;

// The UI language identifier that selects the Japanese texts.
inline constexpr std::uint16_t kJapaneseLanguageId = 0x0411;

// Maps a UI language identifier to the half of the catalogue a run uses.
LanguageIndex LanguageIndexFor(std::uint16_t languageId);

// The text of an entry in one language.
std::u16string_view MessageText(MessageId id, LanguageIndex language);

// The prefix followed directly by the suffix entry's text (which starts with " - ").
std::u16string ComposeMessage(std::u16string_view prefix, MessageId suffix, LanguageIndex language);

// An error as the checks find it: an entry, and for the entries that begin with " - " the
// argument, value, path or number it is about, exactly as the user gave it. It becomes text only
// where it is shown, in the language of the run.
struct Failure {
    MessageId id = MessageId::MsgParameterInvalid;
    std::u16string subject;

    friend bool operator==(const Failure&, const Failure&) = default;
};

std::u16string FailureText(const Failure& failure, LanguageIndex language);

// Decimal form of any signed 32-bit number, INT32_MIN included.
std::u16string FormatNumber(std::int32_t value);

} // namespace sevrane
