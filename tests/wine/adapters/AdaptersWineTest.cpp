// The Win32 adapters of the module, thread, process, shell and file-system
// ports against Wine's real implementation.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include <atomic>

#include "WineHarness.h"
#include "platform/IFileSystem.h"
#include "platform/IModules.h"
#include "platform/IProcess.h"
#include "platform/IRecord.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "platform/IThreads.h"
#include "sysutil/ProfileFile.h"
#include "win32/adapters/Win32Ports.h"

namespace {

TString U(const std::wstring& s) { return TString(s.begin(), s.end()); }

class Adapters : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Ports();
    dir = U(harness::NewTempFolder(L"adapters"));
  }
  TString dir;
};

TEST_F(Adapters, ModuleIsLoadedLookedUpAndReleased) {
  TModule lib;
  ASSERT_TRUE(lib.Load(U(harness::Join(harness::Env(L"DS_DIST_WIN64"), L"inst2k64.dll"))));
  EXPECT_NE(lib.Get<void (*)()>("RefreshHW"), nullptr);
  EXPECT_EQ(lib.Get<void (*)()>("NoSuchExport"), nullptr);
  lib.Release();
  EXPECT_FALSE(lib.Load(dir + u"\\missing.dll"));
  EXPECT_EQ(Sys().GetLastError(), 126u);
}

TEST_F(Adapters, DetachedThreadRuns) {
  static std::atomic<int> ran{0};
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(Threads().StartDetached([done] {
    ran = 1;
    SetEvent(done);
  }));
  EXPECT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(ran.load(), 1);
  CloseHandle(done);
}

TEST_F(Adapters, ProgramStartsInItsFolderAndEndsWithItsCode) {
  // cmd.exe writes its current folder into a file there and ends with 7.
  TStartup s;
  s.CommandLine = u"cmd.exe /c cd > here.txt & exit 7";
  s.CurrentDirectory = dir;
  s.CreationFlags = IProcess::DetachedProcess;
  TProcessInfo pi;
  ASSERT_TRUE(Proc().StartProcess(s, pi)) << Sys().GetLastError();
  EXPECT_EQ(Proc().WaitForSingleObject(pi.Process, 20000), IProcess::WaitObject0);
  std::uint32_t code = 0;
  EXPECT_TRUE(Proc().GetExitCodeProcess(pi.Process, code));
  EXPECT_EQ(code, 7u);
  Proc().CloseHandle(pi.Process);
  Proc().CloseHandle(pi.Thread);
  std::string here;
  ASSERT_TRUE(Fs().ReadFile(dir + u"\\here.txt", here));
  EXPECT_NE(text::LowerAscii(text::FromAnsi(here)).find(text::LowerAscii(dir)), TString::npos) << here;
}

TEST_F(Adapters, ShellFolderCopyTreeDeleteAndProfileWrite) {
  TString programFiles;
  ASSERT_TRUE(ShellPort().GetProgramFilesFolder(0, programFiles));
  EXPECT_TRUE(Fs().DirectoryExists(programFiles)) << text::ToUtf8(programFiles);

  ASSERT_TRUE(Fs().CreateDirectory(dir + u"\\tree"));
  ASSERT_TRUE(Fs().CreateDirectory(dir + u"\\tree\\sub"));
  ASSERT_TRUE(Fs().WriteFile(dir + u"\\a.txt", "one"));
  ASSERT_TRUE(Fs().WriteFile(dir + u"\\tree\\sub\\b.txt", "old"));
  ASSERT_TRUE(Fs().CopyFile(dir + u"\\a.txt", dir + u"\\tree\\sub\\b.txt"));
  std::string bytes;
  ASSERT_TRUE(Fs().ReadFile(dir + u"\\tree\\sub\\b.txt", bytes));
  EXPECT_EQ(bytes, "one");
  EXPECT_EQ(ShellPort().DeleteTree(0, dir + u"\\tree"), 0);
  EXPECT_FALSE(Fs().DirectoryExists(dir + u"\\tree"));

  const TString ini = dir + u"\\x.ini";
  ASSERT_TRUE(Fs().WriteProfileString(ini, u"Data", u"Flag", u"4"));
  ASSERT_TRUE(Fs().WriteProfileString(ini, u"Data", u"Ret", u"3758096907"));
  ASSERT_TRUE(Fs().WriteProfileString(ini, u"Data", u"Flag", u"5"));
  TProfileFile f;
  ASSERT_TRUE(f.Open(ini));
  EXPECT_EQ(f.ReadString(u"Data", u"Flag", u""), u"5");
  EXPECT_EQ(f.ReadString(u"Data", u"Ret", u""), u"3758096907");
}

TEST_F(Adapters, RecordLockIsHeldByOneWriterAndGoesWithItsHandle) {
  const TString lock = dir + u"\\DriverSetup.log.lock";
  ASSERT_TRUE(Fs().WriteFile(lock, "left by a writer that ended"));  // no lock by itself
  const THandle held = RecordPort()->LockRecord(lock);
  ASSERT_NE(held, 0u);
  EXPECT_EQ(RecordPort()->LockRecord(lock), 0u) << "a second writer shares the lock";
  RecordPort()->UnlockRecord(held);
  EXPECT_FALSE(Fs().FileExists(lock));
}

}  // namespace
