#include "app/run_inputs_win.h"

#include "platform/handles_win.h"
#include "platform/trace_win.h"
#include "platform/wide_win.h"

#include <shellapi.h>

namespace sevrane {

std::optional<std::vector<std::u16string>> SplitCommandLine() {
    int count = 0;
    const UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!argv) {
        // The split cannot fail for a command line the system built; if it does, end like
        // every other failure.
        TraceLastFailure(L"CommandLineToArgvW");
        return std::nullopt;
    }
    std::vector<std::u16string> arguments;
    arguments.reserve(count > 1 ? static_cast<std::size_t>(count - 1) : 0);
    for (int i = 1; i < count; ++i) {
        arguments.push_back(FromWide(argv.get()[i]));
    }
    return arguments;
}

RECT ReadWorkArea() {
    // The primary screen in the units the program measures in.
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT workArea{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
        // Without task bars the work area is the primary screen.
        return screen;
    }
    // The work area may come in physical pixels when a scaled screen meets a program that is
    // not aware of scaling: kept within the screen, the window cannot be placed partly off it.
    RECT within{};
    if (!::IntersectRect(&within, &workArea, &screen)) {
        return screen;
    }
    return within;
}

} // namespace sevrane
