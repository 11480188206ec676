// The Unicode GUI entry point. Its exit code is the user's choice, so no failure may end the
// process with a small positive code of the runtime's own.
#include "app/run_sequence_win.h"
#include "platform/phase_trace_win.h"
#include "platform/trace_win.h"

#include <csignal>
#include <cstdlib>
#include <exception>

namespace {

// std::terminate and abort() would end the process with 3, which reads as "item 3 chosen".
// Hardware faults do not come this way: they keep their system codes.
[[noreturn]] void EndWithoutChoice() {
    sevrane::TraceLine(L"the run was aborted");
    ::TerminateProcess(::GetCurrentProcess(), 0);
    std::_Exit(0);
}

void OnAbortSignal(int) { EndWithoutChoice(); }

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    sevrane::MarkPhase("entry");
    // The exe often lies in a downloads folder; the libraries that system libraries load later
    // must come from System32, never from beside the exe. Failing, the run goes on as before.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    std::set_terminate(EndWithoutChoice);
    std::signal(SIGABRT, OnAbortSignal);
    try {
        return sevrane::RunSequence(instance, showCommand);
    } catch (...) {
        // Out of memory, or any other exception: nothing was chosen.
        sevrane::TraceLine(L"an exception ended the run");
        return 0;
    }
}
