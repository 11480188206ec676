#include "app/run_sequence_win.h"

#include "app/boxes_win.h"
#include "app/icon_win.h"
#include "app/options.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"
#include "text/escapes.h"
#include "text/list_file_win.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/warning_box_win.h"
#include "window/window_win.h"

#include <shellapi.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace sevrane {

namespace {

bool IsCommand(const std::u16string& argument, const wchar_t* command) {
    return ::_wcsicmp(Wide(argument), command) == 0;
}

} // namespace

void ChooseLanguage() { SetCurrentLanguage(LanguageIndexFor(::GetUserDefaultUILanguage())); }

int RunSequence(HINSTANCE instance, int showCommand) {
    ChooseLanguage();

    int count = 0;
    const UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!argv) {
        // The split cannot fail for a command line the system built; if it does, end like
        // every other failure.
        return 0;
    }
    std::vector<std::u16string> arguments;
    arguments.reserve(count > 1 ? static_cast<std::size_t>(count - 1) : 0);
    for (int i = 1; i < count; ++i) {
        arguments.push_back(FromWide(argv.get()[i]));
    }

    // The three commands count only when they stand alone.
    if (arguments.size() == 1) {
        if (IsCommand(arguments[0], L"/?")) {
            ShowUsage(MessageText(MessageId::MsgUsage));
            return 0;
        }
        if (IsCommand(arguments[0], L"/void")) {
            return 0;
        }
        if (IsCommand(arguments[0], L"/ver")) {
            ShowVersion();
            return 0;
        }
    }

    RECT workArea{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
        // Without task bars the work area is the primary screen.
        workArea = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }

    ParseResult parsed = ParseArguments(arguments, workArea.right - workArea.left);
    if (parsed.error) {
        ShowWarning(*parsed.error);
        return 0;
    }
    Settings& settings = parsed.settings;
    if (const auto failure = CheckSettings(settings)) {
        ShowWarning(*failure);
        return 0;
    }

    if (settings.escapes) {
        ProcessMessageEscapes(settings.message);
    }

    std::u16string listFilePath;
    if (settings.listFile && !RunListFileStep(settings, listFilePath)) {
        return 0;
    }

    UniqueIcon icon;
    if (settings.icon) {
        icon = LoadOptionIcon(instance, *settings.icon);
        if (!icon) {
            return 0;
        }
    }

    WindowRequest request;
    request.instance = instance;
    request.showCommand = showCommand;
    request.settings = &settings;
    request.workArea = workArea;
    request.icon = icon.get();
    request.listFilePath = &listFilePath;
    // The window deletes its font before it returns; the icon goes after it.
    const int result = RunWindow(request);
    ReleaseIcon(icon);
    return result;
}

} // namespace sevrane
