#include "Inst2kWineSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace inst2kwine {

std::wstring Env(const wchar_t* name) {
  wchar_t buf[4096];
  DWORD n = GetEnvironmentVariableW(name, buf, 4096);
  return n && n < 4096 ? std::wstring(buf, n) : std::wstring();
}

std::wstring Join(const std::wstring& dir, const std::wstring& name) {
  if (dir.empty() || dir.back() == L'\\') return dir + name;
  return dir + L"\\" + name;
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Narrow(const std::wstring& s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::wstring DistWin64() { return Env(L"DS_DIST_WIN64"); }
std::wstring DistWin32() { return Env(L"DS_DIST_WIN32"); }

std::wstring WineTestsDir() {
  std::wstring dir = Env(L"DS_WINE_TESTS_WIN");
  if (!dir.empty()) return dir;
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring DemoInf() { return Join(Env(L"DS_ROOT_WIN"), L"examples\\demo-package\\Drivers\\TS2100\\TS2100.inf"); }

std::wstring NewTempFolder(const std::wstring& tag) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  for (unsigned i = GetTickCount() % 100000;; ++i) {
    std::wstring dir = Join(temp, tag + L"-" + std::to_wstring(i));
    if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

void DeleteTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Join(dir, L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring p = Join(dir, name);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(p);
      else
        DeleteFileW(p.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

bool Start(const std::wstring& commandLine, const std::wstring& cwd, PROCESS_INFORMATION& pi, DWORD creationFlags) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  std::vector<wchar_t> cmd(commandLine.begin(), commandLine.end());
  cmd.push_back(L'\0');
  return CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, creationFlags, nullptr,
                        cwd.empty() ? nullptr : cwd.c_str(), &si, &pi) != FALSE;
}

DWORD Run(const std::wstring& commandLine, const std::wstring& cwd, DWORD timeoutMs) {
  PROCESS_INFORMATION pi{};
  if (!Start(commandLine, cwd, pi)) return 0xFFFFFFFF;
  DWORD code = 0xFFFFFFFF;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

DWORD DevNodeTool(const std::wstring& args) {
  return Run(L"\"" + Join(WineTestsDir(), L"inst2k_devnode.exe") + L"\" " + args);
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string out;
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
  CloseHandle(f);
  return out;
}

bool ReadHklmValue(const std::string& key, const std::string& name, DWORD& type, std::string& data) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  char buf[1024];
  DWORD size = sizeof buf;
  LONG r = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return false;
  data.assign(buf, size);
  return true;
}

bool UsbClassRegistered() {
  HKEY key;
  const bool exists = RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                    "System\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}", 0,
                                    KEY_READ, &key) == ERROR_SUCCESS;
  if (exists) RegCloseKey(key);
  return exists;
}

void ExpectHostEndsCleanly(PROCESS_INFORMATION& host, DWORD timeoutMs) {
  EXPECT_EQ(WaitForSingleObject(host.hProcess, timeoutMs), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD exitCode = 1;
  GetExitCodeProcess(host.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(host.hProcess);
  CloseHandle(host.hThread);
}

}  // namespace inst2kwine
