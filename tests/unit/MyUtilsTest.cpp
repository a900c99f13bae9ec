#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "fakes/PosixProcess.h"
#include "fakes/ScopedMachine.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"

namespace {

TEST(StringLists, KeepStringsStartingWithFoldsOnlyAsciiLetters) {
  TStringList l{u"MODEL X", u"Other model", u"Model X (Copy 1)", u"model xé", u"Modèl X"};
  KeepStringsStartingWith(l, u"model x");
  EXPECT_EQ(l, (TStringList{u"MODEL X", u"Model X (Copy 1)", u"model xé"}));
  TStringList zh{u"打印机 A", u"打印機 A"};
  KeepStringsStartingWith(zh, u"打印机");
  EXPECT_EQ(zh, TStringList{u"打印机 A"});
  KeepStringsStartingWith(l, u"");
  EXPECT_TRUE(l.empty());
}

TEST(StringLists, SubtractStringsRemovesEveryEqualEntry) {
  TStringList l{u"a", u"B", u"c", u"b"};
  SubtractStrings(l, {u"b"});
  EXPECT_EQ(l, (TStringList{u"a", u"c"}));
  TStringList same{u"a"};
  SubtractStrings(same, {});
  EXPECT_EQ(same, TStringList{u"a"});
  TStringList empty;
  SubtractStrings(empty, {u"a"});
  EXPECT_TRUE(empty.empty());
  TStringList accents{u"É"};
  SubtractStrings(accents, {u"é"});
  EXPECT_EQ(accents, TStringList{u"É"});
}

TEST(SystemFacts, VersionLanguageAndWow64) {
  ScopedMachine m;
  m.sys.Major = 5;
  m.sys.Minor = 1;
  EXPECT_EQ(GetWindowsVersion(), 51);
  m.sys.Major = 6;
  m.sys.Minor = 0;
  EXPECT_EQ(GetWindowsVersion(), 60);
  m.sys.LangID = 0x1404;
  EXPECT_EQ(GetSystemLangCode(u"_"), u"_CHT");
  m.sys.LangID = 0x1004;
  EXPECT_EQ(GetSystemLangCode(u"RC_"), u"RC_CN");
  m.sys.LangID = 0x0407;
  EXPECT_EQ(GetSystemLangCode(u""), u"EN");
  m.sys.Wow64 = true;
  EXPECT_TRUE(IsWow64());
  m.sys.HasIsWow64Process = false;  // a Windows without the entry point counts as 32-bit
  EXPECT_FALSE(IsWow64());
}

TEST(Privileges, EnableAndRestartThroughTheToken) {
  ScopedMachine m;
  EXPECT_TRUE(RestartWindows());
  EXPECT_TRUE(m.sys.Enabled[u"SeShutdownPrivilege"]);
  EXPECT_EQ(m.sys.ExitWindowsFlags, 0x12u);
  EXPECT_EQ(m.sys.OpenTokens, 0);  // the token handle was closed

  EXPECT_TRUE(EnablePrivilege(u"SeShutdownPrivilege", false));
  EXPECT_FALSE(m.sys.Enabled[u"SeShutdownPrivilege"]);

  m.sys.NT = false;
  EXPECT_FALSE(EnablePrivilege(u"SeShutdownPrivilege", true));
  EXPECT_FALSE(RestartWindows());
}

TEST(Privileges, FailuresRaiseTheSystemText) {
  ScopedMachine m;
  try {
    EnablePrivilege(u"SeNoSuchPrivilege", true);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"A specified privilege does not exist.");
  }
  try {
    EnablePrivilege(u"SeDebugPrivilege", true);  // known, but not held by the token
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Not all privileges or groups referenced are assigned to the caller.");
  }
  m.sys.HeldPrivileges.clear();
  EXPECT_THROW(RestartWindows(), Exception);
  EXPECT_EQ(m.sys.OpenTokens, 0);
}

class RunCmdTest : public ::testing::Test {
 protected:
  ScopedMachine m;
  PosixProcess proc;
  ScopedPort<IProcess> port{proc};
};

TEST_F(RunCmdTest, CollectsOutputThenOneClosingEntry) {
  TStringList out;
  EXPECT_EQ(RunCMD(u"printf hello", out), 1);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], u"hello");
  EXPECT_EQ(out[1], u"");
  EXPECT_EQ(proc.OpenHandles(), 0);
}

TEST_F(RunCmdTest, SilentChildGivesZeroAndAnEmptyEntry) {
  TStringList out{u"kept"};
  EXPECT_EQ(RunCMD(u"true", out), 0);
  EXPECT_EQ(out, (TStringList{u"kept", u""}));
}

TEST_F(RunCmdTest, MissingProgramIsNotStarted) {
  TStringList out;
  EXPECT_EQ(RunCMD(u"no-such-program-anywhere --flag", out), -2);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(proc.OpenHandles(), 0);
}

TEST_F(RunCmdTest, LongCommandLinesArePassedWhole) {
  TString arg(400, u'x');
  TStringList out;
  ASSERT_EQ(RunCMD(u"printf " + arg, out), 1);
  TString all;
  for (auto& s : out) all += s;
  EXPECT_EQ(all, arg);

  TStringList none;
  EXPECT_EQ(RunCMD(u"printf " + TString(kMaxCommandLineChars, u'y'), none), -2);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(proc.ProcessesStarted, 1);
}

TEST_F(RunCmdTest, LargeOutputArrivesInChunksAndNothingIsLost) {
  TStringList out;
  // 20000 bytes: more than one 4096-byte read.
  EXPECT_EQ(RunCMD(u"head -c 20000 /dev/zero", out), 1);
  size_t total = 0;
  for (auto& s : out) {
    EXPECT_LE(s.size(), 4096u);
    total += s.size();
  }
  EXPECT_EQ(total, 20000u);
  EXPECT_GE(out.size(), 6u);
}

// Processor seconds per wall second that RunCMD spends on a child sleeping 1 s.
double CpuShareOfRunCmd(const TString& command) {
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  auto t0 = std::chrono::steady_clock::now();
  TStringList out;
  EXPECT_EQ(RunCMD(command, out), 0);
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  getrusage(RUSAGE_SELF, &after);
  auto secs = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  double cpu = secs(after.ru_utime) - secs(before.ru_utime) + secs(after.ru_stime) - secs(before.ru_stime);
  EXPECT_GE(wall, 0.9);
  return cpu / wall;
}

// The process port as a runner that only ever tests the child without
// waiting sees it: every wait returns at once.
class NoWaitProcess : public PosixProcess {
 public:
  std::uint32_t WaitForSingleObject(THandle h, std::uint32_t) override {
    return PosixProcess::WaitForSingleObject(h, 0);
  }
};

TEST_F(RunCmdTest, WaitingForASleepingChildCostsAlmostNoProcessorTime) {
  const double share = CpuShareOfRunCmd(u"sleep 1");
  // Baseline in the same run: polling without any pause.
  NoWaitProcess spinning;
  double baseline;
  {
    ScopedPort<IProcess> spin{spinning};
    baseline = CpuShareOfRunCmd(u"sleep 1");
  }
  std::printf("RunCMD on a 1 s child: %.2f%% of a core; polling without pause: %.1f%% (ratio %.4f)\n", 100 * share,
              100 * baseline, share / baseline);
  EXPECT_LT(share, 0.05);
  EXPECT_LT(share, baseline / 10);
  // The baseline really spins, so the comparison means something (on a busy
  // machine it gets less than a whole core).
  EXPECT_GT(baseline, 0.25);
}

// A process port whose pipe cannot be made.
class NoPipe : public PosixProcess {
 public:
  bool CreatePipe(THandle&, THandle&) override { return false; }
};

TEST(RunCmd, NoPipeMeansNothingStarted) {
  ScopedMachine m;
  NoPipe p;
  ScopedPort<IProcess> port{p};
  TStringList out;
  EXPECT_EQ(RunCMD(u"true", out), -1);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(p.ProcessesStarted, 0);
}

}  // namespace
