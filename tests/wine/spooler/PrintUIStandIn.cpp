// Test equipment: a stand-in for the Windows print UI's PrintUIEntry, which
// Wine leaves as a stub. The Wine test harness installs it into its prefix as
// printui.dll; it never ships with the installer.
//
// Understood: /if (install the model /m from the INF /f as a queue based on the
// name /b on the port /r), /ia (install the driver only, as /if without the
// queue), /dl (delete the queue /n), /dd (delete the driver /m). It never
// shows any window, so /q changes nothing. A test that sets
// HKCU\Software\DriverSetupTests\printui "KeepDrivers" or "KeepQueues" to 1
// sees /dd or /dl fail.
#include "win32/WinApi.h"

#include <setupapi.h>
#include <shellapi.h>
#include <winspool.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using std::wstring;

struct Args {
  std::set<wstring> flags;            // "if", "ia", "dl", "dd", "q"
  std::map<wchar_t, wstring> values;  // b f r m n
};

Args Parse(const wchar_t* cmdLine) {
  Args a;
  wstring line = L"printui ";
  line += cmdLine ? cmdLine : L"";
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(line.c_str(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    wstring t = argv[i];
    if (t.size() < 2 || t[0] != L'/') continue;
    wstring sw = t.substr(1);
    if (sw.size() == 1 && wcschr(L"bfrmn", sw[0]) && i + 1 < argc) {
      a.values[sw[0]] = argv[++i];
    } else {
      a.flags.insert(sw);
    }
  }
  if (argv) ::LocalFree(argv);
  return a;
}

wstring Field(INFCONTEXT& ctx, DWORD index) {
  wchar_t buf[1024];
  return ::SetupGetStringFieldW(&ctx, index, buf, 1024, nullptr) ? buf : L"";
}

bool HasSection(HINF inf, const wstring& section) {
  INFCONTEXT ctx;
  return ::SetupFindFirstLineW(inf, section.c_str(), nullptr, &ctx) != FALSE;
}

wstring Key(HINF inf, const wstring& section, const wchar_t* key) {
  INFCONTEXT ctx;
  if (!::SetupFindFirstLineW(inf, section.c_str(), key, &ctx)) return L"";
  return Field(ctx, 1);
}

// Finds the model's install section, hardware ID and manufacturer.
bool FindModel(HINF inf, const wstring& model, wstring& install, wstring& hwid, wstring& mfg) {
  INFCONTEXT m;
  if (!::SetupFindFirstLineW(inf, L"Manufacturer", nullptr, &m)) return false;
  do {
    wstring base = Field(m, 1);
    std::vector<wstring> sections;
    for (DWORD i = 2; i <= ::SetupGetFieldCount(&m); ++i) sections.push_back(base + L"." + Field(m, i));
    sections.push_back(base);
    for (const auto& s : sections) {
      INFCONTEXT line;
      if (!HasSection(inf, s) || !::SetupFindFirstLineW(inf, s.c_str(), model.c_str(), &line)) continue;
      install = Field(line, 1);
      hwid = Field(line, 2);
      mfg = Field(m, 0);
      return true;
    }
  } while (::SetupFindNextLine(&m, &m));
  return false;
}

// The files named by the section's CopyFiles: "@file" or file-list sections.
std::vector<wstring> CopyFiles(HINF inf, const wstring& section) {
  std::vector<wstring> files;
  INFCONTEXT ctx;
  if (!::SetupFindFirstLineW(inf, section.c_str(), L"CopyFiles", &ctx)) return files;
  do {
    for (DWORD i = 1; i <= ::SetupGetFieldCount(&ctx); ++i) {
      wstring f = Field(ctx, i);
      if (f.empty()) continue;
      if (f[0] == L'@') {
        files.push_back(f.substr(1));
        continue;
      }
      INFCONTEXT file;
      if (!::SetupFindFirstLineW(inf, f.c_str(), nullptr, &file)) continue;
      do files.push_back(Field(file, 1).empty() ? Field(file, 0) : Field(file, 1));
      while (::SetupFindNextLine(&file, &file));
    }
  } while (::SetupFindNextMatchLineW(&ctx, L"CopyFiles", &ctx));
  return files;
}

bool PrinterNameTaken(const wstring& name) {
  HANDLE h = nullptr;
  if (!::OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &h, nullptr)) return false;
  ::ClosePrinter(h);
  return true;
}

// The base name when free, otherwise "<base> (Copy N)" as Windows names copies.
wstring FreeQueueName(const wstring& base) {
  if (!PrinterNameTaken(base)) return base;
  for (int n = 1;; ++n) {
    wstring name = base + L" (Copy " + std::to_wstring(n) + L")";
    if (!PrinterNameTaken(name)) return name;
  }
}

// Copies the driver's files into the printer-driver folder, where SetupAPI
// leaves them on Windows and from where the spooler takes them.
void StageDriverFiles(const wstring& dir, const std::vector<wstring>& files) {
  wchar_t target[MAX_PATH];
  DWORD needed = 0;
  if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(target), sizeof(target), &needed))
    return;
  for (const auto& f : files)
    if (!f.empty()) ::CopyFileW((dir + f).c_str(), (wstring(target) + L"\\" + f).c_str(), FALSE);
}

// Where the driver's files are: beside the INF, or, for a copy the system
// registered, beside its original (Windows keeps them in its driver store;
// Wine notes the original's path in the copy's .pnf file).
wstring SourceFolder(const wstring& infPath) {
  const wstring dir = infPath.substr(0, infPath.find_last_of(L"\\/") + 1);
  const wstring pnf = infPath.substr(0, infPath.find_last_of(L'.')) + L".pnf";
  HANDLE f = ::CreateFileW(pnf.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return dir;
  char buf[1024] = {};
  DWORD n = 0;
  ::ReadFile(f, buf, sizeof buf - 1, &n, nullptr);
  ::CloseHandle(f);
  const std::string text(buf, n), header = "Wine PNF header\r\n";
  if (text.rfind(header, 0) != 0) return dir;
  const std::string original = text.substr(header.size(), text.find_first_of("\r\n", header.size()) - header.size());
  const size_t slash = original.find_last_of("\\/");
  if (slash == std::string::npos) return dir;
  wchar_t wide[1024] = {};
  ::MultiByteToWideChar(CP_ACP, 0, original.substr(0, slash + 1).c_str(), -1, wide, 1024);
  return wide;
}

bool InstallFromInf(const Args& a, bool withQueue) {
  auto value = [&](wchar_t k) {
    auto it = a.values.find(k);
    return it == a.values.end() ? wstring() : it->second;
  };
  wstring model = value(L'm'), infPath = value(L'f'), base = value(L'b'), port = value(L'r');
  if (model.empty() || infPath.empty()) return false;
  if (base.empty()) base = model;
  if (port.empty()) port = L"LPT1:";

  UINT errLine = 0;
  HINF inf = ::SetupOpenInfFileW(infPath.c_str(), nullptr, INF_STYLE_WIN4, &errLine);
  if (inf == INVALID_HANDLE_VALUE) return false;
  wstring install, hwid, mfg;
  bool ok = FindModel(inf, model, install, hwid, mfg);
  if (ok) {
    wstring dir = SourceFolder(infPath);
    wstring dataSection = Key(inf, install, L"DataSection");
    auto key = [&](const wchar_t* k) {
      wstring v = Key(inf, install, k);
      return v.empty() && !dataSection.empty() ? Key(inf, dataSection, k) : v;
    };
    wstring driverFile = key(L"DriverFile"), dataFile = key(L"DataFile"), configFile = key(L"ConfigFile"),
            helpFile = key(L"HelpFile"), provider = Key(inf, L"Version", L"Provider");
    if (dataFile.empty()) dataFile = install;
    if (driverFile.empty() && !dataSection.empty()) {
      // The data section comes from the system's own printer INF (the
      // universal driver's), which Wine lacks: Wine's driver takes its place.
      driverFile = L"wineps.drv";
      wchar_t system[MAX_PATH];
      if (::GetSystemDirectoryW(system, MAX_PATH)) StageDriverFiles(wstring(system) + L"\\", {driverFile});
    }
    if (configFile.empty()) configFile = driverFile;
    std::set<wstring> main = {driverFile, dataFile, configFile, helpFile};
    std::vector<wstring> all = CopyFiles(inf, install);
    all.insert(all.end(), main.begin(), main.end());
    StageDriverFiles(dir, all);
    wstring dependents;
    for (const auto& f : CopyFiles(inf, install))
      if (!main.count(f)) dependents += dir + f + L'\0';
    dependents += L'\0';

    wstring driverPath = dir + driverFile, dataPath = dir + dataFile, configPath = dir + configFile,
            helpPath = helpFile.empty() ? L"" : dir + helpFile;
    DRIVER_INFO_6W di{};
    di.cVersion = 3;
    di.pName = model.data();
    di.pDriverPath = driverPath.data();
    di.pDataFile = dataPath.data();
    di.pConfigFile = configPath.data();
    di.pHelpFile = helpPath.empty() ? nullptr : helpPath.data();
    di.pDependentFiles = dependents.size() > 1 ? dependents.data() : nullptr;
    di.pszMfgName = mfg.data();
    di.pszHardwareID = hwid.data();
    di.pszProvider = provider.data();
    ok = driverFile.size() && ::AddPrinterDriverExW(nullptr, 6, reinterpret_cast<BYTE*>(&di), APD_COPY_NEW_FILES);
  }
  ::SetupCloseInfFile(inf);
  if (!ok || !withQueue) return ok;

  wstring name = FreeQueueName(base);
  wstring empty, processor = L"WinPrint", datatype = L"RAW";
  PRINTER_INFO_2W pi{};
  pi.pPrinterName = name.data();
  pi.pShareName = empty.data();
  pi.pPortName = port.data();
  pi.pDriverName = model.data();
  pi.pComment = empty.data();
  pi.pLocation = empty.data();
  pi.pSepFile = empty.data();
  pi.pParameters = empty.data();
  pi.pPrintProcessor = processor.data();
  pi.pDatatype = datatype.data();
  pi.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  pi.Priority = 1;
  HANDLE h = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
  if (!h) return false;
  ::ClosePrinter(h);
  return true;
}

// A test's setting that makes a command fail.
bool Refused(const wchar_t* setting) {
  DWORD keep = 0, size = sizeof keep;
  ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\printui", setting, RRF_RT_REG_DWORD, nullptr, &keep,
                 &size);
  return keep != 0;
}

bool DeleteQueue(const wstring& name) {
  if (Refused(L"KeepQueues")) return false;
  PRINTER_DEFAULTSW pd{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE h = nullptr;
  if (!::OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &h, &pd)) return false;
  BOOL ok = ::DeletePrinter(h);
  ::ClosePrinter(h);
  return ok;
}

bool DeleteDriver(const wstring& model) {
  return !Refused(L"KeepDrivers") && ::DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(model.c_str()));
}

void Run(const wchar_t* cmdLine) {
  Args a = Parse(cmdLine);
  if (a.flags.count(L"if") || a.flags.count(L"ia")) {
    InstallFromInf(a, a.flags.count(L"if") != 0);
  } else if (a.flags.count(L"dl")) {
    DeleteQueue(a.values[L'n']);
  } else if (a.flags.count(L"dd")) {
    DeleteDriver(a.values[L'm']);
  }
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK PrintUIEntryW(HWND, HINSTANCE, LPCWSTR cmdLine, int) { Run(cmdLine); }

extern "C" __declspec(dllexport) void CALLBACK PrintUIEntry(HWND, HINSTANCE, LPCSTR cmdLine, int) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, cmdLine ? cmdLine : "", -1, nullptr, 0);
  std::wstring w(n > 0 ? n : 1, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, cmdLine ? cmdLine : "", -1, w.data(), n);
  Run(w.c_str());
}
