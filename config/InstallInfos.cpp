#include "config/InstallInfos.h"

#include "config/LangStrings.h"
#include "platform/IFileSystem.h"
#include "platform/ISystem.h"
#include "sysutil/Exception.h"
#include "sysutil/Language.h"
#include "sysutil/Paths.h"
#include "sysutil/Trace.h"

TInstallInfos g_InstallInfos;
std::uint16_t g_SysLangID = 0;

void InitSysLangID() { g_SysLangID = Sys().GetSystemDefaultLangID(); }

void TInstallInfos::LoadFromFile(const TString& FileName) {
  if (!Fs().FileExists(FileName)) return;
  TProfileFile ini;
  if (!ini.Open(FileName)) return;
  LoadSettings(&ini);
}

TString TInstallInfos::GetLangSuffix() {
  switch (UiLanguageOf(g_SysLangID)) {
    case TUiLanguage::TraditionalChinese:
      return u"TC";
    case TUiLanguage::SimplifiedChinese:
      return u"SC";
    default:
      return u"EN";
  }
}

void TInstallInfos::LoadSettings(const TProfileFile* Ini) {
  if (!Ini) return;
  m_slPrinters = Ini->ReadSections();
  m_InfoItems.assign(m_slPrinters.size(), TRInstallInfo{});
  m_iComplete = 0;
  trace::Fmt(u"Package description: %d models", {int(m_slPrinters.size())});

  // The program folder: where the running program file lies.
  const TString progDir = paths::ExtractFileDir(Sys().GetModuleFileName());
  const TString suffix = GetLangSuffix();

  for (size_t i = 0; i < m_slPrinters.size(); ++i) {
    LoadInstallInfo(*Ini, m_slPrinters[i], progDir, suffix, m_InfoItems[i]);
    m_iComplete = static_cast<int>(i) + 1;
    const TRInstallInfo& r = m_InfoItems[i];
    trace::Fmt(u"Model [%s] checked: printer %s, hardware ID %s, driver folder %s, INF %s / %s, default port %s",
               {m_slPrinters[i], r.PrinterName, r.PrinterHWID, r.DriverDir, r.INF2K, r.INFX64, r.DefaultPort});
  }
}

void LoadInstallInfo(const TProfileFile& ini, const TString& sec, const TString& progDir, const TString& suffix,
                     TRInstallInfo& r) {
  auto str = [&](const TString& key, const TString& def) { return ini.ReadString(sec, key, def); };
  auto fail = [&](TUiText reason) {
    const TString msg = sec + u" " + LangText(reason);
    trace::Error(u"Model refused: " + msg);
    throw Exception(msg);
  };

  r.PrinterName = str(u"PrinterName", u"");
  if (r.PrinterName.empty()) fail(TUiText::PackageNoPrinterName);
  r.PrinterHWID = str(u"PrinterHWID", u"");
  if (r.PrinterHWID.empty()) fail(TUiText::PackageNoHardwareId);
  r.MustUninstallForGDP = str(u"MustUninstallForGDP", u"");
  r.UninstallerOnRestart =
      paths::IncludeTrailingBackslash(progDir) + str(u"UninstallerOnRestart", u"I386\\TSPrnUni.exe");
  r.PrintWidth = ini.ReadInteger(sec, u"PrintWidth", 110);
  r.PrinterType = str(u"PrinterType", u"Flat");
  r.DriverDir = str(u"DriverDir", u"*");
  if (r.DriverDir != u"*") r.DriverDir = progDir + r.DriverDir;
  if (!Fs().DirectoryExists(r.DriverDir)) fail(TUiText::PackageNoDriverFolder);
  r.INF2K = str(u"INF.2K", u"");
  r.INFX64 = str(u"INF.X64", u"");
  if (r.INF2K.empty() || r.INFX64.empty()) fail(TUiText::PackageNoInf);
  if (!Fs().FileExists(r.DriverDir + u"\\" + r.INF2K) || !Fs().FileExists(r.DriverDir + u"\\" + r.INFX64))
    fail(TUiText::PackageInfMissing);
  r.OfflineHWIDPre = str(u"OfflineHWIDPre", u"SERENUM\\");
  r.FunctionDescribe = str(u"FunctionDescribe." + suffix, LangText(TUiText::PackageDefaultDescription));
  r.InstallGuide = str(u"InstallGuide." + suffix, u"ReadmeEN.txt");
  r.QuickGuide = str(u"QuickGuide." + suffix, u"");
  r.UserManual = str(u"UserManual." + suffix, u"");
  r.DefaultPort = str(u"DefaultPort", u"USB");
  r.ForceOnlineCheck = ini.ReadBool(sec, u"ForceOnlineCheck", false);
  r.PromptCheck = ini.ReadBool(sec, u"PromptCheck", false);
  r.AutoMode = ini.ReadBool(sec, u"AutoMode", false);
  r.QuiteMode = ini.ReadBool(sec, u"QuiteMode", false);
  r.PrintProcess = str(u"PrintProcess", u"");
  r.PreRun = str(u"PreRun", u"");
  r.InstallOCX = str(u"InstallOCX", u"");
  r.AfterRun = str(u"AfterRun", u"");
  r.AlwaysSetDefault = ini.ReadBool(sec, u"AlwaysSetDefault", false);
}

void TInstallInfos::GetItem(int index, TRInstallInfo& info) const {
  if (index < 0 || index >= Count())
    throw Exception(text::Format(LangText(TUiText::PackageIndexOutOfRange), {Count() - 1, index}));
  info = m_InfoItems[static_cast<size_t>(index)];
}
