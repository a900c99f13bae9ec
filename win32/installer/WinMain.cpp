// Program entry of the installer.
#include "win32/WinApi.h"

#include <commctrl.h>

#include "config/InstallInfos.h"
#include "installer/CommandLine.h"
#include "installer/SingleInstance.h"
#include "sysutil/Trace.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/RecordVariables.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/Win32Spooler.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/CheckCommand.h"
#include "win32/installer/CommonControls.h"
#include "win32/installer/MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // A maker's package check: a report and an exit code, nothing else.
  if (IsCheckCommandLine(::GetCommandLineW())) return RunCheckFromCommandLine(instance, ::GetCommandLineW());
  // The installer runs elevated and later loads libraries by full path: no
  // library is ever picked up from the program's folder, the current folder
  // or the workspace. It imports only the system's known libraries; the
  // others are loaded from the system folder when first needed.
  win::RestrictLibrarySearch();
  InstallWin32Ports(instance);
  const TCommandLine command = ParseCommandLine(T(::GetCommandLineW()));
  // The record goes where the command line says, for the library and the
  // host too; an inherited setting is never taken.
  const TString record = command.Log.empty() ? TString() : win::FullPathName(command.Log);
  if (!record.empty()) trace::SetRecordFile(record);
  ::SetEnvironmentVariableW(kRecordFileVariable, record.empty() ? nullptr : W(record));
  ::SetEnvironmentVariableW(kNoBoxesVariable, command.Unattended() ? L"1" : nullptr);
  // Without a person no box may wait for one, not even an unexpected error's.
  SetStandardErrorBoxes(!command.Unattended());
  // Before anything is written: a second installer shows the first one's
  // window (class TFormMain) and ends; one without a person ends with the
  // code deployment tools retry on. A listing, the usage and a command line
  // that cannot be acted on install nothing.
  if (command.Valid() && (command.Command == TRunCommand::Install || command.Command == TRunCommand::Uninstall) &&
      !single::ClaimInstall(u"TFormMain", !command.Unattended())) {
    trace::Msg(u"Another install runs on this machine; this one ends");
    return ExitCodeOf(TRunOutcome::Busy);
  }
  InstallWin32Spooler();
  InitSysLangID();

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  if (win::CommonControls().InitCommonControlsEx) win::CommonControls().InitCommonControlsEx(&icc);

  TMainWindow mainWindow(instance);
  mainWindow.Form().SetCommandLine(command);
  HWND main = mainWindow.Create();
  if (!main) return ExitCodeOf(TRunOutcome::Failed);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (mainWindow.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // A requested termination leaves the loop with the window still there: its
  // destruction runs the clean-up.
  if (mainWindow.Hwnd()) DestroyWindow(mainWindow.Hwnd());
  return ExitCodeOf(mainWindow.Form().Outcome());
}
