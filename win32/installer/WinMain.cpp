// Program entry of the installer.
#include "win32/WinApi.h"

#include <commctrl.h>

#include "config/InstallInfos.h"
#include "installer/SingleInstance.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/Win32Spooler.h"
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
  // Before anything is written: a second installer shows the first one's window (class TFormMain) and ends.
  if (!single::ClaimInstall(u"TFormMain")) return 0;
  InstallWin32Spooler();
  InitSysLangID();

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  if (win::CommonControls().InitCommonControlsEx) win::CommonControls().InitCommonControlsEx(&icc);

  TMainWindow mainWindow(instance);
  HWND main = mainWindow.Create();
  if (!main) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (mainWindow.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // A requested termination leaves the loop with the window still there: its
  // destruction runs the clean-up.
  if (mainWindow.Hwnd()) DestroyWindow(mainWindow.Hwnd());
  return 0;
}
