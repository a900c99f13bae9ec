// Message box buttons, icons and answers, with the values the Windows
// message box takes and gives. One table for the installer, the library and
// the host.
#pragma once

#include <cstdint>

namespace mb {
inline constexpr std::uint32_t Ok = 0x0, OkCancel = 0x1, YesNoCancel = 0x3, YesNo = 0x4;
inline constexpr std::uint32_t IconError = 0x10, IconQuestion = 0x20, IconWarning = 0x30, IconInformation = 0x40;
inline constexpr int IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7;
}  // namespace mb
