#include "text/escapes.h"
namespace sevrane {
void ProcessMessageEscapes(std::u16string&) {}
} // namespace sevrane
