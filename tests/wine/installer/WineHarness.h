// Helpers for driving the real installer from a test program: starting it,
// finding its windows and reading their texts across processes.
#pragma once

#include "win32/WinApi.h"

#include <string>
#include <vector>

namespace harness {

std::wstring Env(const wchar_t* name);
// The configuration scripts/run-wine-tests.sh runs (win64, wow64 or win32)
// and the folder of the installer it puts under test there.
std::wstring Config();
std::wstring InstallerDist();
std::wstring Join(const std::wstring& dir, const std::wstring& name);
bool CopyTree(const std::wstring& from, const std::wstring& to);
void DeleteTree(const std::wstring& dir);
std::string ReadBytes(const std::wstring& path);
void WriteUtf16File(const std::wstring& path, const std::wstring& text);
std::wstring NewTempFolder(const wchar_t* tag);
std::vector<std::wstring> TempWorkspaces();  // tmp* folders in %TEMP%

struct Process {
  HANDLE Handle = nullptr;
  DWORD Id = 0;
  ~Process();
  bool WaitExit(DWORD ms);
};
bool Start(const std::wstring& exe, const std::wstring& cwd, Process& p);

// The first visible top-level window of the process with this class.
HWND WaitWindow(DWORD pid, const wchar_t* cls, DWORD ms, bool visibleOnly = true);
std::wstring Text(HWND h);
int ListCount(HWND lv);
std::wstring ListItemText(HANDLE process, HWND lv, int index);
void ListSelect(HANDLE process, HWND lv, int index);
std::wstring StatusText(HANDLE process, HWND sb);

}  // namespace harness
