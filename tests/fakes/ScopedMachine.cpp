#include "fakes/ScopedMachine.h"

#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "inst2k/Inst2kState.h"
#include "spooler/PrinterUtils.h"

namespace {

// The globals as a freshly started program has them, the library loaded.
void ResetProgramGlobals(bool started) {
  g_InstallInfos = TInstallInfos();
  g_LangOptions = TLangOptions();
  g_strInstaller = strInstaller();
  g_SysLangID = 0;
  if (started) InitSysLangID();
  RefreshPrinters();
  inst2k::ModuleState() = {};
  if (started) inst2k::OnLibraryAttach(0x10000000);
}

}  // namespace

ScopedMachine::ScopedMachine() {
  procs.Programs[u"rundll32"] = [this](const TStartup& s) {
    printUI.Run(s.CommandLine);
    return 0u;
  };
  ResetProgramGlobals(true);
}

ScopedMachine::~ScopedMachine() { ResetProgramGlobals(false); }

bool FakeResources::LoadRCData(const TString& name, std::string& bytes) {
  auto it = Data.find(name);
  if (it == Data.end()) return false;
  bytes = it->second;
  return true;
}

bool FakeShell::GetProgramFilesFolder(THandle, TString& path) {
  if (ProgramFiles) path = *ProgramFiles;
  return ProgramFiles.has_value();
}

int FakeShell::DeleteTree(THandle, const TString& folder) {
  std::vector<TDirEntry> entries;
  if (!m_Fs.DirectoryExists(folder) || !m_Fs.ListDirectory(folder, entries)) return 2;
  int failures = 0;
  for (const TDirEntry& e : entries) {
    TString path = folder + u"\\" + e.Name;
    failures += e.IsDirectory && !e.IsReparsePoint ? (DeleteTree(0, path) != 0) : !m_Fs.DeleteFile(path);
  }
  return failures == 0 && m_Fs.RemoveDirectory(folder) ? 0 : 0x78;
}

std::string Utf16File(const TString& t) {
  std::string out = "\xFF\xFE";
  for (char16_t c : t) {
    if (c == u'\n') {
      out.push_back('\r');
      out.push_back('\0');
    }
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}
