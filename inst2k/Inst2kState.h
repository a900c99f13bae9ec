// The device-install library's module state: one set of plain variables per
// loaded instance, zero when the library is loaded.
#pragma once

#include <cstdint>

#include "platform/Port.h"

namespace inst2k {

struct TModuleState {
  THandle ModuleInstance = 0;
  std::int32_t DebugMode = 0;
  std::int32_t ShowErrorBox = 0;
  std::int32_t RootIDEnabled = 0;
  std::uint32_t LastErrorCode = 0;  // written by ReportInstallError only
  THandle OwnerWindow = 0;
};

TModuleState& ModuleState();

// Library load (process or thread attach): keeps the module handle.
void OnLibraryAttach(THandle module);

void SetDebugMode(std::int32_t on);
void ShowErrorCode(std::int32_t on);
void EnableRootID(std::int32_t on);
std::uint32_t LastInstallErrorCode();

}  // namespace inst2k
