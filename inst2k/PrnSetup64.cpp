#include "inst2k/PrnSetup64.h"

#include <string>

#include "inst2k/IPrnSetupHost.h"
#include "platform/IModules.h"
#include "platform/Inst2kApi.h"

namespace inst2k {

namespace {

constexpr const char16_t* kErrorCaption = u"错误";
constexpr const char16_t* kLoadDllFailed = u"装载DLL失败！";
constexpr const char16_t* kLoadInst2KFailed = u"装载Inst2K()失败！";
constexpr const char16_t* kDetectExportMissing = u"在DLL中查找不到函數：Inst2k_IsInlineDeviceExist";
constexpr const char* kPortArgument = "LPT1:";

// Whether install mode has sent its message (in this process).
bool g_Reported = false;

void Report(const TPrnSetup64Args& args, bool succeeded, std::uint32_t code) {
  if (args.Handle == 0 || g_Reported) return;
  g_Reported = true;
  Host().SendWindowMessage(args.Handle, succeeded ? kMsgInstallSucceeded : kMsgInstallFailed, 0,
                           static_cast<std::intptr_t>(code));
}

void ErrorBox(const char16_t* text) { Host().MessageBox(text, kErrorCaption, mb::Ok | mb::IconError); }

// Loads the library by its full path (relative paths against the current
// directory, never through the search path). False with `code` on failure.
bool LoadInst2k(TModule& module, const TString& dll, std::uint32_t& code) {
  IPrnSetupHost& host = Host();
  const TString full = dll.empty() ? TString() : host.GetFullPathName(dll);
  if (!full.empty() && module.Load(full)) return true;
  code = full.empty() ? kErrorModNotFound : host.GetLastError();
  if (code == 0) code = kErrorModNotFound;
  return false;
}

// The text in the ANSI code page, when it converts exactly and fits.
bool ToAnsiText(const TString& s, size_t maxBytes, std::string& out, std::uint32_t& refusal) {
  bool lossless = true;
  out = Host().WideToAnsi(s, lossless);
  if (!lossless) {
    refusal = kErrorNoUnicodeTranslation;
    return false;
  }
  if (out.size() > maxBytes) {
    refusal = kErrorFilenameExcedRange;
    return false;
  }
  return true;
}

}  // namespace

void RunDetectionMode(const TPrnSetup64Args& args) {
  IPrnSetupHost& host = Host();
  // The profile functions look for a bare file name in the Windows folder:
  // the exchange file is named against the current directory instead.
  const TString ini = host.GetFullPathName(args.FindHWID);
  if (ini.empty()) return;
  if (args.Refusal) {
    host.WritePrivateProfileString(u"Data", u"Ret", text::IntToStr(args.Refusal), ini);
    return;
  }
  const std::int32_t flags = host.GetPrivateProfileInt(u"Data", u"Flag", 4, ini);
  std::uint32_t loadCode = 0;
  TModule module;
  if (!LoadInst2k(module, args.Dll, loadCode)) {
    ErrorBox(kLoadDllFailed);
    return;
  }
  const auto test = module.Get<TInst2k_IsInlineDeviceExist>("Inst2k_IsInlineDeviceExist");
  if (!test) {
    ErrorBox(kDetectExportMissing);
    return;
  }
  if (const auto show = module.Get<TShowErrorCode>("ShowErrorCode")) show(0);

  // A text the code page cannot carry, or one too long, is answered with
  // the reason instead of testing with a mangled or cut path.
  std::string hwid, inf;
  std::uint32_t result = 0;
  if (ToAnsiText(args.HWID, kDetectionTextBytes, hwid, result) &&
      ToAnsiText(args.Inf, kDetectionTextBytes, inf, result))
    result = test(nullptr, hwid.c_str(), inf.c_str(), static_cast<std::uint32_t>(flags));
  host.WritePrivateProfileString(u"Data", u"Ret", text::IntToStr(result), ini);
}

void RunInstallMode(const TPrnSetup64Args& args) {
  if (args.Refusal) {
    Report(args, false, args.Refusal);
    return;
  }
  std::int32_t result = kInstallFailed;
  std::uint32_t code = 0;
  {
    TModule module;
    std::string inf, hwid;
    if (!LoadInst2k(module, args.Dll, code)) {
      ErrorBox(kLoadDllFailed);
    } else if (!ToAnsiText(args.Inf, kInstallTextBytes, inf, code) ||
               !ToAnsiText(args.HWID, kInstallTextBytes, hwid, code)) {
      // refused with the reason
    } else if (const auto install = module.Get<TFuncInst2K>("FuncInst2K")) {
      const auto show = module.Get<TShowErrorCode>("ShowErrorCode");
      const auto lastError = module.Get<TLastInstallErrorCode>("LastInstallErrorCode");
      if (show) show(0);
      result = install(inf.c_str(), hwid.c_str(), kPortArgument, nullptr);
      code = lastError ? lastError() : 0;
    } else if (const auto older = module.Get<TFuncInst2K>("Inst2K")) {
      result = older(inf.c_str(), hwid.c_str(), kPortArgument, nullptr);
    } else {
      ErrorBox(kLoadInst2KFailed);
      result = 3;
      code = kErrorProcNotFound;
    }
  }
  // The library is released before the window hears of the outcome.
  Report(args, result <= kInstalledRestart, code);
}

int PrnSetup64Main(const std::vector<TString>& argv) {
  g_Reported = false;
  try {
    const TPrnSetup64Args args = ParsePrnSetup64Args(argv);
    if (args.DetectionMode())
      RunDetectionMode(args);
    else
      RunInstallMode(args);
  } catch (...) {
    PrnSetup64LastResort(argv, kErrorInternalError);
  }
  return 0;
}

void PrnSetup64LastResort(const std::vector<TString>& argv, std::uint32_t code) noexcept {
  try {
    const TPrnSetup64Args args = ParsePrnSetup64Args(argv);
    if (!args.DetectionMode()) Report(args, false, code);
  } catch (...) {
  }
}

}  // namespace inst2k
