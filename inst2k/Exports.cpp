#include "inst2k/Exports.h"

#include <new>

#include "inst2k/FindExistDevice.h"
#include "inst2k/IInst2kSystem.h"
#include "inst2k/Inst2kState.h"
#include "inst2k/InstallDriver.h"
#include "inst2k/RegistryInf.h"
#include "platform/Inst2kApi.h"

namespace inst2k {

namespace {

// Records why the call ended without its answer (no box: showing one may
// need the memory that just ran out) and returns the code.
std::uint32_t Failed() noexcept {
  const std::uint32_t code = CodeOfCurrentException();
  ModuleState().LastErrorCode = code;
  LibSys().SetLastError(code);
  return code;
}

}  // namespace

std::uint32_t CodeOfCurrentException() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return kErrorNotEnoughMemory;
  } catch (...) {
    return kErrorInternalError;
  }
}

void ExportSetDebugMode(std::int32_t on) noexcept { SetDebugMode(on); }
void ExportShowErrorCode(std::int32_t on) noexcept { ShowErrorCode(on); }
void ExportEnableRootID(std::int32_t on) noexcept { EnableRootID(on); }
std::uint32_t ExportLastInstallErrorCode() noexcept { return LastInstallErrorCode(); }

void ExportRefreshHW() noexcept {
  try {
    RefreshHW();
  } catch (...) {
    Failed();
  }
}

bool ExportFuncFindExistDevice(const char* hardwareId, char* hardwareIdOut, char* instanceIdOut) noexcept {
  try {
    return FuncFindExistDevice(hardwareId, hardwareIdOut, instanceIdOut);
  } catch (...) {
    Failed();
    return false;
  }
}

std::uint32_t ExportInst2k_IsInlineDeviceExist(THandle owner, const char* hardwareId, const char* infPath,
                                               std::uint32_t flags) noexcept {
  try {
    return Inst2k_IsInlineDeviceExist(owner, hardwareId, infPath, flags);
  } catch (...) {
    return Failed();
  }
}

std::int32_t ExportFuncInst2K(const char* infPath, const char* hardwareId, const char* port, THandle owner) noexcept {
  try {
    return FuncInst2K(infPath, hardwareId, port, owner);
  } catch (...) {
    Failed();
    return kInstallFailed;
  }
}

bool ExportInst2k_RegistryInf(const char* infPath, const char* sourceLocation, char* nameOut,
                              std::uint32_t nameSize) noexcept {
  try {
    return Inst2k_RegistryInf(infPath, sourceLocation, nameOut, nameSize);
  } catch (...) {
    Failed();
    return false;
  }
}

}  // namespace inst2k
