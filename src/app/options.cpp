#include "app/options.h"

#include "app/icon_value.h"
#include "vocabulary/catalogue.h"

#include <cstddef>
#include <limits>
#include <string_view>
#include <utility>
#include <variant>

namespace sevrane {
namespace {

enum class Option {
    None,
    Escapes,
    ListFile,
    DeleteListFile,
    Icon,
    UiFont,
    Rows,
    Select,
    Tab,
    Unicode,
    Width
};

struct OptionName {
    std::u16string_view name; // as the error texts show it: always small letters
    Option option;
};

constexpr OptionName kOptionNames[] = {
    {u"/e", Option::Escapes}, {u"/f", Option::ListFile}, {u"/fd", Option::DeleteListFile},
    {u"/i", Option::Icon},    {u"/m", Option::UiFont},   {u"/r", Option::Rows},
    {u"/s", Option::Select},  {u"/t", Option::Tab},      {u"/u", Option::Unicode},
    {u"/w", Option::Width},
};

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

const OptionName* FindOption(std::u16string_view argument) {
    for (const OptionName& entry : kOptionNames) {
        if (EqualsIgnoringAsciiCase(argument, entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

// The digits-only rule of the numeric options. An empty value passes and counts as 0; a
// value beyond the 32-bit range stops at 2147483647, however many digits (leading zeros
// included) it has.
std::optional<std::int32_t> ConvertNumber(std::u16string_view value) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t number = 0;
    for (const char16_t unit : value) {
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        number = number * 10 + (unit - u'0');
        if (number > kMax) {
            number = kMax + 1; // saturated; stays put for every further digit
        }
    }
    return static_cast<std::int32_t>(number > kMax ? kMax : number);
}

bool AlreadyGiven(Option option, const Settings& settings) {
    switch (option) {
    case Option::Icon:
        return settings.icon.has_value();
    case Option::Rows:
        return settings.rowsGiven;
    case Option::Select:
        return settings.selectIndex != -1;
    case Option::Tab:
        return settings.tabGiven;
    case Option::Width:
        return settings.widthGiven;
    default:
        return false;
    }
}

MessageId MissingValueMessage(Option option) {
    switch (option) {
    case Option::Icon:
        return MessageId::MsgIconFileNotSpecified;
    case Option::Rows:
        return MessageId::MsgRowsNotSpecified;
    case Option::Select:
        return MessageId::MsgSelectNotSpecified;
    case Option::Tab:
        return MessageId::MsgTabNotSpecified;
    default:
        return MessageId::MsgWidthNotSpecified;
    }
}

// Tests the value of a numeric option against the number rule and the option's range, and
// stores it. Returns the failure, if any.
std::optional<Failure> ApplyNumber(Option option, const std::u16string& value,
                                   std::int32_t workAreaWidth, Settings& settings) {
    const std::optional<std::int32_t> number = ConvertNumber(value);
    switch (option) {
    case Option::Rows:
        if (!number || *number < 1) {
            return Failure{MessageId::MsgRowsInvalid, value};
        }
        settings.rows = *number;
        settings.rowsGiven = true;
        return std::nullopt;
    case Option::Select:
        if (!number || *number < 1) {
            return Failure{MessageId::MsgSelectInvalid, value};
        }
        settings.selectIndex = *number - 1;
        return std::nullopt;
    case Option::Tab:
        if (!number || *number < 1 || *number > 16) {
            return Failure{MessageId::MsgTabInvalid, value};
        }
        settings.tabLength = *number;
        settings.tabGiven = true;
        return std::nullopt;
    default: // Option::Width
        if (!number || *number < 200) {
            return Failure{MessageId::MsgWidthInvalid, value};
        }
        if (*number > workAreaWidth) {
            return Failure{MessageId::MsgWidthTooLarge, value};
        }
        settings.width = *number;
        settings.widthGiven = true;
        return std::nullopt;
    }
}

std::optional<Failure> ApplyIconValue(const std::u16string& value, Settings& settings) {
    const auto parsed = ParseIconValue(value);
    if (const auto* error = std::get_if<IconValueError>(&parsed)) {
        return Failure{*error == IconValueError::InvalidParameter
                           ? MessageId::MsgIconFileParameterInvalid
                           : MessageId::MsgIconIndexInvalid,
                       value};
    }
    settings.icon = std::get<IconSpec>(parsed);
    return std::nullopt;
}

// The title, the message, then every further argument an item.
void AddPositional(const std::u16string& argument, Settings& settings) {
    if (settings.title.empty()) {
        settings.title = argument;
    } else if (settings.message.empty()) {
        settings.message = argument;
    } else {
        settings.items.push_back(argument);
    }
}

// Sets an option that takes no value; false for an option with a value.
bool SetFlag(Option option, Settings& settings) {
    switch (option) {
    case Option::Escapes:
        settings.escapes = true;
        return true;
    case Option::ListFile:
        settings.listFile = true;
        return true;
    case Option::DeleteListFile:
        settings.listFile = true;
        settings.deleteListFile = true;
        return true;
    case Option::UiFont:
        settings.useUiFont = true;
        return true;
    case Option::Unicode:
        settings.unicodeListFile = true;
        return true;
    default:
        return false;
    }
}

// An option with a value: takes the next argument (moving i past it) and applies it. A repeat is
// reported even when the value is missing too.
std::optional<Failure> TakeValue(const OptionName& option,
                                 std::span<const std::u16string> arguments, std::size_t& i,
                                 std::int32_t workAreaWidth, Settings& settings) {
    if (AlreadyGiven(option.option, settings)) {
        return Failure{MessageId::MsgAlreadySpecified, std::u16string(option.name)};
    }
    if (i + 1 == arguments.size()) {
        return Failure{MissingValueMessage(option.option), {}};
    }
    // The next argument is the value whatever it holds, even empty or another option.
    const std::u16string& value = arguments[++i];
    return option.option == Option::Icon
               ? ApplyIconValue(value, settings)
               : ApplyNumber(option.option, value, workAreaWidth, settings);
}

} // namespace

ParseResult ParseArguments(std::span<const std::u16string> arguments, std::int32_t workAreaWidth) {
    ParseResult result;
    Settings& settings = result.settings;
    for (std::size_t i = 0; i < arguments.size() && !result.error; ++i) {
        const std::u16string& argument = arguments[i];
        if (argument.empty()) {
            result.error = Failure{MessageId::MsgEmptyParameter, {}};
        } else if (const OptionName* option = FindOption(argument)) {
            if (!SetFlag(option->option, settings)) {
                result.error = TakeValue(*option, arguments, i, workAreaWidth, settings);
            }
        } else if (argument.front() == u'/') {
            result.error = Failure{MessageId::MsgParameterInvalid, argument};
        } else {
            AddPositional(argument, settings);
        }
    }
    return result;
}

std::optional<Failure> CheckSettings(const Settings& settings) {
    if (settings.title.empty()) {
        return Failure{MessageId::MsgTitleNotSpecified, {}};
    }
    if (settings.message.empty()) {
        return Failure{MessageId::MsgMessageNotSpecified, {}};
    }
    // With a list file the items hold only its path here; the lines are read later and the
    // list box itself ignores a selection beyond its last line, so the number is not held
    // against anything then.
    if (!settings.listFile && settings.selectIndex >= 0 &&
        static_cast<std::size_t>(settings.selectIndex) >= settings.items.size()) {
        // Parsing keeps selectIndex at most 2147483646, so the number fits.
        return Failure{MessageId::MsgSelectTooLarge, FormatNumber(settings.selectIndex + 1)};
    }
    if (settings.listFile) {
        if (settings.items.empty()) {
            return Failure{MessageId::MsgListFileNotSpecified, {}};
        }
        if (settings.items.size() > 1) {
            return Failure{MessageId::MsgListFileParameterInvalid, {}};
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
