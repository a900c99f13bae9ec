#include "inst2k/PrnSetup64.h"

#include <string>

#include "inst2k/IPrnSetupHost.h"
#include "platform/IModules.h"
#include "platform/Inst2kApi.h"
#include "sysutil/Trace.h"
#include "sysutil/UiTexts.h"

namespace inst2k {

namespace {

constexpr const char* kPortArgument = "LPT1:";

// Whether install mode has sent its message (in this process).
bool g_Reported = false;

void Report(const TPrnSetup64Args& args, bool succeeded, std::uint32_t code) {
  if (args.Handle == 0 || g_Reported) return;
  g_Reported = true;
  trace::Fmt(u"Host reports %s with code 0x%.8x", {succeeded ? u"success" : u"failure", code});
  Host().SendWindowMessage(args.Handle, succeeded ? kMsgInstallSucceeded : kMsgInstallFailed, 0,
                           static_cast<std::intptr_t>(code));
}

// The host's boxes speak the system default language.
void ErrorBox(TUiText text) {
  const TUiLanguage language = UiLanguageOf(Host().GetSystemDefaultLangID());
  trace::Error(UiText(text, TUiLanguage::English));
  Host().MessageBox(UiText(text, language), UiText(TUiText::HostErrorCaption, language), mb::Ok | mb::IconError);
}

// Loads the library by its full path (relative paths against the current
// directory, never through the search path). False with `code` on failure.
bool LoadInst2k(TModule& module, const TString& dll, std::uint32_t& code) {
  IPrnSetupHost& host = Host();
  const TString full = dll.empty() ? TString() : host.GetFullPathName(dll);
  if (!full.empty() && module.Load(full)) return true;
  code = full.empty() ? kErrorModNotFound : host.GetLastError();
  if (code == 0) code = kErrorModNotFound;
  trace::Fmt(u"Host: the library %s cannot be loaded, code %u", {full.empty() ? dll : full, code});
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
    ErrorBox(TUiText::HostLoadDllFailed);
    return;
  }
  const auto test = module.Get<TInst2k_IsInlineDeviceExist>("Inst2k_IsInlineDeviceExist");
  if (!test) {
    ErrorBox(TUiText::HostDetectExportMissing);
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
  trace::Fmt(u"Host detection %s: answer %u", {args.HWID, result});
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
      ErrorBox(TUiText::HostLoadDllFailed);
    } else if (!ToAnsiText(args.Inf, kInstallTextBytes, inf, code) ||
               !ToAnsiText(args.HWID, kInstallTextBytes, hwid, code)) {
      // refused with the reason
    } else if (const auto install = module.Get<TFuncInst2K>("FuncInst2K")) {
      const auto show = module.Get<TShowErrorCode>("ShowErrorCode");
      const auto lastError = module.Get<TLastInstallErrorCode>("LastInstallErrorCode");
      if (show) show(0);
      result = install(inf.c_str(), hwid.c_str(), kPortArgument, nullptr);
      code = lastError ? lastError() : 0;
      trace::Fmt(u"Host FuncInst2K %s: result %d, last code 0x%.8x", {args.HWID, result, code});
    } else if (const auto older = module.Get<TFuncInst2K>("Inst2K")) {
      result = older(inf.c_str(), hwid.c_str(), kPortArgument, nullptr);
      if (const auto lastError = module.Get<TLastInstallErrorCode>("LastInstallErrorCode")) code = lastError();
    } else {
      ErrorBox(TUiText::HostLoadInst2KFailed);
      result = 3;
      code = kErrorProcNotFound;
    }
  }
  // The library is released before the window hears of the outcome. Only 0
  // and 1 are installs: -1 means the device was not updated (see
  // InstallOutcome), and a failure always carries a code.
  const bool installed = result == kInstalled || result == kInstalledRestart;
  if (result == kNoAssociatedService) code = kErrorNoAssociatedService;
  if (!installed && code == 0) code = kErrorInstallFailure;
  Report(args, installed, installed ? 0 : code);
}

int PrnSetup64Main(const std::vector<TString>& argv) {
  g_Reported = false;
  try {
    TString line = u"Host starts:";
    for (const TString& a : argv) line += u" " + a;
    trace::Msg(line);
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
