#include "app/icon_win.h"
namespace sevrane {
UniqueIcon loadIcon(HINSTANCE, const IconSpec&) { return UniqueIcon(); }
void applyIcon(HWND, HICON) {}
void releaseIcon(UniqueIcon& icon) { icon.reset(); }
} // namespace sevrane
