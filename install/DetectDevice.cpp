// Whether the selected printer is connected, on which port, and whether a
// queue of the model already serves it; the hardware rescan.
#include <cstring>

#include "install/InstallFunc.h"
#include "platform/IFileSystem.h"
#include "platform/IModules.h"
#include "platform/IProcess.h"
#include "platform/ISystem.h"
#include "platform/IThreads.h"
#include "platform/Inst2kApi.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Convert.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Paths.h"
#include "sysutil/ProfileFile.h"
#include "sysutil/Trace.h"
#include "sysutil/UiTexts.h"

namespace {

constexpr size_t kRetChars = 255;

// The library's text: up to its terminating zero, never past the buffer.
TString FromBuffer(const char* buffer, size_t size) {
  return Sys().AnsiToWide(std::string(buffer, strnlen(buffer, size)));
}

// A queue of the model online on the found port or on a USB port.
bool ModelQueueOnline(const TString& modelName, const TString& port) {
  RefreshPrinters();
  const TStringList names = Printers();
  for (const TString& name : names) {
    TString driver, queuePort;
    GetPrinterDriverName(name, driver);
    if (!text::SameTextAscii(driver, modelName)) continue;
    GetPrinterPort(name, queuePort);
    bool online = false;
    IsPrinterOnline(name, online);
    if (online && (text::SameTextAscii(queuePort, port) || queuePort.starts_with(u"USB"))) return true;
  }
  return false;
}

}  // namespace

Exception HostNotStarted(const TString& hostExe) {
  const std::uint32_t err = Sys().GetLastError();
  trace::Call(u"The 64-bit host cannot be started: " + hostExe, err, Sys().SysErrorMessage(err));
  return Exception(text::Format(SystemUiText(TUiText::HostNotStarted),
                                {hostExe, err ? Sys().SysErrorMessage(err) : text::IntToStr(err)}));
}

void LoadInst2k(TModule& library, const TString& path) {
  if (!library.Load(path)) throw Exception(u"DllNotFound :\r\n" + path);
}

TStartup HostStartup(const TString& commandLine, const TString& hostPath) {
  TStartup s;
  s.CommandLine = commandLine;
  s.CurrentDirectory = paths::ExtractFilePath(paths::FullPath(hostPath, Sys().GetCurrentDirectory()));
  s.CreationFlags = IProcess::DetachedProcess;
  s.InheritHandles = true;
  s.Hidden = true;
  s.UseStdHandles = true;
  return s;
}

std::uint32_t ExistReqInlineSetupDevice(THandle window, const TString& inst2kDll, const TString& hostExe,
                                        const TString& inst2k64Dll, const std::string& hardwareId,
                                        const std::string& infPath, const TString& modelName, bool& found) {
  found = false;
  std::uint32_t test = 0;
  {
    TModule library;
    LoadInst2k(library, inst2kDll);
    auto isInline = library.Get<inst2k::TInst2k_IsInlineDeviceExist>("Inst2k_IsInlineDeviceExist");
    Sys().SetLastError(0);
    if (IsWow64())
      test = ExistInlineDevice64(window, Sys().AnsiToWide(hardwareId), Sys().AnsiToWide(infPath), hostExe, inst2k64Dll,
                                 inst2k::kInstallFlagNonInteractive);
    else
      // A library without the test cannot tell: the printer counts as not connected.
      test = isInline ? isInline(reinterpret_cast<inst2k::TOwnerWindow>(window), hardwareId.c_str(), infPath.c_str(),
                                 inst2k::kInstallFlagNonInteractive)
                      : kErrorProcNotFound;
  }

  trace::Call(u"Detection: test installation of " + Sys().AnsiToWide(hardwareId), test, Sys().SysErrorMessage(test));
  std::uint32_t result = test;
  switch (test) {
    case 0:
      found = true;
      return 0;
    case kErrorNoMoreItems:
      return 0;
    case kErrorFileNotFound:
    case kErrorAccessDenied:
    case kTrustNoSignature:
    case kErrorNoCatalogForOemInf:
      result = 0;
      break;
    default:
      return test;
  }
  TString deviceHwid, port;
  if (FindExistDevice(inst2kDll, Sys().AnsiToWide(hardwareId), deviceHwid, port, false) &&
      (port.starts_with(u"USB") || port.starts_with(u"LPT")) && ModelQueueOnline(modelName, port))
    result = ReqOfflineInstall;
  trace::Fmt(u"Detection: device %s on port %s, answer 0x%.8x, driver installed by the test %d",
             {deviceHwid, port, result, int(found)});
  return result;
}

std::uint32_t ExistInlineDevice64(THandle window, const TString& hardwareId, const TString& infPath,
                                  const TString& hostExe, const TString& inst2k64Dll, std::uint32_t installFlags) {
  TString temp, exchange;
  if (!Sys().GetTempPathLong(temp) || !Sys().GetTempFileNameW(temp, u"tmp", exchange))
    throw Exception(Sys().SysErrorMessage(Sys().GetLastError()));
  const TString cmd = HostCommandLine(hostExe, static_cast<std::int32_t>(window), inst2k64Dll, infPath, hardwareId,
                                      Sys().GetCurrentDirectory()) +
                      u" /FindHWID \"" + exchange + u"\"";
  Fs().WriteProfileString(exchange, u"Data", u"Flag", text::IntToStr(installFlags));

  trace::Msg(u"Detection through the host: " + cmd);
  TOwnedProcess host;
  if (!host.Start(HostStartup(cmd, hostExe))) {
    Fs().DeleteFile(exchange);
    throw HostNotStarted(hostExe);
  }
  Proc().WaitForSingleObject(host.Process.Get(), IProcess::Infinite);
  TProfileFile answer;
  answer.Open(exchange);
  TString ret = answer.ReadString(u"Data", u"Ret", u"1067").substr(0, kRetChars);
  trace::Msg(u"Detection: the host answered " + ret);
  Fs().DeleteFile(exchange);
  return static_cast<std::uint32_t>(StrToInt64(ret));
}

bool FindExistDevice(const TString& inst2kDll, const TString& hardwareId, TString& deviceHwid, TString& port,
                     bool rescan) {
  port.clear();
  if (rescan) {
    RefreshSystemHW(inst2kDll);
    Sys().Sleep(0);
    Sys().Sleep(100);
    Sys().Sleep(0);
  }
  char hwid[inst2k::kCallerIdBufferBytes] = {}, idAndPort[inst2k::kCallerIdBufferBytes] = {};
  bool result = false;
  {
    TModule library;
    LoadInst2k(library, inst2kDll);
    if (auto find = library.Get<inst2k::TFuncFindExistDevice>("FuncFindExistDevice")) {
      std::string ansi;
      result = text::ExactAnsi(hardwareId, ansi) && find(ansi.c_str(), hwid, idAndPort) != 0;
      port = CutPortFromInstanceId(FromBuffer(idAndPort, sizeof(idAndPort)));
    }
  }
  deviceHwid = FromBuffer(hwid, sizeof(hwid));
  trace::Fmt(u"FuncFindExistDevice %s: found %d, device %s, port %s", {hardwareId, int(result), deviceHwid, port});
  return result;
}

void RefreshSystemHW(const TString& inst2kDll) {
  TModule library;
  if (!library.Load(inst2kDll)) return;
  if (auto refresh = library.Get<inst2k::TRefreshHW>("RefreshHW")) refresh();
}

void RefreshSystemHW_Thread(const TString& inst2kDll) {
  Threads().StartDetached([strInst2kDll = inst2kDll] { RefreshSystemHW(strInst2kDll); });
}

void ShowInst2kErrorCode(const TString& inst2kDll, bool show) {
  TModule library;
  if (!library.Load(paths::ExpandFileName(inst2kDll))) throw Exception(u"DllNotFound :\r\n" + inst2kDll);
  if (auto fn = library.Get<inst2k::TShowErrorCode>("ShowErrorCode")) fn(show ? -1 : 0);
}

std::uint32_t GetLastInstallErrorCode(THandle library) {
  if (!library) return 1;
  auto fn = reinterpret_cast<inst2k::TLastInstallErrorCode>(Modules().GetProcAddress(library, "LastInstallErrorCode"));
  return fn ? fn() : 1;
}
