// The bodies of the library's nine exports. Nothing escapes them: an
// exception on the way (an allocation failure included) ends the call with
// the export's failure answer, the thread's last error and the library's
// LastErrorCode naming the cause, so no exception crosses into the caller.
#pragma once

#include <cstdint>

#include "platform/Port.h"

namespace inst2k {

// The system code that stands for the exception being handled: not enough
// memory for an allocation failure, an internal error for anything else.
// Only inside a catch block.
std::uint32_t CodeOfCurrentException() noexcept;

void ExportSetDebugMode(std::int32_t on) noexcept;
void ExportShowErrorCode(std::int32_t on) noexcept;
void ExportEnableRootID(std::int32_t on) noexcept;
std::uint32_t ExportLastInstallErrorCode() noexcept;
void ExportRefreshHW() noexcept;
// false on failure.
bool ExportFuncFindExistDevice(const char* hardwareId, char* hardwareIdOut, char* instanceIdOut) noexcept;
// The system's code; never 0 on failure.
std::uint32_t ExportInst2k_IsInlineDeviceExist(THandle owner, const char* hardwareId, const char* infPath,
                                               std::uint32_t flags) noexcept;
// kInstallFailed on failure.
std::int32_t ExportFuncInst2K(const char* infPath, const char* hardwareId, const char* port, THandle owner) noexcept;
// false on failure.
bool ExportInst2k_RegistryInf(const char* infPath, const char* sourceLocation, char* nameOut,
                              std::uint32_t nameSize) noexcept;

}  // namespace inst2k
