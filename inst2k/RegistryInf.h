// Registering an INF file with the system's INF store, and the hardware rescan.
#pragma once

#include <cstdint>

namespace inst2k {

inline constexpr std::uint32_t kOemNameChars = 260;

// SetupCopyOEMInf with the source location given; the destination's full name
// reaches the caller's buffer only when it is shorter than nameSize.
bool Inst2k_RegistryInf(const char* infPath, const char* sourceLocation, char* nameOut, std::uint32_t nameSize);

// Lets Plug and Play re-enumerate the device tree below its root. Silent.
void RefreshHW();

}  // namespace inst2k
