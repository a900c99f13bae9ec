// A component written through the file system's lock: the loader and
// CreateProcess can use it, nobody can change, rename or delete it.
#include <gtest/gtest.h>

#include "WineHarness.h"
#include "platform/IFileSystem.h"
#include "win32/adapters/Win32Ports.h"

namespace {

TString T16(const std::wstring& s) { return TString(s.begin(), s.end()); }

class ComponentLock : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Ports();
    dir = harness::NewTempFolder(L"lock");
  }
  // Writes the bytes of `source` to dir\name through the lock.
  std::wstring WriteLocked(const std::wstring& source, const wchar_t* name) {
    std::wstring path = harness::Join(dir, name);
    std::string bytes = harness::ReadBytes(source);
    EXPECT_GT(bytes.size(), 2u) << "missing test input";
    THandle lock{};
    EXPECT_TRUE(Fs().WriteFileLocked(T16(path), bytes, lock));
    locks.push_back(lock);
    return path;
  }
  void ExpectProtected(const std::wstring& path) {
    HANDLE w = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(w, INVALID_HANDLE_VALUE) << "opened for writing";
    if (w != INVALID_HANDLE_VALUE) CloseHandle(w);
    EXPECT_FALSE(DeleteFileW(path.c_str())) << "deleted";
    EXPECT_FALSE(MoveFileW(path.c_str(), (path + L".old").c_str())) << "renamed";
  }
  void TearDown() override {
    for (THandle l : locks) Fs().CloseLocked(l);
  }
  std::wstring dir;
  std::vector<THandle> locks;
};

TEST_F(ComponentLock, LibraryLoadsAndProgramStartsWhileNobodyCanChangeThem) {
  // The library this program can load: the 64-bit one, or the 32-bit one.
  const bool is64 = sizeof(void*) == 8;
  std::wstring dll = WriteLocked(
      harness::Join(harness::Env(is64 ? L"DS_DIST_WIN64" : L"DS_DIST_WIN32"), is64 ? L"inst2k64.dll" : L"inst2k.dll"),
      L"inst2k.dll");
  std::wstring exe = WriteLocked(harness::Join(harness::Env(L"DS_WINE_TESTS_WIN"), L"ds_sleeper.exe"), L"child.exe");

  HMODULE module = LoadLibraryW(dll.c_str());
  EXPECT_NE(module, nullptr) << "LoadLibraryW failed with " << GetLastError();

  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\" 0";
  BOOL started =
      CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
  EXPECT_TRUE(started) << "CreateProcessW failed with " << GetLastError();
  if (started) {
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }

  ExpectProtected(dll);
  ExpectProtected(exe);
  if (module) FreeLibrary(module);
}

TEST_F(ComponentLock, ReleasedComponentCanBeDeleted) {
  std::wstring exe = WriteLocked(harness::Join(harness::Env(L"DS_WINE_TESTS_WIN"), L"ds_sleeper.exe"), L"child.exe");
  for (THandle l : locks) Fs().CloseLocked(l);
  locks.clear();
  EXPECT_TRUE(DeleteFileW(exe.c_str()));
}

}  // namespace
