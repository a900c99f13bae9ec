// The 64-bit install host: loads the 64-bit device-install library and runs
// one call of it, in detection mode (result into the exchange file) or in
// install mode (result as a window message to the installer).
#pragma once

#include <cstdint>
#include <vector>

#include "inst2k/PrnSetup64Args.h"
#include "sysutil/Text.h"

namespace inst2k {

// Longest ANSI texts handed to the library: 259 bytes in install mode (the
// library's fixed buffers), 1023 in detection mode.
inline constexpr size_t kInstallTextBytes = 259;
inline constexpr size_t kDetectionTextBytes = 1023;
inline constexpr std::uint32_t kErrorModNotFound = 126;

void RunDetectionMode(const TPrnSetup64Args& args);
void RunInstallMode(const TPrnSetup64Args& args);

// Parses the arguments after the program name and runs the mode they select.
// The exit code is 0 in every case.
int PrnSetup64Main(const std::vector<TString>& args);

}  // namespace inst2k
