// Test equipment: a library planted where an attacker could write (beside
// the installer, in the workspace) under the name of a system library. When
// any process loads it, it leaves "<its own path>.loaded" naming that
// process. Every export is the same stub (its .def names them), which does
// nothing and fails: enough to be obeyed instead of the system's library.
#include "win32/WinApi.h"

extern "C" int PlantedStub() {
  ::SetLastError(ERROR_NOT_SUPPORTED);
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t own[MAX_PATH], process[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(self, own, MAX_PATH - 8);
  const DWORD m = ::GetModuleFileNameW(nullptr, process, MAX_PATH);
  if (n == 0 || n >= MAX_PATH - 8) return TRUE;
  ::lstrcatW(own, L".loaded");
  HANDLE marker = ::CreateFileW(own, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker == INVALID_HANDLE_VALUE) return TRUE;
  DWORD written = 0;
  ::WriteFile(marker, process, m * sizeof(wchar_t), &written, nullptr);
  ::CloseHandle(marker);
  return TRUE;
}
