#include "fakes/ScopedMachine.h"

#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "inst2k/Exports.h"
#include "inst2k/Inst2kState.h"
#include "platform/Inst2kApi.h"
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

// The exports as the library's callers see them (the types of Inst2kApi.h).
namespace lib {
using namespace inst2k;
void INST2K_CALL SetDebugMode(std::int32_t on) { ExportSetDebugMode(on); }
void INST2K_CALL ShowErrorCode(std::int32_t on) { ExportShowErrorCode(on); }
void INST2K_CALL EnableRootID(std::int32_t on) { ExportEnableRootID(on); }
std::uint32_t INST2K_CALL LastInstallErrorCode() { return ExportLastInstallErrorCode(); }
void INST2K_CALL RefreshHW() { ExportRefreshHW(); }
std::int32_t INST2K_CALL FuncFindExistDevice(const char* hardwareId, char* hardwareIdOut, char* instanceIdOut) {
  return ExportFuncFindExistDevice(hardwareId, hardwareIdOut, instanceIdOut);
}
std::uint32_t INST2K_CALL IsInlineDeviceExist(TOwnerWindow owner, const char* hardwareId, const char* infPath,
                                              std::uint32_t flags) {
  return ExportInst2k_IsInlineDeviceExist(reinterpret_cast<THandle>(owner), hardwareId, infPath, flags);
}
std::int32_t INST2K_CALL FuncInst2K(const char* infPath, const char* hardwareId, const char* port, TOwnerWindow owner) {
  return ExportFuncInst2K(infPath, hardwareId, port, reinterpret_cast<THandle>(owner));
}
std::int32_t INST2K_CALL RegistryInf(const char* infPath, const char* sourceLocation, char* nameOut,
                                     std::uint32_t nameSize) {
  return ExportInst2k_RegistryInf(infPath, sourceLocation, nameOut, nameSize);
}
}  // namespace lib

template <class Fn>
void* Entry(Fn fn) {
  return reinterpret_cast<void*>(fn);
}

}  // namespace

void ScopedMachine::AddInst2kLibrary(const TString& path) {
  modules.Libraries[path] = {
      {"SetDebugMode", Entry<inst2k::TSetDebugMode>(lib::SetDebugMode)},
      {"ShowErrorCode", Entry<inst2k::TShowErrorCode>(lib::ShowErrorCode)},
      {"EnableRootID", Entry<inst2k::TEnableRootID>(lib::EnableRootID)},
      {"LastInstallErrorCode", Entry<inst2k::TLastInstallErrorCode>(lib::LastInstallErrorCode)},
      {"RefreshHW", Entry<inst2k::TRefreshHW>(lib::RefreshHW)},
      {"FuncFindExistDevice", Entry<inst2k::TFuncFindExistDevice>(lib::FuncFindExistDevice)},
      {"Inst2k_IsInlineDeviceExist", Entry<inst2k::TInst2k_IsInlineDeviceExist>(lib::IsInlineDeviceExist)},
      {"FuncInst2K", Entry<inst2k::TFuncInst2K>(lib::FuncInst2K)},
      {"Inst2k_RegistryInf", Entry<inst2k::TInst2k_RegistryInf>(lib::RegistryInf)},
  };
}

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
