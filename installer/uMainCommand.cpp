// What the command line asks of the main window: the model it names
// selected, and the one install or removal of a run without a person, which
// then ends the program with its outcome.
#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "installer/BufferSwap.h"
#include "installer/Workspace.h"
#include "installer/uMain.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "removal/UnInstallFunc.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Paths.h"
#include "sysutil/Trace.h"

void TFormMain::SetCommandLine(const TCommandLine& command) {
  m_Command = command;
  m_Dialogs.SetUnattended(command.Unattended());
  m_Session.KeepWindowHidden(!ShowsWindow());
}

int TFormMain::ModelIndex(const TString& name) {
  TRInstallInfo info;
  for (int i = 0; i < g_InstallInfos.CompleteCount(); ++i) {
    g_InstallInfos.GetItem(i, info);
    if (text::SameTextAscii(info.PrinterName, name)) return i;
  }
  return -1;
}

bool TFormMain::OwnRun() const {
  return m_Command.Unattended() || !m_Command.Valid() || m_Command.Command != TRunCommand::Install;
}

bool TFormMain::ShowsWindow() const { return !OwnRun() || (m_Command.Valid() && m_Command.Mode == TRunMode::Passive); }

TString TFormMain::ModelList() {
  TString list;
  TRInstallInfo info;
  for (int i = 0; i < g_InstallInfos.CompleteCount(); ++i) {
    g_InstallInfos.GetItem(i, info);
    list += info.PrinterName + u"\t" + info.PrinterHWID + u"\t" + info.DriverDir + u"\r\n";
  }
  return list;
}

void TFormMain::RunCommand() {
  if (m_bFinished) return;
  // A removal, a listing or the usage shows no main window: their boxes
  // stand alone, and they end the program.
  const bool ownRun = OwnRun();
  const strInstaller& s = g_strInstaller;
  if (!m_Command.Valid()) {
    m_Outcome = TRunOutcome::BadCommandLine;
    trace::Error(u"Command line: " + m_Command.BadArgument + u" " + m_Command.Error);
    m_Dialogs.Tell(s.CMDParameterError + u"\r\n" + m_Command.BadArgument, s.NoticeTitle, mb::Ok | mb::IconError);
    FinishUnattended();
    return;
  }
  if (m_Command.Command == TRunCommand::Usage || m_Command.Command == TRunCommand::List) {
    m_Outcome = TRunOutcome::Succeeded;
    const TString usage = SystemUiText(TUiText::CmdUsage);
    if (m_Command.Command == TRunCommand::List)
      m_View.WriteOutput(ModelList());
    else if (!m_View.WriteOutput(usage + u"\r\n"))
      m_Dialogs.Tell(usage, s.NoticeTitle, mb::Ok | mb::IconInformation);
    FinishUnattended();
    return;
  }
  if (!m_Command.Model.empty()) {
    const int index = ModelIndex(m_Command.Model);
    if (index < 0) {
      m_Outcome = TRunOutcome::BadCommandLine;
      m_Dialogs.Tell(WithRecordLine(text::Format(LangText(TUiText::CmdUnknownModel), {m_Command.Model})),
                     g_strInstaller.NoticeTitle, mb::Ok | mb::IconError);
      if (ownRun) FinishUnattended();
      return;
    }
    m_iPreselect = m_iSelect = index;
    if (index < m_View.ListCount()) m_View.SelectListItem(index);
  }
  if (!ownRun) return;
  trace::Fmt(u"Run without the window: %s of \"%s\"",
             {m_Command.Command == TRunCommand::Uninstall ? u"removal" : u"install", m_Command.Model});
  try {
    if (m_Command.Command == TRunCommand::Uninstall)
      UninstallSelected();
    else
      InstallSelectPrinter(true);
  } catch (const Exception& e) {
    m_Outcome = TRunOutcome::Failed;
    m_Dialogs.Error(WithRecordLine(e.Message()));
  }
  // A host that works ends the run with its answer (HostMessage).
  if (!WaitingForHost()) FinishUnattended();
}

void TFormMain::FinishUnattended() {
  if (m_bFinished) return;
  m_bFinished = true;
  trace::Fmt(u"The run ends with exit code %d", {ExitCodeOf(m_Outcome)});
  m_View.Terminate();
}

void TFormMain::UninstallSelected() {
  if (m_iSelect < 0 || m_iSelect >= g_InstallInfos.CompleteCount()) return;
  TRInstallInfo model;
  g_InstallInfos.GetItem(m_iSelect, model);
  const strInstaller& s = g_strInstaller;
  m_Outcome = TRunOutcome::Failed;
  if (m_Dialogs.Ask(TQuestion::Uninstall, s.BeforeUnInstallPrompt + model.PrinterName, s.NoticeTitle,
                    mb::YesNo | mb::IconQuestion) != mb::IdYes) {
    m_Outcome = TRunOutcome::Cancelled;
    return;
  }
  // The registered copies are those of the buffered INF, which is the package's file.
  const TString infName = m_bWow64 ? model.INFX64 : model.INF2K;
  TString programFiles, buffer;
  if (ShellPort().GetProgramFilesFolder(m_View.WindowHandle(), programFiles) && !m_strManufactor.empty() &&
      paths::IsPlainFileName(m_strManufactor) && paths::IsPlainFileName(model.PrinterName))
    buffer = bufferswap::FolderFor(programFiles, m_strManufactor, model.PrinterName);
  TString inf = buffer.empty() ? TString() : buffer + u"\\" + infName;
  if (inf.empty() || !Fs().FileExists(inf)) inf = model.DriverDir + u"\\" + infName;
  const TString programDir = paths::ExtractFileDir(Sys().GetModuleFileName());
  const TString uninstaller =
      paths::IsBelow(model.UninstallerOnRestart, programDir) ? model.UninstallerOnRestart : TString();

  const std::uint32_t code = UninstallModel(model.PrinterName, s.OEMManufactor, inf, uninstaller);
  trace::Fmt(u"Removal of the model answered %u", {code});
  if ((code == kDeleteDone || code == kDeleteDriverRemained) && !buffer.empty()) workspace::DeleteTree(buffer);
  switch (code) {
    case kDeleteDone:
      m_Outcome = TRunOutcome::Succeeded;
      m_Dialogs.Tell(s.DeletePrinterSucceed, s.NoticeTitle, mb::Ok | mb::IconInformation);
      return;
    case kDeletePrinting:
      m_Dialogs.Tell(s.DeletePrinterIsPrinting, LangText(TUiText::ErrorTitle), mb::Ok | mb::IconError);
      return;
    case kDeleteDriverRemained:
      m_Outcome = TRunOutcome::RestartNeeded;
      if (m_Dialogs.Ask(TQuestion::RestartNow, s.DeletePrinterDriverError + u"\r\n" + s.RestartWindowsimmediately,
                        s.NoticeTitle, mb::YesNo | mb::IconInformation) == mb::IdYes &&
          RestartWindows())
        m_Outcome = TRunOutcome::RestartStarted;
      return;
    case kDeleteDriverNotScheduled:
      m_Dialogs.Tell(WithRecordLine(LangText(TUiText::DeleteDriverNotScheduled)), s.NoticeTitle,
                     mb::Ok | mb::IconWarning);
      return;
    default:
      m_Dialogs.Tell(WithRecordLine(s.DeletePrinterError), LangText(TUiText::ErrorTitle), mb::Ok | mb::IconError);
      return;
  }
}
