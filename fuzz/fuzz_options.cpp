// Command lines of any shape through the option parser, the checks and the "/i" value parser.
//
// Input: byte 0 picks the language (low bit: 0 Japanese, 1 English); bytes 1-2 are the
// work-area width (little endian); the rest is UTF-16 LE code units, arguments separated by a
// 0 unit (so two 0 units in a row make an empty argument). A trailing odd byte is ignored.
#include "app/icon_value.h"
#include "app/options.h"
#include "fuzz_support.h"
#include "vocabulary/catalogue.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using namespace sevrane;

using fuzzing::Require;

bool IsPlainArgument(std::u16string_view text) { return !text.empty() && text.front() != u'/'; }

// An error text is a whole catalogue text, or any prefix followed by a text that starts with
// " - ", always in the run's language.
bool IsCatalogueText(const std::u16string& error, LanguageIndex language) {
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const std::u16string_view text = MessageText(static_cast<MessageId>(i), language);
        if (error == text || (text.starts_with(u" - ") && error.ends_with(text))) {
            return true;
        }
    }
    return false;
}

void CheckAccepted(const Settings& s, std::int32_t workAreaWidth) {
    Require(IsPlainArgument(s.title), "title");
    Require(IsPlainArgument(s.message), "message");
    Require(s.listFile ? s.items.empty() && s.listFilePath && IsPlainArgument(*s.listFilePath)
                       : !s.items.empty() && !s.listFilePath,
            "items, or one list file");
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        Require(IsPlainArgument(s.items[i]), "item");
    }
    Require(!s.unicodeListFile || s.listFile, "/u implies /f");
    Require(!s.deleteListFile || s.listFile, "/fd implies /f");
    const WindowSettings& w = s.window;
    Require(!s.selectIndex || *s.selectIndex >= 0, "selection");
    Require(s.listFile || !s.selectIndex || *s.selectIndex < std::ssize(s.items),
            "selection in list");
    Require(w.TabLength() >= 1 && w.TabLength() <= 16, "tab length");
    Require(w.tabLength || w.TabLength() == 8, "default tab length");
    Require(!w.width || (*w.width >= 200 && *w.width <= workAreaWidth), "width");
    Require(!w.rows || *w.rows >= 1, "rows");
    Require(!s.icon || s.icon->index != -1, "icon index");
}

void CheckIconValue(std::u16string_view value) {
    const auto parsed = ParseIconValue(value);
    if (const auto* spec = std::get_if<IconSpec>(&parsed)) {
        Require(spec->index != -1, "icon index -1");
        Require(value.substr(0, spec->file.size()) == spec->file, "icon file is a prefix");
        Require(spec->file.size() == value.size() || !spec->file.empty(), "icon file before comma");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const LanguageIndex language = (data[0] & 1) != 0 ? kEnglish : kJapanese;
    const std::int32_t workAreaWidth = data[1] | (data[2] << 8);

    std::vector<std::u16string> arguments(1);
    for (std::size_t i = 3; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back(unit);
        }
    }
    if (size == 3) {
        arguments.clear(); // no arguments at all
    }

    const ParseResult parsed = ParseArguments(arguments, workAreaWidth);
    std::optional<Failure> error = parsed.error;
    if (!error) {
        error = CheckSettings(parsed.settings);
        if (!error) {
            CheckAccepted(parsed.settings, workAreaWidth);
        }
    }
    if (error) {
        Require(IsCatalogueText(FailureText(*error, language), language),
                "error text ends with a catalogue text");
    }

    for (const std::u16string& argument : arguments) {
        CheckIconValue(argument);
    }
    return 0;
}
