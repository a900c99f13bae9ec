#include "inst2k/Inst2kState.h"

namespace inst2k {

TModuleState& ModuleState() {
  static TModuleState state;
  return state;
}

void OnLibraryAttach(THandle module) { ModuleState().ModuleInstance = module; }

void SetDebugMode(std::int32_t on) { ModuleState().DebugMode = on; }
void ShowErrorCode(std::int32_t on) { ModuleState().ShowErrorBox = on; }
void EnableRootID(std::int32_t on) { ModuleState().RootIDEnabled = on; }
std::uint32_t LastInstallErrorCode() { return ModuleState().LastErrorCode; }

}  // namespace inst2k
