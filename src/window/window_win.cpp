#include "window/window_win.h"
namespace sevrane {
int RunWindow(const WindowRequest&) { return 0; }
} // namespace sevrane
