// The install sequence of the main window: the prompts and the removal of an
// outdated driver, buffering, detection, the online install (in this process,
// or through the 64-bit host) and the offline install on LPT1:. The outcome
// goes to Succ or InstallFail (uMainResult.cpp).
#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "install/InstallFunc.h"
#include "installer/InstallPreCheck.h"
#include "installer/uMain.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Paths.h"
#include "sysutil/Trace.h"

namespace {

// Marks the sequence as running for a scope, also through an exception.
struct SequenceScope {
  TInstallSession& session;
  explicit SequenceScope(TInstallSession& s) : session(s) { session.SetInSequence(true); }
  ~SequenceScope() { session.SetInSequence(false); }
};

}  // namespace

void TFormMain::btnStartClick() {
  // Enter, a click and a double click all come here or to lvPrintersDblClick;
  // none may start a second install, nor one while the first still asks.
  if (m_Session.InSequence() || m_Session.Phase() != TInstallPhase::Idle ||
      m_InstallingProgress == TInstallProgress::IPInstalling)
    return;
  try {
    InstallSelectPrinter(true);
  } catch (const Exception& e) {
    m_Outcome = TRunOutcome::Failed;
    m_Dialogs.Error(WithRecordLine(e.Message()));
  }
}

void TFormMain::lvPrintersDblClick() { btnStartClick(); }

bool TFormMain::RemoveOldDriver(const TRInstallInfo& model) {
  if (model.MustUninstallForGDP.empty()) return true;
  TStringList affected;
  if (!NeedUninstallOldDriver(model.PrinterName, model.MustUninstallForGDP, affected)) return true;
  const strInstaller& s = g_strInstaller;
  if (m_Dialogs.Ask(TQuestion::RemoveOldDriver, s.InstallBeforeNeedUninstall, s.NoticeTitle,
                    mb::YesNo | mb::IconQuestion) != mb::IdYes) {
    m_Outcome = TRunOutcome::Cancelled;
    return false;
  }

  std::uint32_t code = 0;
  const TString programDir = paths::ExtractFileDir(Sys().GetModuleFileName());
  if (UninstallOldDriver(model.PrinterName, model.MustUninstallForGDP, s.OEMManufactor, code,
                         model.UninstallerOnRestart, programDir))
    return true;
  trace::Fmt(u"Old driver removal failed with %d", {int(code)});
  switch (code) {
    // Error dialogs: their caption is not the notice title.
    case kDeletePrinting:
      m_Dialogs.Tell(s.DeletePrinterIsPrinting, LangText(TUiText::ErrorTitle), mb::Ok | mb::IconError);
      return false;
    case kDeleteUnexpected:
    case kDeleteNotRemoved:
      m_Dialogs.Tell(WithRecordLine(s.DeletePrinterError), LangText(TUiText::ErrorTitle), mb::Ok | mb::IconError);
      return false;
    case kDeleteDriverNotScheduled:
      // No restart would remove the files: the user is told so, and the
      // install goes on beside the remaining driver files.
      m_Dialogs.Tell(LangText(TUiText::DeleteDriverNotScheduled), s.NoticeTitle, mb::Ok | mb::IconWarning);
      return true;
    case kDeleteDriverRemained:
      m_bRestartPending = true;
      // Without a person no restart is started: the install goes on and
      // the run ends asking for one.
      if (m_Dialogs.Unattended()) {
        trace::Msg(u"The old driver's files are removed at the next restart; none is started");
        return true;
      }
      if (m_Dialogs.Ask(TQuestion::RestartNow, s.DeletePrinterDriverError + u"\r\n" + s.RestartWindowsimmediately,
                        s.NoticeTitle, mb::YesNo | mb::IconInformation) != mb::IdYes) {
        m_Outcome = TRunOutcome::Cancelled;
        return false;
      }
      if (RestartWindows()) {
        m_Outcome = TRunOutcome::RestartStarted;
        m_View.Terminate();
      }
      return true;
    default:
      return true;
  }
}

void TFormMain::InstallSelectPrinter(bool tryOnline) {
  if (m_Session.InSequence()) {
    m_Session.AskRetry(tryOnline);
    return;
  }
  SequenceScope sequence(m_Session);
  m_Session.TakeRetry();
  for (std::optional<bool> attempt = tryOnline; attempt; attempt = m_Session.TakeRetry()) {
    InstallAttempt(*attempt);
    // A host that works ends the install later; a retry asked for meanwhile
    // would run beside it.
    if (m_Session.Phase() == TInstallPhase::WaitingForHost) return;
  }
}

void TFormMain::InstallAttempt(bool tryOnline) {
  if (m_iSelect < 0 || m_iSelect >= g_InstallInfos.CompleteCount()) return;
  if (m_InstallingProgress == TInstallProgress::IPInstalling) return;
  TRInstallInfo model;
  g_InstallInfos.GetItem(m_iSelect, model);
  // Every way out of the attempt that does not say otherwise is a failure.
  if (m_Outcome != TRunOutcome::RestartStarted) m_Outcome = TRunOutcome::Failed;
  m_bUpdateExisting = false;
  if (!InstallPreChecked(m_Dialogs, model, m_bWow64, m_strManufactor, m_Command.Port)) return;
  // A port named on the command line is an offline install there.
  if (!m_Command.Port.empty()) tryOnline = false;
  trace::Fmt(u"Install of model %d (%s) starts, online first %d", {m_iSelect, model.PrinterName, int(tryOnline)});
  m_Session.Enter(TInstallPhase::Asking);
  try {
    bool go = RemoveOldDriver(model);
    if (go) {
      const strInstaller& s = g_strInstaller;
      // A queue of the model is there already: its driver is updated rather
      // than a second queue added, unless the user asks for one.
      if (!QueuesOfDriver(model.PrinterName).empty())
        m_bUpdateExisting = m_Dialogs.Ask(TQuestion::UpdateExisting, s.ExistSamePrinterAndUpdate, s.NoticeTitle,
                                          mb::YesNo | mb::IconQuestion) == mb::IdYes;
      if (!m_bUpdateExisting) RefreshSystemHW_Thread(m_strInst2kDll);
      go = !tryOnline || m_bUpdateExisting || model.QuiteMode ||
           m_Dialogs.Ask(TQuestion::Connect, s.BeforeInstallPrompt, s.NoticeTitle, mb::YesNo | mb::IconQuestion) ==
               mb::IdYes;
      if (!go) m_Outcome = TRunOutcome::Cancelled;
    }
    if (!go) {
      trace::Msg(u"Install ends: the old driver stays, or the user did not confirm that the printer is connected");
      m_Session.Enter(TInstallPhase::Idle);
      return;
    }
    if (model.ForceOnlineCheck && !m_Dialogs.Unattended() && !m_bUpdateExisting) {
      m_View.SetVisible(false);
      m_View.ShowSearchingDialog();
    }
    m_Session.Enter(TInstallPhase::Running);
    RunInstallProcess(tryOnline);
  } catch (...) {
    // The window comes back before the error box tells what went wrong.
    if (m_Session.Phase() != TInstallPhase::WaitingForHost) m_Session.Enter(TInstallPhase::Idle);
    throw;
  }
  // On 64-bit Windows a started host ends the install through its message or
  // the watchdog; every other way out ends it here, on either system.
  if (m_Session.Phase() != TInstallPhase::WaitingForHost) {
    m_Session.Enter(TInstallPhase::Idle);
    m_View.FocusControl(TMainControl::btnExit);
  }
}

void TFormMain::RunInstallProcess(bool tryOnline) {
  TRInstallInfo model;
  g_InstallInfos.GetItem(m_iSelect, model);
  bool installFinish = false, instSucc = false;
  m_bOnlineInstall = false;

  m_slPrintersN.clear();
  m_slPrintersO = ModelQueueNames(model.PrinterName);
  m_strInstallingPrinter.clear();

  TString registeredInf;
  if (!BufferDriverFiles(registeredInf)) {
    trace::Error(u"Install ends: the driver files could not be buffered or registered");
    return;
  }
  // The package names its INF relative to the model's driver folder; Plug and
  // Play gets the full path of the copy the offline install uses too.
  m_Session.InstallInf = registeredInf;

  if (m_bUpdateExisting) {
    trace::Msg(u"Install: the driver of the model's queue is updated");
    m_dwLastErrorCode = UIInstallDriver(model.PrinterName, registeredInf);
    if (m_dwLastErrorCode == 0)
      Succ();
    else
      InstallFail(m_dwLastErrorCode);
    return;
  }

  if (tryOnline) {
    std::string hardwareId, inf;
    std::uint32_t code = 1;
    if (text::ExactAnsi(model.PrinterHWID, hardwareId) && text::ExactAnsi(m_Session.InstallInf, inf))
      code = ExistReqInlineSetupDevice(m_View.WindowHandle(), m_strInst2kDll, m_strPrnSetup64Exe, m_strInst2k64Dll,
                                       hardwareId, inf, model.PrinterName, installFinish);
    trace::Fmt(u"Detection answered 0x%.8x, driver installed by the test %d", {code, int(installFinish)});
    if (code == ReqOfflineInstall) {
      if (!BufferDriverFiles(registeredInf)) return;
      m_Session.InstallInf = registeredInf;
      installFinish = false;
    }
    m_bOnlineInstall = false;
    if (code == 0 && installFinish) {
      m_slPrintersN = ModelQueueNames(model.PrinterName);
      SubtractStrings(m_slPrintersN, m_slPrintersO);
      if (!m_slPrintersN.empty()) {
        m_strInstallingPrinter = m_slPrintersN.back();
        instSucc = true;
        m_bOnlineInstall = true;
      } else {
        installFinish = false;
      }
    }
    if (code == 0 && !installFinish) {
      instSucc = PrinterOnLineInstall3264(m_iSelect);
      installFinish = m_bOnlineInstall = instSucc;
      // The host now works on its own: its message or the watchdog ends the
      // install, and no offline install may run beside it.
      if (WaitingForHost()) {
        trace::Msg(u"Install: waiting for the 64-bit host");
        return;
      }
    }
  }

  if (!m_bOnlineInstall && !installFinish) {
    const TString port = m_Command.Port.empty() ? TString(u"LPT1:") : m_Command.Port;
    trace::Msg(u"Offline install on " + port);
    m_dwLastErrorCode = UIAddPrinter(model.PrinterName, registeredInf, port, m_strInstallingPrinter);
    instSucc = m_dwLastErrorCode == 0 && !m_strInstallingPrinter.empty();
    if (instSucc) {
      installFinish = true;
      m_strInstallPortName = port;
    }
    m_bOnlineInstall = false;
  }

  trace::Fmt(u"Install: finished %d, succeeded %d, online %d, code 0x%.8x, queue %s",
             {int(installFinish), int(instSucc), int(m_bOnlineInstall), m_dwLastErrorCode, m_strInstallingPrinter});
  if (instSucc && installFinish) Succ();
  if (!instSucc && !m_bOnlineInstall) InstallFail(m_dwLastErrorCode);
}

bool TFormMain::PrinterOnLineInstall3264(int modelIndex) {
  if (m_iWinVer < 50) return false;
  TRInstallInfo model;
  g_InstallInfos.GetItem(modelIndex, model);
  m_strDisConnectPort.clear();
  ShowInst2kErrorCode(m_strInst2kDll, false);

  bool result = false;
  if (!m_bWow64) {
    ShowInst2kErrorCode(m_strInst2kDll, false);
    result = InstallSpecPrinter2k(m_View.WindowHandle(), m_dwLastErrorCode, InstallInf(model.INF2K),
                                  model.OfflineHWIDPre, model.PrinterHWID, m_strInst2kDll, m_strDisConnectPort);
    if (result) {
      Sys().Sleep(100);
      Sys().Sleep(0);
      Sys().Sleep(100);
      // The maker's program after the install is for a person: a run
      // without one (often as the system account) starts nothing.
      if (!model.AfterRun.empty() && Fs().FileExists(model.AfterRun)) {
        if (m_Dialogs.Unattended())
          trace::Msg(u"Not started without a person: " + model.AfterRun);
        else
          ShellPort().ShellOpen(m_View.WindowHandle(), model.AfterRun);
      }
    }
    m_InstallingProgress = TInstallProgress::IPInstalled;
  } else {
    m_hPrnSetup64.Stop();
    THandle process = 0;
    InstallSpecPrinter64(m_View.WindowHandle(), m_strPrnSetup64Exe, InstallInf(model.INFX64), model.OfflineHWIDPre,
                         model.PrinterHWID, m_strInst2k64Dll, m_strInst2kDll, process, m_strDisConnectPort);
    // A host that cannot be started ends the install with an error naming
    // it (InstallSpecPrinter64 raises it); without a handle nothing waits.
    if (process) {
      trace::Msg(u"The 64-bit host started");
      m_hPrnSetup64.Watch(process);
      m_Session.Enter(TInstallPhase::WaitingForHost);
    }
  }
  m_strInstallPortName = m_strDisConnectPort;
  return result;
}
