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

void RunDetectionMode(const TPrnSetup64Args& args);
void RunInstallMode(const TPrnSetup64Args& args);

// Parses the arguments after the program name and runs the mode they select.
// The exit code is 0 in every case. In install mode every way out sends the
// installer's window one message: an exception on the way sends the failure
// message with kErrorInternalError.
int PrnSetup64Main(const std::vector<TString>& args);

// The last resort of the host's entry point (an exception that escaped, or a
// crash): in install mode with a window, sends the failure message with
// `code` unless a message was sent already. Never throws.
void PrnSetup64LastResort(const std::vector<TString>& args, std::uint32_t code) noexcept;

}  // namespace inst2k
