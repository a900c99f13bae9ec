#include "inst2k/PrnSetup64.h"

#include <string>

#include "inst2k/IPrnSetupHost.h"
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

template <class Fn>
Fn Export(THandle module, const char* name) {
  return reinterpret_cast<Fn>(Host().GetProcAddress(module, name));
}

// Loads the library by its full path (relative paths against the current
// directory, never through the search path). 0 with `code` on failure.
THandle LoadInst2k(const TString& dll, std::uint32_t& code) {
  IPrnSetupHost& host = Host();
  const TString full = dll.empty() ? TString() : host.GetFullPathName(dll);
  THandle module = full.empty() ? 0 : host.LoadLibrary(full);
  if (!module) {
    code = full.empty() ? kErrorModNotFound : host.GetLastError();
    if (code == 0) code = kErrorModNotFound;
  }
  return module;
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
  const THandle module = LoadInst2k(args.Dll, loadCode);
  if (!module) {
    ErrorBox(kLoadDllFailed);
    return;
  }
  const auto test = Export<TInst2k_IsInlineDeviceExist>(module, "Inst2k_IsInlineDeviceExist");
  if (!test) {
    ErrorBox(kDetectExportMissing);
    host.FreeLibrary(module);
    return;
  }
  if (const auto show = Export<TShowErrorCode>(module, "ShowErrorCode")) show(0);

  // A text the code page cannot carry, or one too long, is answered with
  // the reason instead of testing with a mangled or cut path.
  std::string hwid, inf;
  std::uint32_t result = 0;
  if (ToAnsiText(args.HWID, kDetectionTextBytes, hwid, result) &&
      ToAnsiText(args.Inf, kDetectionTextBytes, inf, result))
    result = test(nullptr, hwid.c_str(), inf.c_str(), static_cast<std::uint32_t>(flags));
  host.WritePrivateProfileString(u"Data", u"Ret", text::IntToStr(result), ini);
  host.FreeLibrary(module);
}

void RunInstallMode(const TPrnSetup64Args& args) {
  IPrnSetupHost& host = Host();
  if (args.Refusal) {
    Report(args, false, args.Refusal);
    return;
  }
  std::int32_t result = kInstallFailed;
  std::uint32_t code = 0;
  const THandle module = LoadInst2k(args.Dll, code);
  if (!module) {
    ErrorBox(kLoadDllFailed);
  } else {
    std::string inf, hwid;
    if (!ToAnsiText(args.Inf, kInstallTextBytes, inf, code) || !ToAnsiText(args.HWID, kInstallTextBytes, hwid, code)) {
      host.FreeLibrary(module);
    } else if (const auto install = Export<TFuncInst2K>(module, "FuncInst2K")) {
      const auto show = Export<TShowErrorCode>(module, "ShowErrorCode");
      const auto lastError = Export<TLastInstallErrorCode>(module, "LastInstallErrorCode");
      if (show) show(0);
      result = install(inf.c_str(), hwid.c_str(), kPortArgument, nullptr);
      code = lastError ? lastError() : 0;
      host.FreeLibrary(module);
    } else if (const auto older = Export<TFuncInst2K>(module, "Inst2K")) {
      result = older(inf.c_str(), hwid.c_str(), kPortArgument, nullptr);
      host.FreeLibrary(module);
    } else {
      ErrorBox(kLoadInst2KFailed);
      result = 3;
      code = kErrorProcNotFound;
      host.FreeLibrary(module);
    }
  }
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
