#include "app/options.h"

#include "app/icon_value.h"
#include "app/saturated_number.h"
#include "vocabulary/catalogue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace sevrane {
namespace {

// How an option's value is read: none, a number, or the icon's file and index.
enum class ValueKind { None, Number, Icon };

using NumberSetting = std::optional<std::int32_t>& (*)(Settings&);

// One option, everything it is: its name, what it sets, the rule its value must pass and the
// message of each way it can be wrong. A repeat of an option with a value is always
// MsgAlreadySpecified with the name.
struct OptionRow {
    std::u16string_view name; // as the texts show it: always small letters
    ValueKind value = ValueKind::None;
    void (*setFlag)(Settings&) = nullptr; // ValueKind::None
    // ValueKind::Number: where the number goes and the range it must lie in.
    NumberSetting number = nullptr;
    std::int32_t minimum = 1;
    std::int32_t maximum = std::numeric_limits<std::int32_t>::max();
    bool storedAsIndex = false; // stored less one, as a 0-based index
    // The number is also at most the work area's width; beyond it, this message.
    std::optional<MessageId> aboveWorkArea = std::nullopt;
    MessageId missing = MessageId::MsgParameterInvalid;      // no argument follows the option
    MessageId invalid = MessageId::MsgParameterInvalid;      // the value breaks the rule
    MessageId invalidIndex = MessageId::MsgParameterInvalid; // ValueKind::Icon: the index
};

constexpr OptionRow kOptions[] = {
    {.name = u"/e", .setFlag = [](Settings& s) { s.escapes = true; }},
    {.name = u"/f", .setFlag = [](Settings& s) { s.listFile = true; }},
    {.name = u"/fd", .setFlag = [](Settings& s) { s.listFile = s.deleteListFile = true; }},
    {.name = u"/i",
     .value = ValueKind::Icon,
     .missing = MessageId::MsgIconFileNotSpecified,
     .invalid = MessageId::MsgIconFileParameterInvalid,
     .invalidIndex = MessageId::MsgIconIndexInvalid},
    {.name = u"/m", .setFlag = [](Settings& s) { s.window.useUiFont = true; }},
    {.name = u"/r",
     .value = ValueKind::Number,
     .number = [](Settings& s) -> std::optional<std::int32_t>& { return s.window.rows; },
     .missing = MessageId::MsgRowsNotSpecified,
     .invalid = MessageId::MsgRowsInvalid},
    {.name = u"/s",
     .value = ValueKind::Number,
     .number = [](Settings& s) -> std::optional<std::int32_t>& { return s.selectIndex; },
     .storedAsIndex = true,
     .missing = MessageId::MsgSelectNotSpecified,
     .invalid = MessageId::MsgSelectInvalid},
    {.name = u"/t",
     .value = ValueKind::Number,
     .number = [](Settings& s) -> std::optional<std::int32_t>& { return s.window.tabLength; },
     .maximum = 16,
     .missing = MessageId::MsgTabNotSpecified,
     .invalid = MessageId::MsgTabInvalid},
    {.name = u"/u", .setFlag = [](Settings& s) { s.unicodeListFile = true; }},
    {.name = u"/w",
     .value = ValueKind::Number,
     .number = [](Settings& s) -> std::optional<std::int32_t>& { return s.window.width; },
     .minimum = 200,
     .aboveWorkArea = MessageId::MsgWidthTooLarge,
     .missing = MessageId::MsgWidthNotSpecified,
     .invalid = MessageId::MsgWidthInvalid},
};

// A row says what its kind of option needs: a flag its setter, a value its own messages.
constexpr bool IsComplete(const OptionRow& row) {
    constexpr MessageId kUnset = MessageId::MsgParameterInvalid;
    switch (row.value) {
    case ValueKind::None:
        return row.setFlag != nullptr;
    case ValueKind::Number:
        return row.number != nullptr && row.missing != kUnset && row.invalid != kUnset;
    case ValueKind::Icon:
        return row.missing != kUnset && row.invalid != kUnset && row.invalidIndex != kUnset;
    }
    return false;
}
static_assert(std::ranges::all_of(kOptions, IsComplete));

// Options fold only A to Z: a letter such as U+0130 or U+017F that some case tables map onto
// "i" or "s" must not name an option.
char16_t FoldAscii(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool EqualsIgnoringAsciiCase(std::u16string_view left, std::u16string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (FoldAscii(left[i]) != FoldAscii(right[i])) {
            return false;
        }
    }
    return true;
}

const OptionRow* FindOption(std::u16string_view argument) {
    for (const OptionRow& entry : kOptions) {
        if (EqualsIgnoringAsciiCase(argument, entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

// Tests the value of a numeric option against the number rule and the option's range, and
// stores it. Returns the failure, if any.
std::optional<Failure> ApplyNumber(const OptionRow& option, const std::u16string& value,
                                   std::int32_t workAreaWidth, Settings& settings) {
    const std::optional<std::int32_t> number = ParseSaturatedNumber(value);
    if (!number || *number < option.minimum || *number > option.maximum) {
        return Failure{option.invalid, value};
    }
    if (option.aboveWorkArea && *number > workAreaWidth) {
        return Failure{*option.aboveWorkArea, value};
    }
    option.number(settings) = option.storedAsIndex ? *number - 1 : *number;
    return std::nullopt;
}

std::optional<Failure> ApplyIconValue(const OptionRow& option, const std::u16string& value,
                                      Settings& settings) {
    const auto parsed = ParseIconValue(value);
    if (const auto* error = std::get_if<IconValueError>(&parsed)) {
        return Failure{*error == IconValueError::InvalidParameter ? option.invalid
                                                                  : option.invalidIndex,
                       value};
    }
    settings.icon = std::get<IconSpec>(parsed);
    return std::nullopt;
}

// The title, the message, then every further argument a list argument.
void AddPositional(const std::u16string& argument, Settings& settings,
                   std::vector<const std::u16string*>& listArguments) {
    if (settings.title.empty()) {
        settings.title = argument;
    } else if (settings.message.empty()) {
        settings.message = argument;
    } else {
        listArguments.push_back(&argument);
    }
}

// The list arguments are the items, or with "/f" (which may come after them) the list file's
// path when there is exactly one; none or several stay items for the checks to report.
void PlaceListArguments(const std::vector<const std::u16string*>& listArguments,
                        Settings& settings) {
    if (settings.listFile && listArguments.size() == 1) {
        settings.listFilePath = *listArguments.front();
        return;
    }
    for (const std::u16string* argument : listArguments) {
        settings.items.push_back(*argument);
    }
}

// An option with a value: takes the next argument (moving i past it) and applies it. A repeat is
// reported even when the value is missing too.
std::optional<Failure> TakeValue(const OptionRow& option, std::span<const std::u16string> arguments,
                                 std::size_t& i, std::int32_t workAreaWidth, Settings& settings) {
    const bool given = option.value == ValueKind::Icon ? settings.icon.has_value()
                                                       : option.number(settings).has_value();
    if (given) {
        return Failure{MessageId::MsgAlreadySpecified, std::u16string(option.name)};
    }
    if (i + 1 == arguments.size()) {
        return Failure{option.missing, {}};
    }
    // The next argument is the value whatever it holds, even empty or another option.
    const std::u16string& value = arguments[++i];
    return option.value == ValueKind::Icon ? ApplyIconValue(option, value, settings)
                                           : ApplyNumber(option, value, workAreaWidth, settings);
}

} // namespace

ParseResult ParseArguments(std::span<const std::u16string> arguments, std::int32_t workAreaWidth) {
    ParseResult result;
    Settings& settings = result.settings;
    std::vector<const std::u16string*> listArguments;
    for (std::size_t i = 0; i < arguments.size() && !result.error; ++i) {
        const std::u16string& argument = arguments[i];
        if (argument.empty()) {
            result.error = Failure{MessageId::MsgEmptyParameter, {}};
        } else if (const OptionRow* option = FindOption(argument)) {
            if (option->value == ValueKind::None) {
                option->setFlag(settings);
            } else {
                result.error = TakeValue(*option, arguments, i, workAreaWidth, settings);
            }
        } else if (argument.front() == u'/') {
            result.error = Failure{MessageId::MsgParameterInvalid, argument};
        } else {
            AddPositional(argument, settings, listArguments);
        }
    }
    PlaceListArguments(listArguments, settings);
    return result;
}

std::optional<Failure> CheckSettings(const Settings& settings) {
    if (settings.title.empty()) {
        return Failure{MessageId::MsgTitleNotSpecified, {}};
    }
    if (settings.message.empty()) {
        return Failure{MessageId::MsgMessageNotSpecified, {}};
    }
    // With a list file the lines are read later and the list box itself ignores a selection
    // beyond its last line, so the number is not held against anything then.
    if (!settings.listFile && settings.selectIndex &&
        static_cast<std::size_t>(*settings.selectIndex) >= settings.items.size()) {
        // Parsing keeps selectIndex at most 2147483646, so the number fits.
        return Failure{MessageId::MsgSelectTooLarge, FormatNumber(*settings.selectIndex + 1)};
    }
    if (settings.listFile) {
        if (!settings.listFilePath) {
            return Failure{settings.items.empty() ? MessageId::MsgListFileNotSpecified
                                                  : MessageId::MsgListFileParameterInvalid,
                           {}};
        }
    } else if (settings.items.empty()) {
        return Failure{MessageId::MsgListNotSpecified, {}};
    }
    if (settings.unicodeListFile && !settings.listFile) {
        return Failure{MessageId::MsgUnicodeNeedsListFile, {}};
    }
    return std::nullopt;
}

} // namespace sevrane
