// The command runner with real Windows child processes under Wine.
#include <gtest/gtest.h>

#include "WineHarness.h"
#include "sysutil/MyUtils.h"
#include "win32/adapters/Win32Ports.h"

namespace {

class RunCmdWine : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Ports();
    std::wstring dir = harness::Env(L"DS_WINE_TESTS_WIN");
    ASSERT_FALSE(dir.empty());
    sleeper = u"\"" + TString(reinterpret_cast<const char16_t*>(harness::Join(dir, L"ds_sleeper.exe").c_str())) + u"\"";
  }
  TString sleeper;
};

TEST_F(RunCmdWine, CollectsTheChildsOutput) {
  TStringList out;
  EXPECT_EQ(RunCMD(sleeper + u" 0 hello world", out), 1);
  ASSERT_GE(out.size(), 2u);
  TString all;
  for (auto& s : out) all += s;
  EXPECT_EQ(all, u"hello world");
  EXPECT_EQ(out.back(), u"");
}

TEST_F(RunCmdWine, SilentChildAndMissingProgram) {
  TStringList out;
  EXPECT_EQ(RunCMD(sleeper + u" 0", out), 0);
  EXPECT_EQ(out, TStringList{u""});
  TStringList none;
  EXPECT_EQ(RunCMD(u"Z:\\no\\such\\program.exe /x", none), -2);
  EXPECT_TRUE(none.empty());
}

TEST_F(RunCmdWine, LongCommandLineReachesTheChildWhole) {
  TString arg(600, u'x');
  TStringList out;
  ASSERT_EQ(RunCMD(sleeper + u" 0 " + arg, out), 1);
  TString all;
  for (auto& s : out) all += s;
  EXPECT_EQ(all, arg);
}

TEST_F(RunCmdWine, WaitingCostsAlmostNoProcessorTime) {
  FILETIME c, e, k0, u0, k1, u1;
  GetProcessTimes(GetCurrentProcess(), &c, &e, &k0, &u0);
  DWORD t0 = GetTickCount();
  TStringList out;
  EXPECT_EQ(RunCMD(sleeper + u" 2000 done", out), 1);
  DWORD wall = GetTickCount() - t0;
  GetProcessTimes(GetCurrentProcess(), &c, &e, &k1, &u1);
  auto ticks = [](const FILETIME& f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  double cpuMs = (ticks(k1) - ticks(k0) + ticks(u1) - ticks(u0)) / 10000.0;
  EXPECT_GE(wall, 1900u);
  EXPECT_LT(cpuMs / wall, 0.05) << cpuMs << " ms of processor time over " << wall << " ms";
  std::printf("RunCMD waiting on a 2 s child: %.1f ms processor time over %lu ms (%.2f%%)\n", cpuMs, wall,
              100.0 * cpuMs / wall);
}

}  // namespace
