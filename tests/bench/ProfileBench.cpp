// Loads of a generated package description: our profile reader against the
// platform's profile functions (Windows only), reading per model the keys the
// package description reads. Used by scripts/bench-profile.sh.
//   profile_bench gen MODELS FILE   writes a Setup.ini of MODELS models
//   profile_bench ours FILE         our reader: parse once, then key by key
//   profile_bench platform FILE     GetPrivateProfileStringW key by key
// Each load prints "seconds=S models=N chars=C" (C: characters of all values
// read, the same for both readers when they agree).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "sysutil/ProfileFile.h"

#ifdef _WIN32
#include "win32/WinApi.h"
#endif

namespace {

// The keys TInstallInfos::LoadSettings reads per model, with the English suffix.
const char16_t* const kModelKeys[] = {u"PrinterName",
                                      u"PrinterHWID",
                                      u"MustUninstallForGDP",
                                      u"UninstallerOnRestart",
                                      u"PrintWidth",
                                      u"PrinterType",
                                      u"DriverDir",
                                      u"INF.2K",
                                      u"INF.X64",
                                      u"OfflineHWIDPre",
                                      u"FunctionDescribe.EN",
                                      u"InstallGuide.EN",
                                      u"QuickGuide.EN",
                                      u"UserManual.EN",
                                      u"DefaultPort",
                                      u"ForceOnlineCheck",
                                      u"PromptCheck",
                                      u"AutoMode",
                                      u"QuiteMode",
                                      u"PrintProcess",
                                      u"PreRun",
                                      u"InstallOCX",
                                      u"AfterRun",
                                      u"AlwaysSetDefault"};

std::string Utf16File(const TString& s) {
  std::string out = "\xFF\xFE";
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// A model section shaped like the demo package's, in three languages.
TString Model(int i) {
  const TString n = text::IntToStr(1000 + i);
  return u"[TS" + n + u"]\r\nPrinterName=Tessaron TS-" + n + u"\r\nPrinterHWID=TessaronTS-" + n +
         u"A1B2\r\nMustUninstallForGDP=1.2\r\nPrintWidth=110\r\nPrinterType=Flat\r\nDriverDir=\\Drivers\\TS" + n +
         u"\r\nINF.2K=TS" + n + u".inf\r\nINF.X64=TS" + n +
         u".inf\r\nFunctionDescribe.EN=Flatbed printer for forms and invoices, 24 pins, 110 columns\r\n"
         u"FunctionDescribe.SC=24针平推打印机，适用于票据和表单，110列\r\n"
         u"FunctionDescribe.TC=24針平推印表機，適用於票據和表單，110列\r\n"
         u"InstallGuide.EN=Docs\\InstallGuide_EN.txt\r\nInstallGuide.SC=Docs\\InstallGuide_SC.txt\r\n"
         u"InstallGuide.TC=Docs\\InstallGuide_TC.txt\r\nUserManual.EN=Docs\\TS" +
         n + u"_Manual_EN.txt\r\nUserManual.SC=Docs\\TS" + n + u"_Manual_EN.txt\r\nUserManual.TC=Docs\\TS" + n +
         u"_Manual_EN.txt\r\nDefaultPort=USB\r\nForceOnlineCheck=0\r\nQuiteMode=0\r\nAlwaysSetDefault=1\r\n\r\n";
}

std::string ReadAll(const char* path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

int Ours(const char* path) {
  const double start = Now();
  TProfileFile ini;
  ini.Parse(ReadAll(path));
  const TStringList sections = ini.ReadSections();
  size_t chars = 0;
  for (const TString& sec : sections)
    for (const char16_t* key : kModelKeys) chars += ini.ReadString(sec, key, u"").size();
  std::printf("seconds=%.6f models=%zu chars=%zu\n", Now() - start, sections.size(), chars);
  return 0;
}

#ifdef _WIN32
int Platform(const char* path) {
  wchar_t full[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path, -1, full, MAX_PATH);
  const double start = Now();
  std::wstring names(1 << 20, L'\0');
  DWORD n;
  while ((n = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), full)) + 2 >= names.size())
    names.resize(names.size() * 2);
  size_t models = 0, chars = 0;
  wchar_t value[2048];
  for (const wchar_t* sec = names.c_str(); *sec; sec += wcslen(sec) + 1) {
    ++models;
    for (const char16_t* key : kModelKeys)
      chars += GetPrivateProfileStringW(sec, reinterpret_cast<const wchar_t*>(key), L"", value, 2048, full);
  }
  std::printf("seconds=%.6f models=%zu chars=%zu\n", Now() - start, models, chars);
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "gen" && argc == 4) {
    TString body;
    for (int i = 0, n = std::atoi(argv[2]); i < n; ++i) body += Model(i);
    std::ofstream(argv[3], std::ios::binary) << Utf16File(body);
    return 0;
  }
  if (mode == "ours" && argc == 3) return Ours(argv[2]);
#ifdef _WIN32
  if (mode == "platform" && argc == 3) return Platform(argv[2]);
#endif
  std::fprintf(stderr, "usage: profile_bench gen MODELS FILE | ours FILE | platform FILE\n");
  return 2;
}
