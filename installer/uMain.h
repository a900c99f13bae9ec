// The main window's logic: start-up and workspace, branding, the model list and
// the window's behaviour. The Win32 window forwards its events here.
#pragma once

#include <cstdint>

#include "config/InstallInfos.h"
#include "installer/CommandLine.h"
#include "installer/InstallSession.h"
#include "installer/MainView.h"
#include "installer/ProgramVersion.h"
#include "installer/RunOutcome.h"
#include "installer/UserDialogs.h"
#include "platform/IFileSystem.h"
#include "sysutil/StringList.h"

// The program's version, as its version resource gives it.
inline constexpr char16_t kProgramVersion[] = u"" DS_VERSION_TEXT;

class TFormMain {
 public:
  explicit TFormMain(IMainView& view) : m_hPrnSetup64(view), m_View(view) {}

  // The command line, before the window is created. A run without a person
  // answers every question by policy and shows no box.
  void SetCommandLine(const TCommandLine& command);
  const TCommandLine& CommandLine() const { return m_Command; }
  // What the command line asks for once the window exists: the model
  // selected, or the whole install or removal of a run without a person.
  void RunCommand();
  // The window is shown: an install with it, or one that shows its progress.
  bool ShowsWindow() const;
  // The package's models for the console: name, hardware ID and driver folder, one per line.
  static TString ModelList();
  // Removes the selected model's queues, driver, uninstall record and
  // registered INF copies and the copy of its driver folder.
  void UninstallSelected();
  // How the run ended so far, and whether it has ended (a run without a
  // person ends after its one install or removal).
  TRunOutcome Outcome() const { return m_Outcome; }
  // The index of a model in the package, matched without regard to ASCII case; -1 when none.
  static int ModelIndex(const TString& name);
  TFormMain(const TFormMain&) = delete;
  TFormMain& operator=(const TFormMain&) = delete;

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

  // Installing the selected model: the Install button (also Enter) and a
  // double click on the list. Neither starts while an install runs.
  void btnStartClick();
  void lvPrintersDblClick();
  // The sequence: one attempt, then each retry its outcome asked for, in a
  // loop. Called while the sequence runs (by InstallFail), it asks for that
  // retry instead.
  void InstallSelectPrinter(bool tryOnline);
  void RunInstallProcess(bool tryOnline);
  // The online install; true when it finished in this process.
  bool PrinterOnLineInstall3264(int modelIndex);

  // The outcome: success (message 0x402) and failure (message 0x401, LParam =
  // the error code), and the watchdog of the 64-bit host.
  void Succ();
  void InstallFail(std::uint32_t errorCode);
  void tmrSetup64ErrorTimer();
  // A message from the 64-bit host. Only an install that waits for the host
  // takes it: a late or stray message shows no second outcome.
  void HostMessage(std::uint32_t message, std::uint32_t lParam);
  static constexpr std::uint32_t kMsgInstallFail = 0x401;
  static constexpr std::uint32_t kMsgInstallSucc = 0x402;
  bool WaitingForHost() const { return m_Session.Phase() == TInstallPhase::WaitingForHost; }
  TInstallSession& Session() { return m_Session; }

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
  THostProcess m_hPrnSetup64;  // the 64-bit host's process, with its watchdog
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
  bool Finished() const { return m_bFinished; }
  int HintsCounter() const { return m_iHintsCounter; }

 private:
  void StartUp();
  void TraceStartFacts();
  bool ShowsSplash() const;
  void WriteResource(const TString& name, const TString& path, bool component);
  void OpenLink(const TString& file);
  void OpenDocument(TString TRInstallInfo::*document);
  // Old drivers of the model removed first; false ends the install.
  bool RemoveOldDriver(const TRInstallInfo& model);
  // One attempt: prompts, old-driver removal, searching dialog, then the run.
  void InstallAttempt(bool tryOnline);
  void ConfigureNewQueue(const TRInstallInfo& model, TString& port, bool& restartNote);

  // A run without a person ends: the outcome is recorded and the program leaves its loop.
  void FinishUnattended();
  // The program runs on its own: without a person, or a removal, listing or usage.
  bool OwnRun() const;
  bool UpdateExistingQueue(const TRInstallInfo& model, const TString& inf);

  IMainView& m_View;
  TUserDialogs m_Dialogs{m_View};
  TCommandLine m_Command;
  TRunOutcome m_Outcome = TRunOutcome::Cancelled;
  bool m_bRestartPending = false;  // files of a removed driver wait for a restart
  bool m_bUpdateExisting = false;  // this attempt updates the driver of the model's queue
  bool m_bFinished = false;
  int m_iPreselect = -1;
  bool m_bActivated = false;
  int m_iHintsCounter = 0;
  std::vector<TFileLock> m_ComponentLocks;
  TInstallSession m_Session{m_View, m_InstallingProgress, m_hPrnSetup64};
  const TString& InstallInf(const TString& packageName) const {
    return m_Session.InstallInf.empty() ? packageName : m_Session.InstallInf;
  }
};
