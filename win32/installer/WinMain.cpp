// Program entry of the installer.
#include "win32/WinApi.h"

#include <commctrl.h>

#include "config/InstallInfos.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/Win32Spooler.h"
#include "win32/installer/MainWindow.h"
#include "win32/installer/SearchingWindow.h"

namespace {

// The installer runs elevated and later loads libraries by full path: make
// sure no library is ever picked up from the program's folder, the current
// folder or the workspace as a dependency.
void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");  // older systems: at least take the current folder out
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictLibrarySearch();
  InstallWin32Ports(instance);
  InstallWin32Spooler();
  InitSysLangID();

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  TMainWindow mainWindow(instance);
  HWND main = mainWindow.Create();
  if (!main) return 1;
  CreateSearchingDialog(main);

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
