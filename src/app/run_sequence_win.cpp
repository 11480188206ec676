#include "app/run_sequence_win.h"

#include "app/boxes_win.h"
#include "app/icon_win.h"
#include "app/run_inputs_win.h"
#include "app/options.h"
#include "platform/handles_win.h"
#include "platform/phase_trace_win.h"
#include "platform/trace_win.h"
#include "platform/wide_win.h"
#include "text/escapes.h"
#include "text/list_delete_win.h"
#include "text/list_file_win.h"
#include "window/window_win.h"

#include <wchar.h>

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace sevrane {

namespace {

bool IsCommand(const std::u16string& argument, const wchar_t* command) {
    return ::_wcsicmp(Wide(argument), command) == 0;
}

// "/?", "/void" and "/ver", which count only when they stand alone; false for anything else.
bool RunStandaloneCommand(const std::u16string& argument, LanguageIndex language) {
    if (IsCommand(argument, L"/?")) {
        ShowUsage(MessageText(MessageId::MsgUsage, language));
        return true;
    }
    if (IsCommand(argument, L"/void")) {
        return true;
    }
    if (IsCommand(argument, L"/ver")) {
        ShowVersion();
        return true;
    }
    return false;
}

// A task run whether the user is logged on or not, or a service, gets a window station that no
// one sees: a window or a box there would wait for ever for an answer. A check that fails
// counts as visible, so that a run someone could see is never refused.
bool WindowStationIsVisible() {
    const HWINSTA station = ::GetProcessWindowStation(); // the system's handle: never closed
    USEROBJECTFLAGS flags{};
    if (station == nullptr ||
        !::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), nullptr)) {
        return true;
    }
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

// Since Windows Vista no user sees session 0, even its visible station WinSta0 (a service that
// may interact with the desktop, a program started there on purpose). A failing call counts as
// another session, for the same reason as above.
bool RunsInSessionZero() {
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) && session == 0;
}

// Builds the window, reports what kept it from being shown, and runs it. The run sequence, not
// the window, knows the list file: the file read for "/fd" (toDelete) is deleted only once the
// window is complete, and a list that cannot be shown whole is reported as the file not read,
// the file kept for another try.
int RunListWindow(const WindowRequest& request, const std::optional<FileIdentity>& toDelete) {
    const Settings& settings = *request.settings;
    ListWindow window(request);
    switch (window.Build()) {
    case BuildStatus::Ready:
        break;
    case BuildStatus::Refused:
        ShowWarning(window.RefusalWarning(), request.language);
        return 0;
    case BuildStatus::ListNotShown:
        if (settings.listFilePath) {
            ShowWarning(Failure{MessageId::MsgFileNotOpened, *settings.listFilePath},
                        request.language);
        }
        return 0;
    case BuildStatus::Failed:
        return 0;
    }
    // Gone before the user can act, whatever the choice; a failure is not reported. A holder that
    // keeps others from deleting (a scanner, a sync client, an editor that has just saved it)
    // has mostly let go by the time the window closes: the file is tried once more then, if it
    // is still the one read.
    const bool held =
        toDelete && DeleteListFile(*settings.listFilePath, *toDelete) == ListDeletion::Held;
    const int result = window.ShowAndRun();
    if (held) {
        DeleteListFile(*settings.listFilePath, *toDelete);
    }
    return result;
}

// The phases after the command line is split, in the order their errors are found.
int RunSettings(HINSTANCE instance, int showCommand, const std::vector<std::u16string>& arguments,
                LanguageIndex language) {
    const RECT workArea = ReadWorkArea();
    ParseResult parsed = ParseArguments(arguments, workArea.right - workArea.left);
    Settings& settings = parsed.settings;
    if (!parsed.error) {
        parsed.error = CheckSettings(settings);
    }
    if (parsed.error) {
        ShowWarning(*parsed.error, language);
        return 0;
    }
    if (settings.escapes) {
        ProcessMessageEscapes(settings.message);
    }
    // Standard input is no file to delete; nor is a file the platform cannot tell apart.
    std::optional<FileIdentity> toDelete;
    if (settings.listFilePath) {
        auto read = ReadList(*settings.listFilePath, settings.unicodeListFile);
        if (const auto* failure = std::get_if<Failure>(&read)) {
            ShowWarning(*failure, language);
            return 0;
        }
        ListRead& list = std::get<ListRead>(read);
        settings.items = std::move(list.items);
        if (settings.deleteListFile) {
            toDelete = list.identity;
        }
    }
    IconLoad icon;
    if (settings.icon) {
        icon = LoadOptionIcon(instance, *settings.icon);
        if (icon.failure) {
            ShowWarning(*icon.failure, language);
            return 0;
        }
    }
    const WindowRequest request{instance, showCommand,     &settings,
                                workArea, icon.icon.get(), language};
    MarkPhase("settings");
    // The window and its font are gone when this returns; the icon, made before them, goes after.
    return RunListWindow(request, toDelete);
}

// The half of the catalogue the user's UI language asks for; chosen once, first thing in a run.
LanguageIndex ChooseLanguage() { return LanguageIndexFor(::GetUserDefaultUILanguage()); }

} // namespace

int RunSequence(HINSTANCE instance, int showCommand) {
    const LanguageIndex language = ChooseLanguage();
    // Before anything can be shown or deleted: "/?" and "/ver" would wait as well.
    if (!WindowStationIsVisible()) {
        TraceLine(L"the window station is not visible: ended with 0, nothing shown");
        return 0;
    }
    if (RunsInSessionZero()) {
        TraceLine(L"session 0 is not visible: ended with 0, nothing shown");
        return 0;
    }
    const auto arguments = SplitCommandLine();
    if (!arguments) {
        return 0;
    }
    if (arguments->size() == 1 && RunStandaloneCommand(arguments->front(), language)) {
        return 0;
    }
    return RunSettings(instance, showCommand, *arguments, language);
}

} // namespace sevrane
