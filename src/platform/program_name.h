// The caption of every box, the window class name and the prefix of every trace line.
#pragma once

namespace sevrane {

inline constexpr char16_t kProgramName[] = u"sevrane";

} // namespace sevrane
