// The Unicode GUI entry point.
#include "app/run_sequence_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return sevrane::RunSequence(instance, showCommand);
}
