// Finding a device node by hardware ID (FuncFindExistDevice) and the helpers
// its rules are made of.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace inst2k {

inline constexpr std::uint32_t kInstanceIdChars = 100;  // 99 characters and the zero

// True when `wanted` equals the text that starts at some byte offset of the
// hardware-ID list (zero-separated, ended by an extra zero) and runs to the
// next zero, for offsets below list.size() - wanted.size(): any hardware ID
// of the device or any tail of one. Exact, case-sensitive comparison.
bool HardwareIdMatches(std::string_view idList, std::string_view wanted);

// The "PortName" a new "Device Parameters" key gets: "LPT1:" for instance IDs
// beginning with "LPT", the last six characters for those beginning with
// "USB", none (empty) otherwise.
std::string PortNameFor(std::string_view instanceId);

// Copies src into a caller's buffer of `size` bytes, cutting it so that the
// zero terminator fits and no double-byte character is split.
void CopyAnsiBounded(char* dest, std::uint32_t size, std::string_view src);

// Finds the first device node whose hardware IDs match (see above), skipping
// root-enumerated nodes unless EnableRootID is on; copies its first hardware
// ID and its instance ID into the caller's buffers (each at most
// kCallerIdBufferBytes, always terminated; nothing when hardwareIdOut is
// null) and makes sure every matched node has a "Device Parameters" key.
bool FuncFindExistDevice(const char* hardwareId, char* hardwareIdOut, char* instanceIdOut);

}  // namespace inst2k
