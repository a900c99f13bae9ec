#include "WineHarness.h"

#include <commctrl.h>

namespace harness {

std::wstring Env(const wchar_t* name) {
  wchar_t buf[4096];
  DWORD n = GetEnvironmentVariableW(name, buf, 4096);
  return n && n < 4096 ? std::wstring(buf, n) : std::wstring();
}

std::wstring Config() { return Env(L"DS_WINE_CONFIG").empty() ? L"win64" : Env(L"DS_WINE_CONFIG"); }
std::wstring InstallerDist() {
  return Env(L"DS_DIST_INSTALLER").empty() ? Env(L"DS_DIST_WIN64") : Env(L"DS_DIST_INSTALLER");
}

std::wstring Join(const std::wstring& dir, const std::wstring& name) {
  return dir.empty() || dir.back() == L'\\' ? dir + name : dir + L"\\" + name;
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Join(from, L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    std::wstring n = fd.cFileName;
    if (n == L"." || n == L"..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ok = CopyTree(Join(from, n), Join(to, n)) && ok;
    else
      ok = CopyFileW(Join(from, n).c_str(), Join(to, n).c_str(), FALSE) && ok;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return ok;
}

void DeleteTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Join(dir, L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring n = fd.cFileName;
      if (n == L"." || n == L"..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(Join(dir, n));
      else
        DeleteFileW(Join(dir, n).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got) out.append(buf, got);
  CloseHandle(h);
  return out;
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD w = 0;
  WriteFile(h, "\xFF\xFE", 2, &w, nullptr);
  WriteFile(h, text.data(), static_cast<DWORD>(text.size() * 2), &w, nullptr);
  CloseHandle(h);
}

std::wstring NewTempFolder(const wchar_t* tag) {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::wstring dir = Join(tmp, std::wstring(L"dswt-") + tag + L"-" + std::to_wstring(GetTickCount()));
  DeleteTree(dir);
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::vector<std::wstring> TempWorkspaces() {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  wchar_t longTmp[MAX_PATH];
  GetLongPathNameW(tmp, longTmp, MAX_PATH);
  std::vector<std::wstring> out;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Join(longTmp, L"tmp*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) out.push_back(Join(longTmp, fd.cFileName));
  while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

Process::~Process() {
  if (Handle) {
    if (WaitForSingleObject(Handle, 0) == WAIT_TIMEOUT) TerminateProcess(Handle, 1);
    CloseHandle(Handle);
  }
}

bool Process::WaitExit(DWORD ms) { return WaitForSingleObject(Handle, ms) == WAIT_OBJECT_0; }

bool Start(const std::wstring& exe, const std::wstring& cwd, Process& p) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  p.Handle = pi.hProcess;
  p.Id = pi.dwProcessId;
  WaitForInputIdle(pi.hProcess, 5000);
  return true;
}

namespace {
struct Search {
  DWORD Pid;
  const wchar_t* Cls;
  bool Visible;
  HWND Found;
};
BOOL CALLBACK EnumProc(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[256];
  GetClassNameW(h, cls, 256);
  if (pid == s->Pid && lstrcmpW(cls, s->Cls) == 0 && (!s->Visible || IsWindowVisible(h))) {
    s->Found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitWindow(DWORD pid, const wchar_t* cls, DWORD ms, bool visibleOnly) {
  DWORD start = GetTickCount();
  do {
    Search s{pid, cls, visibleOnly, nullptr};
    EnumWindows(EnumProc, reinterpret_cast<LPARAM>(&s));
    if (s.Found) return s.Found;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

std::wstring Text(HWND h) {
  wchar_t buf[4096] = {};
  SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buf;
}

int ListCount(HWND lv) { return static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)); }

namespace {
// Memory in the other process for messages that carry pointers.
struct Remote {
  HANDLE Process;
  void* Ptr;
  Remote(HANDLE p, size_t n) : Process(p), Ptr(VirtualAllocEx(p, nullptr, n, MEM_COMMIT, PAGE_READWRITE)) {}
  ~Remote() { VirtualFreeEx(Process, Ptr, 0, MEM_RELEASE); }
  char* At(size_t off) const { return static_cast<char*>(Ptr) + off; }
};
}  // namespace

std::wstring ListItemText(HANDLE process, HWND lv, int index) {
  Remote mem(process, sizeof(LVITEMW) + 2048 * sizeof(wchar_t));
  LVITEMW item{};
  item.iSubItem = 0;
  item.cchTextMax = 2048;
  item.pszText = reinterpret_cast<wchar_t*>(mem.At(sizeof(LVITEMW)));
  WriteProcessMemory(process, mem.Ptr, &item, sizeof(item), nullptr);
  SendMessageW(lv, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(mem.Ptr));
  wchar_t buf[2048] = {};
  ReadProcessMemory(process, mem.At(sizeof(LVITEMW)), buf, sizeof(buf) - sizeof(wchar_t), nullptr);
  return buf;
}

void ListSelect(HANDLE process, HWND lv, int index) {
  Remote mem(process, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  WriteProcessMemory(process, mem.Ptr, &item, sizeof(item), nullptr);
  SendMessageW(lv, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(mem.Ptr));
}

std::wstring StatusText(HANDLE process, HWND sb) {
  Remote mem(process, 4096 * sizeof(wchar_t));
  SendMessageW(sb, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(mem.Ptr));
  wchar_t buf[4096] = {};
  ReadProcessMemory(process, mem.Ptr, buf, sizeof(buf) - sizeof(wchar_t), nullptr);
  return buf;
}

}  // namespace harness
