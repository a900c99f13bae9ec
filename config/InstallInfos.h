// The driver package description (Setup.ini): one record per printer model.
#pragma once

#include <cstdint>
#include <vector>

#include "sysutil/ProfileFile.h"
#include "sysutil/StringList.h"
#include "sysutil/Text.h"

struct TRInstallInfo {
  TString PrinterName;
  TString PrinterHWID;
  TString MustUninstallForGDP;
  TString UninstallerOnRestart;
  std::int32_t PrintWidth = 0;
  TString PrinterType;
  TString DriverDir;
  TString INF2K;
  TString INFX64;
  TString OfflineHWIDPre;
  TString FunctionDescribe;
  TString InstallGuide;
  TString QuickGuide;
  TString UserManual;
  TString DefaultPort;
  bool ForceOnlineCheck = false;
  bool PromptCheck = false;
  bool AutoMode = false;
  bool QuiteMode = false;
  TString PrintProcess;
  TString PreRun;
  TString InstallOCX;
  TString AfterRun;
  bool AlwaysSetDefault = false;
};

class TInstallInfos {
 public:
  TInstallInfos() = default;

  void LoadFromFile(const TString& FileName);
  void LoadSettings(const TProfileFile* Ini);
  int Count() const { return static_cast<int>(m_slPrinters.size()); }
  // The models read completely, from the first on. Smaller than Count when
  // loading stopped at a faulty section: only these may be offered.
  int CompleteCount() const { return m_iComplete; }
  void GetItem(int index, TRInstallInfo& info) const;
  static TString GetLangSuffix();

 private:
  TStringList m_slPrinters;
  std::vector<TRInstallInfo> m_InfoItems;
  int m_iComplete = 0;
};

// Reads the model of section `sec` as LoadSettings does: the driver folder and
// the uninstaller below progDir, the texts of the language suffix. Raises
// Exception (the section's name and the fault) for a model the installer
// cannot offer.
void LoadInstallInfo(const TProfileFile& ini, const TString& sec, const TString& progDir, const TString& suffix,
                     TRInstallInfo& r);

extern TInstallInfos g_InstallInfos;
extern std::uint16_t g_SysLangID;

// Reads the system default language into g_SysLangID (module initialisation).
void InitSysLangID();
