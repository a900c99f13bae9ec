// The main window's logic: start-up and workspace, branding, the model list and
// the window's behaviour. The Win32 window forwards its events here.
#pragma once

#include <cstdint>

#include "config/InstallInfos.h"
#include "installer/MainView.h"
#include "sysutil/StringList.h"

enum class TInstallProgress { IPPrepareed = 0, IPInstalling = 1, IPInstalled = 2 };

class TFormMain {
 public:
  explicit TFormMain(IMainView& view) : m_View(view) {}

  // Window events.
  void FormCreate();
  void FormDestroy();
  void ApplyOEMBranding();
  void FormActivate();
  void lvPrintersSelectItem(int index, bool selected);
  void lvPrintersChange();
  void lblReadGuideClick();
  void lblReadQuickGuideClick();
  void lblReadManualClick();
  void imgLogoClick();
  void imgLogoMouseMove();
  void LblMouseMove(TMainControl label);
  void LblMouseLeave(TMainControl label);
  void tmrInstallingHintsTimer();
  // Keeps a current copy of the selected model's driver folder below Program
  // Files and registers its INF; registeredInf names the INF to install from.
  bool BufferDriverFiles(TString& registeredInf);

  // State (read and written by the install flow too).
  TString m_strManufactor;
  TString m_strLangIni;
  TString m_strSetupIni;
  TString m_strInst2kDll;
  TString m_strInst2k64Dll;
  TString m_strPrnSetup64Exe;
  TString m_strLogoURL;
  TInstallProgress m_InstallingProgress = TInstallProgress::IPPrepareed;
  std::uint32_t m_dwLastErrorCode = 0;
  TString m_strDisConnectPort;
  TString m_strInstallingPrinter;
  TString m_strInstallPortName;
  std::uint32_t m_hPrnSetup64 = 0;
  TString m_strTempDir;
  TStringList m_slPrintersO;
  TStringList m_slPrintersN;
  bool m_bOnlineInstall = false;
  int m_iWinVer = 0;
  bool m_bWow64 = false;
  int m_iSelect = -1;

  // Alpha values of the fade-in after the splash.
  static constexpr std::uint8_t kFadeSteps[12] = {40, 70, 100, 130, 150, 170, 190, 200, 210, 230, 240, 250};

  bool Activated() const { return m_bActivated; }
  int HintsCounter() const { return m_iHintsCounter; }

 private:
  void StartUp();
  void WriteResource(const TString& name, const TString& path, bool keepLocked);
  void OpenLink(const TString& file);
  void OpenDocument(TString TRInstallInfo::*document);

  IMainView& m_View;
  bool m_bActivated = false;
  int m_iHintsCounter = 0;
  std::vector<THandle> m_ComponentLocks;
};
