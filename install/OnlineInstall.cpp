// Plug and Play installation of a model: in this process on 32-bit Windows,
// through the 64-bit host on 64-bit Windows; and the INF registration.
#include <cstring>

#include "install/InstallFunc.h"
#include "platform/IModules.h"
#include "platform/IProcess.h"
#include "platform/ISystem.h"
#include "platform/Inst2kApi.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Paths.h"
#include "sysutil/Trace.h"

namespace {

constexpr std::uint32_t kOemInfBufferBytes = 256;

}  // namespace

bool InstallSpecPrinter2k(THandle window, std::uint32_t& errorCode, const TString& infPath,
                          const TString& /*offlineHwidPrefix*/, const TString& hardwareId, const TString& inst2kDll,
                          TString& port) {
  TModule library;
  LoadInst2k(library, inst2kDll);
  auto install = library.Get<inst2k::TFuncInst2K>("FuncInst2K");
  if (!install) throw Exception(u"DllFileError");

  TString deviceHwid;
  FindExistDevice(inst2kDll, hardwareId, deviceHwid, port, true);
  if (port.empty()) port = u"LPT1:";

  std::string inf, hwid;
  const bool exactInf = text::ExactAnsi(infPath, inf), exactId = text::ExactAnsi(hardwareId, hwid);
  const std::string ansiPort = text::ToAnsi(port);
  if (!exactInf || !exactId) {
    errorCode = kErrorNoUnicodeTranslation;
    return false;
  }
  std::int32_t r = install(inf.c_str(), hwid.c_str(), ansiPort.c_str(), reinterpret_cast<inst2k::TOwnerWindow>(window));
  errorCode = GetLastInstallErrorCode(library.Handle());
  // -1: the system did not update the device (UpdateDriverForPlugAndPlayDevices
  // failed with ERROR_NO_ASSOCIATED_SERVICE, which the library does not
  // record): a failure with that code, as in the host.
  if (r == inst2k::kNoAssociatedService) errorCode = kErrorNoAssociatedService;
  trace::Fmt(u"FuncInst2K %s on %s: result %d", {hardwareId, port, int(r)});
  trace::Call(u"LastInstallErrorCode", errorCode, Sys().SysErrorMessage(errorCode));
  return r == inst2k::kInstalled || r == inst2k::kInstalledRestart;
}

void InstallSpecPrinter64(THandle window, const TString& hostExe, const TString& infPath,
                          const TString& /*offlineHwidPrefix*/, const TString& hardwareId, const TString& inst2k64Dll,
                          const TString& inst2kDll, THandle& process, TString& port) {
  if (!IsWow64()) return;
  TString deviceHwid;
  FindExistDevice(inst2kDll, hardwareId, deviceHwid, port, true);
  if (port.empty()) port = u"LPT1:";
  const TString cmd = HostCommandLine(hostExe, static_cast<std::int32_t>(window), inst2k64Dll, infPath, hardwareId,
                                      Sys().GetCurrentDirectory());
  trace::Msg(u"Online install through the host: " + cmd);
  TOwnedProcess host;
  if (!host.Start(HostStartup(cmd, hostExe))) throw HostNotStarted(hostExe);
  // The caller owns the process from here; the thread is not needed.
  process = host.Process.Release();
}

bool CopyOemInf(const TString& inst2kDll, const TString& infPath, TString& oemInfPath) {
  std::string inf, dir;
  const bool exactInf = text::ExactAnsi(infPath, inf), exactDir = text::ExactAnsi(paths::ExtractFilePath(infPath), dir);
  char buffer[kOemInfBufferBytes] = {};
  oemInfPath.clear();
  TModule library;
  LoadInst2k(library, inst2kDll);
  // A library without the registration registers nothing.
  auto registerInf = library.Get<inst2k::TInst2k_RegistryInf>("Inst2k_RegistryInf");
  if (!registerInf || !exactInf || !exactDir) return false;
  Sys().SetLastError(0);
  if (!registerInf(inf.c_str(), dir.c_str(), buffer, kOemInfBufferBytes)) {
    const std::uint32_t err = Sys().GetLastError();
    trace::Call(u"Inst2k_RegistryInf " + infPath, err, Sys().SysErrorMessage(err));
    return false;
  }
  oemInfPath = Sys().AnsiToWide(std::string(buffer, strnlen(buffer, sizeof(buffer))));
  trace::Msg(u"Inst2k_RegistryInf " + infPath + u": registered as " + oemInfPath);
  return true;
}
