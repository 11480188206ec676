#include "text/list_file_win.h"
namespace sevrane {
bool RunListFileStep(Settings&, std::u16string&) { return false; }
bool ReadListFile(const std::u16string&, bool, ItemList&) { return false; }
} // namespace sevrane
