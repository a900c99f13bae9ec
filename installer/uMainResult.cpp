// The outcome of an install: the new queue found, repaired and configured and
// the success box (Succ), the failure boxes with their offers to try again
// (InstallFail), and the watchdog of the 64-bit host.
#include "base/SystemCodes.h"
#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "install/InstallFunc.h"
#include "installer/uMain.h"
#include "platform/IProcess.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Trace.h"

void TFormMain::ConfigureNewQueue(const TRInstallInfo& model, TString& port, bool& restartNote) {
  TChangePrinterInfo info;
  info.OrgName = m_strInstallingPrinter;
  // "ADDLOCAL:" asks for a local port to be created, so it need not exist.
  // A port named on the command line is the one the queue keeps.
  info.Port = m_Command.Port.empty() ? model.DefaultPort : m_Command.Port;
  if (!PortExists(info.Port) && !text::ContainsTextAscii(text::UpperAscii(info.Port), u"ADDLOCAL:"))
    info.Port = m_strDisConnectPort;
  info.bSetDefault = m_bOnlineInstall || model.AlwaysSetDefault;
  info.Process = model.PrintProcess.empty() ? TString(u"WinPrint") : model.PrintProcess;
  restartNote = !model.PrintProcess.empty();
  ChangePrinterInfo(info);
  port = info.Port;
}

void TFormMain::Succ() {
  m_View.ProcessMessages();
  TRInstallInfo model;
  g_InstallInfos.GetItem(m_iSelect, model);
  m_slPrintersN = ModelQueueNames(model.PrinterName);

  if (m_strInstallingPrinter.empty()) {
    SubtractStrings(m_slPrintersN, m_slPrintersO);
    if (!m_slPrintersN.empty()) {
      m_strInstallingPrinter = m_slPrintersN.back();
      if (m_slPrintersN.size() > 1) {
        for (const TString& name : m_slPrintersN) {
          TString port;
          GetPrinterPort(name, port);
          if (port == m_strInstallPortName) {
            m_strInstallingPrinter = name;
            break;
          }
        }
      }
    }
  }
  TString queue = m_strInstallingPrinter;
  trace::Fmt(u"Success reported; new queue \"%s\" (%d new queues of the model)", {queue, int(m_slPrintersN.size())});
  const strInstaller& s = g_strInstaller;

  // No new queue: the printer may have had one before (Plug and Play serves
  // it with that one), or its driver was updated. The box names it and its
  // own port, and nothing is changed; with no queue of the model at all the
  // install has failed.
  const bool existing = queue.empty();
  if (existing && m_bUpdateExisting) {
    const TStringList updated = QueuesOfDriver(model.PrinterName);
    if (!updated.empty()) queue = updated.front();
  }
  if (existing && queue.empty()) {
    for (const TString& name : ModelQueueNames(model.PrinterName)) {
      TString port;
      GetPrinterPort(name, port);
      if (queue.empty() || (!m_strInstallPortName.empty() && port == m_strInstallPortName)) queue = name;
    }
    if (queue.empty()) {
      m_Session.Enter(TInstallPhase::Idle);
      m_strInstallPortName.clear();
      m_Outcome = TRunOutcome::Failed;
      m_Dialogs.Tell(WithRecordLine(text::Format(LangText(TUiText::NoQueueAfterSuccess), {model.PrinterName}) +
                                    u"\r\n" + s.InstallRetry),
                     s.NoticeTitle, mb::Ok | mb::IconWarning);
      return;
    }
    trace::Msg(u"No new queue; the model's existing queue is " + queue);
  } else if (!PrinterExists(queue)) {
    AddLptPrinter(model.PrinterName, queue);
    if (!m_strInstallPortName.empty()) SetPrinterPort(queue, m_strInstallPortName);
  }

  m_Session.Enter(TInstallPhase::Idle);

  TString configuredPort;
  bool restartNote = false;
  if (!existing) ConfigureNewQueue(model, configuredPort, restartNote);

  m_strInstallPortName.clear();
  GetPrinterPort(queue, m_strInstallPortName);
  if (m_strInstallPortName.empty()) m_strInstallPortName = configuredPort.empty() ? u"LPT1:" : configuredPort;

  TString message = text::Format(s.InstallSuccessStr, {queue, m_strInstallPortName});
  if (restartNote) message += u"\r\n" + s.RestartPrompt;
  if (m_Outcome != TRunOutcome::RestartStarted)
    m_Outcome = restartNote || m_bRestartPending ? TRunOutcome::RestartNeeded : TRunOutcome::Succeeded;
  m_Dialogs.Tell(message, s.NoticeTitle, mb::Ok | mb::IconInformation);

  m_strInstallingPrinter.clear();
  m_strInstallPortName.clear();
}

void TFormMain::InstallFail(std::uint32_t errorCode) {
  m_Session.Enter(TInstallPhase::Idle);
  m_dwLastErrorCode = errorCode;
  if (m_Outcome != TRunOutcome::RestartStarted) m_Outcome = TRunOutcome::Failed;
  trace::Call(u"Failure reported", errorCode, errorCode ? Sys().SysErrorMessage(errorCode) : TString());
  const strInstaller& s = g_strInstaller;
  switch (errorCode) {
    case 0:
      return;
    case UIAddPrinterFailed:
    case UIAddPrinterUnknown:
      // What the print UI said, when it said anything.
      m_Dialogs.Tell(WithRecordLine(s.InstallFailReasonUnknow +
                                    (LastPrintUIReport().empty() ? TString() : u"\r\n" + LastPrintUIReport()) +
                                    u"\r\n" + s.InstallRetry),
                     s.NoticeTitle, mb::Ok | mb::IconWarning);
      return;
    case kErrorNoSuchDevinst: {
      // The printer was found once and is gone: on LPT1: the offline install
      // is the same port, elsewhere the user chooses. The retry runs after
      // this outcome, as the sequence's next attempt.
      if (m_strDisConnectPort == u"LPT1:") {
        InstallSelectPrinter(false);
        return;
      }
      const int answer = m_Dialogs.Ask(TQuestion::PrinterGone, text::Format(s.InstallOnline, {m_strDisConnectPort}),
                                       s.NoticeTitle, mb::YesNoCancel | mb::IconWarning);
      if (answer == mb::IdCancel) m_Outcome = TRunOutcome::Cancelled;
      if (answer == mb::IdYes) InstallSelectPrinter(true);
      if (answer == mb::IdNo) InstallSelectPrinter(false);
      return;
    }
    case kErrorNoCatalogForOemInf:
      // The user declined the unsigned driver.
      m_Outcome = TRunOutcome::Cancelled;
      m_Dialogs.Tell(s.InstallCancelStr, s.NoticeTitle, mb::Ok);
      return;
    default:
      m_Dialogs.Tell(
          WithRecordLine(text::Format(s.InstallFailStr, {Sys().SysErrorMessage(errorCode)}) + u"\r\n" + s.InstallRetry),
          s.NoticeTitle, mb::Ok | mb::IconInformation);
      return;
  }
}

void TFormMain::tmrSetup64ErrorTimer() {
  if (m_InstallingProgress != TInstallProgress::IPInstalling || !m_bWow64) return;
  // A host that never started, or whose state cannot be read, counts as ended.
  if (m_hPrnSetup64.Running()) return;
  m_hPrnSetup64.Stop();
  // The host ended without reporting: the user reads the system's text for
  // a process that ended unexpectedly.
  HostMessage(kMsgInstallFail, kErrorProcessAborted);
}

void TFormMain::HostMessage(std::uint32_t message, std::uint32_t lParam) {
  if (!WaitingForHost()) return;
  try {
    if (message == kMsgInstallSucc) Succ();
    if (message == kMsgInstallFail) InstallFail(lParam);
  } catch (const Exception& e) {
    m_Session.Enter(TInstallPhase::Idle);
    m_Outcome = TRunOutcome::Failed;
    m_Dialogs.Error(WithRecordLine(e.Message()));
  }
  // A run without a person ends with the host's answer (or the retry it asked for).
  if (m_Dialogs.Unattended() && !WaitingForHost() && !m_Session.InSequence()) FinishUnattended();
}
