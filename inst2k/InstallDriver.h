// Driver installation for present devices: the silent test of the installer's
// detection and the forced installation with its four results.
#pragma once

#include <cstdint>

#include "platform/Port.h"

namespace inst2k {

inline constexpr std::uint32_t kMaxPathChars = 260;  // hardware IDs and full INF paths stay below

// UpdateDriverForPlugAndPlayDevices with the arguments as passed: 0 when the
// driver was installed, else the system's code. Records and shows nothing.
std::uint32_t Inst2k_IsInlineDeviceExist(THandle owner, const char* hardwareId, const char* infPath,
                                         std::uint32_t flags);

// Installs the INF's driver on every present device with the hardware ID
// (forced). 0 installed, 1 installed and a restart is needed, 2 INF missing
// or installation failed, -1 ERROR_NO_ASSOCIATED_SERVICE. The port is ignored.
std::int32_t FuncInst2K(const char* infPath, const char* hardwareId, const char* port, THandle owner);

}  // namespace inst2k
