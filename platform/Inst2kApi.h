// The device-install library's exported interface, as its callers see it:
// the export names, the function types to cast GetProcAddress results to, and
// the codes that travel between the library, the 64-bit host and the
// installer. Plain C types only; usable from portable code and Windows code.
#pragma once

#include <cstdint>

#include "base/SystemCodes.h"  // the codes that travel with the results

// The exports use the platform's standard calling convention (stdcall on
// 32-bit Windows) and are exported under their plain names on both builds.
#if defined(_WIN32) && !defined(_WIN64)
#define INST2K_CALL __attribute__((stdcall))
#else
#define INST2K_CALL
#endif

namespace inst2k {

using TOwnerWindow = void*;  // HWND

using TSetDebugMode = void(INST2K_CALL*)(std::int32_t on);
using TShowErrorCode = void(INST2K_CALL*)(std::int32_t on);
using TEnableRootID = void(INST2K_CALL*)(std::int32_t on);
using TLastInstallErrorCode = std::uint32_t(INST2K_CALL*)();
using TRefreshHW = void(INST2K_CALL*)();
using TFuncFindExistDevice = std::int32_t(INST2K_CALL*)(const char* hardwareId, char* hardwareIdOut,
                                                        char* instanceIdOut);
using TInst2k_IsInlineDeviceExist = std::uint32_t(INST2K_CALL*)(TOwnerWindow owner, const char* hardwareId,
                                                                const char* infPath, std::uint32_t flags);
// Also the type of the older export "Inst2K".
using TFuncInst2K = std::int32_t(INST2K_CALL*)(const char* infPath, const char* hardwareId, const char* port,
                                               TOwnerWindow owner);
using TInst2k_RegistryInf = std::int32_t(INST2K_CALL*)(const char* infPath, const char* sourceLocation, char* nameOut,
                                                       std::uint32_t nameSize);

inline constexpr const char* kExportNames[] = {
    "SetDebugMode",
    "ShowErrorCode",
    "EnableRootID",
    "LastInstallErrorCode",
    "RefreshHW",
    "FuncFindExistDevice",
    "Inst2k_IsInlineDeviceExist",
    "FuncInst2K",
    "Inst2k_RegistryInf",
};

// Results of FuncInst2K.
inline constexpr std::int32_t kInstalled = 0;
inline constexpr std::int32_t kInstalledRestart = 1;
inline constexpr std::int32_t kInstallFailed = 2;
inline constexpr std::int32_t kNoAssociatedService = -1;

// Install flags of UpdateDriverForPlugAndPlayDevices.
inline constexpr std::uint32_t kInstallFlagForce = 1;
inline constexpr std::uint32_t kInstallFlagNonInteractive = 4;

// Buffer sizes the installer passes.
inline constexpr std::uint32_t kCallerIdBufferBytes = 260;
inline constexpr std::uint32_t kCallerInfNameBytes = 256;

// Window messages of the 64-bit host (WM_USER + 2, WM_USER + 1).
inline constexpr std::uint32_t kMsgInstallSucceeded = 0x402;
inline constexpr std::uint32_t kMsgInstallFailed = 0x401;

}  // namespace inst2k
