#include "inst2k/InstallDriver.h"

#include <string>

#include "inst2k/IDeviceSetup.h"
#include "inst2k/IInst2kSystem.h"
#include "inst2k/Inst2kState.h"
#include "inst2k/ReportInstallError.h"
#include "platform/Inst2kApi.h"
#include "sysutil/Trace.h"

namespace inst2k {

namespace {

constexpr const char* kUpdateContext = "Update Driver For PlugAndPlay Devices";
// Debugger texts, stored in code page 936.
constexpr const char* kInstalledRestartTrace =
    "Update Driver For PlugAndPlay Devices \xC2\x93\x99"
    "C\xB0\xB2\xD1"
    "b\xB3\xC9\xB9\xA6\xA3\xAC\xD0\xE8\xD2\xAA\x86\xA2\x84\xD3Windows\xA1\xA3";
constexpr const char* kInstalledTrace =
    "Update Driver For PlugAndPlay Devices \xC2\x93\x99"
    "C\xB0\xB2\xD1"
    "b\xB3\xC9\xB9\xA6\xA1\xA3";

std::int32_t RefuseInstall(std::uint32_t code) {
  LibSys().SetLastError(code);
  ReportInstallError(kUpdateContext);
  return kInstallFailed;
}

}  // namespace

std::uint32_t Inst2k_IsInlineDeviceExist(THandle owner, const char* hardwareId, const char* infPath,
                                         std::uint32_t flags) {
  bool reboot = false;
  IInst2kSystem& sys = LibSys();
  const std::string hwid = hardwareId ? hardwareId : "", inf = infPath ? infPath : "";
  const bool ok = DevSetup().UpdateDriverForPlugAndPlayDevices(owner, hwid, inf, flags, reboot);
  const std::uint32_t code = ok ? 0 : sys.GetLastError();
  trace::Fmt(u"Inst2k_IsInlineDeviceExist %s, %s, flags %u: code 0x%.8x",
             {sys.AnsiToWide(hwid), sys.AnsiToWide(inf), flags, code});
  sys.SetLastError(code);
  return code;
}

std::int32_t FuncInst2K(const char* infPath, const char* hardwareId, const char* /*port*/, THandle owner) {
  TModuleState& st = ModuleState();
  IInst2kSystem& sys = LibSys();
  st.OwnerWindow = owner;
  if (st.DebugMode) sys.MessageBox(st.OwnerWindow, "Inst2K()<<<<<<", "debug", mb::Ok);

  const std::string inf = infPath ? infPath : "";
  const std::uint32_t attributes = inf.empty() ? kInvalidFileAttributes : sys.GetFileAttributes(inf);
  trace::Fmt(u"FuncInst2K %s, %s", {sys.AnsiToWide(inf), sys.AnsiToWide(hardwareId ? hardwareId : "")});
  if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory)) {
    trace::Error(u"FuncInst2K: the INF file is missing");
    // The caller learns why through LastInstallErrorCode.
    st.LastErrorCode = kErrorFileNotFound;
    sys.SetLastError(kErrorFileNotFound);
    if (st.ShowErrorBox) sys.MessageBox(st.OwnerWindow, inf, LoadLibString(kIdsErrorCaption), mb::Ok | mb::IconWarning);
    return kInstallFailed;
  }
  st.RootIDEnabled = 0;

  // The system takes both texts into fixed buffers of 260 characters: refuse
  // what would not fit instead of cutting it.
  const std::string hwid = hardwareId ? hardwareId : "";
  if (hwid.size() >= kMaxPathChars) return RefuseInstall(kErrorInvalidParameter);
  std::string fullInf;
  if (!sys.GetFullPathName(inf, fullInf)) return RefuseInstall(sys.GetLastError());
  if (fullInf.size() >= kMaxPathChars) return RefuseInstall(kErrorFilenameExcedRange);

  sys.OutputDebugString(hwid);
  sys.OutputDebugString(fullInf);
  bool reboot = false;
  if (!DevSetup().UpdateDriverForPlugAndPlayDevices(st.OwnerWindow, hwid, fullInf, kInstallFlagForce, reboot)) {
    const std::uint32_t err = sys.GetLastError();
    sys.OutputDebugString("Update Driver For PlugAndPlay Devices fail !!!");
    sys.SetLastError(err);
    if (err == kErrorNoAssociatedService) return kNoAssociatedService;
    ReportInstallError(kUpdateContext);
    return kInstallFailed;
  }
  trace::Fmt(u"UpdateDriverForPlugAndPlayDevices: installed, restart needed %d", {int(reboot)});
  if (reboot) {
    sys.OutputDebugString(kInstalledRestartTrace);
    return kInstalledRestart;
  }
  sys.OutputDebugString(kInstalledTrace);
  return kInstalled;
}

}  // namespace inst2k
