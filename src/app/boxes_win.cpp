#include "app/boxes_win.h"

#include "app/usage.h"
#include "app/version.h"
#include "platform/handles_win.h"
#include "platform/message_font_win.h"
#include "platform/program_name.h"
#include "platform/trace_win.h"
#include "platform/wide_win.h"

#include <array>
#include <iterator>
#include <string>

namespace sevrane {

namespace {

// Width in pixels of the usage text's program name and space in the message-box font, and the
// advance of one space; N stays 0 when any measuring step fails.
std::int32_t MeasureUsageIndent(std::u16string_view usage) {
    LOGFONTW logFont{};
    if (!QueryMessageFont(logFont)) {
        return 0;
    }
    const WindowDc screen(nullptr);
    if (!screen) {
        return 0;
    }
    const UniqueFont font(::CreateFontIndirectW(&logFont));
    if (!font) {
        return 0;
    }
    const SelectionScope selection(screen.get(), font.get());
    const std::u16string measured(UsageMeasuredText(usage));
    SIZE extent{};
    if (!::GetTextExtentPoint32W(screen.get(), Wide(measured), static_cast<int>(measured.size()),
                                 &extent)) {
        return 0;
    }
    ABCFLOAT space{};
    if (!::GetCharABCWidthsFloatW(screen.get(), L' ', L' ', &space)) {
        return 0;
    }
    // Added in this order, in single precision.
    const float spaceWidth = space.abcfA + space.abcfB + space.abcfC;
    return UsageIndentCount(extent.cx, spaceWidth);
}

} // namespace

void ShowWarning(const Failure& failure, LanguageIndex language) {
    const std::u16string text = FailureText(failure, language);
    if (::MessageBoxW(nullptr, Wide(text), Wide(kProgramName), MB_OK | MB_ICONWARNING) == 0) {
        TraceLastFailure(L"MessageBoxW");
    }
}

void ShowUsage(std::u16string_view usage) {
    const std::u16string expanded = ExpandUsageTabs(usage, MeasureUsageIndent(usage));
    ::MessageBoxW(nullptr, Wide(expanded), Wide(kProgramName), MB_OK);
}

void ShowVersion() {
    // The version line is ANSI text, and so is its caption: the name is plain ASCII.
    constexpr auto caption = [] {
        std::array<char, std::size(kProgramName)> name{};
        for (std::size_t i = 0; i < name.size(); ++i) {
            name[i] = static_cast<char>(kProgramName[i]);
        }
        return name;
    }();
    ::MessageBoxA(nullptr, kVersionLine, caption.data(), MB_OK);
}

} // namespace sevrane
