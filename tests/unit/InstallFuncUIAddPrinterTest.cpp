#include <gtest/gtest.h>

#include <functional>

#include "fakes/ScopedMachine.h"
#include "install/InstallFunc.h"
#include "platform/IProcess.h"

namespace {

// Stands in for rundll32 running the print UI: each started command line runs
// `OnRun` against the fake spooler, writes nothing and ends at once.
class FakePrintUIProcess : public IProcess {
 public:
  std::vector<TString> CommandLines;
  std::function<void()> OnRun;
  bool StartFails = false;

  bool CreatePipe(THandle& r, THandle& w) override {
    r = 1;
    w = 2;
    return true;
  }
  bool StartProcess(const TStartup& s, TProcessInfo& pi) override {
    if (StartFails) return false;
    CommandLines.push_back(s.CommandLine);
    if (OnRun) OnRun();
    pi.Process = 3;
    pi.Thread = 4;
    return true;
  }
  bool PeekNamedPipe(THandle, std::uint32_t& available) override {
    available = 0;
    return true;
  }
  bool ReadFile(THandle, char*, std::uint32_t, std::uint32_t& read) override {
    read = 0;
    return false;
  }
  std::uint32_t WaitForSingleObject(THandle, std::uint32_t) override { return WaitObject0; }
  bool CloseHandle(THandle) override { return true; }
  bool GetExitCodeProcess(THandle, std::uint32_t&) override { return false; }
};

class UIAddPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { spl.AddDriver(u"Model X"); }
  // The print UI adds a queue of that name when it runs.
  void PrintUIAdds(const TString& queue) {
    proc.OnRun = [this, queue] { spl.AddPrinter(queue, u"Model X"); };
  }
  std::uint32_t Run(const TString& model = u"Model X", const TString& inf = u"C:\\Drv\\x.inf",
                    const TString& port = u"LPT1:") {
    return UIAddPrinter(model, inf, port, queue);
  }
  ScopedMachine m;
  FakeSpooler& spl = m.spooler;
  FakePrintUIProcess proc;
  ScopedPort<IProcess> procPort{proc};
  TString queue = u"untouched";
};

TEST_F(UIAddPrinterTest, RunsThePrintUIQuietlyAndReturnsTheNewQueue) {
  spl.AddPrinter(u"Model X", u"Model X");
  spl.AddPrinter(u"Office Model X", u"Model X");
  PrintUIAdds(u"Model X (Copy 1)");
  m.sys.SetLastError(5);
  EXPECT_EQ(Run(), 0u);
  EXPECT_EQ(queue, u"Model X (Copy 1)");
  EXPECT_EQ(m.sys.GetLastError(), 0u);
  ASSERT_EQ(proc.CommandLines.size(), 1u);
  EXPECT_EQ(
      proc.CommandLines[0],
      u"rundll32 printui.dll,PrintUIEntry /if /b \"Model X\" /f \"C:\\Drv\\x.inf\" /r \"LPT1:\" /m \"Model X\" /q");
}

TEST_F(UIAddPrinterTest, NamesCompareWithoutRegardToAsciiCase) {
  spl.AddPrinter(u"model x", u"Model X");
  PrintUIAdds(u"MODEL X (Copy 1)");
  EXPECT_EQ(Run(u"Model X"), 0u);
  EXPECT_EQ(queue, u"MODEL X (Copy 1)");
}

TEST_F(UIAddPrinterTest, AQueueNotNamedAfterTheModelIsAFailure) {
  PrintUIAdds(u"Office Model X");
  EXPECT_EQ(Run(), UIAddPrinterFailed);
  EXPECT_EQ(queue, u"untouched");
}

TEST_F(UIAddPrinterTest, CountMustGrowByExactlyOne) {
  EXPECT_EQ(Run(), UIAddPrinterFailed) << "nothing added";
  proc.OnRun = [this] {
    spl.AddPrinter(u"Model X", u"Model X");
    spl.AddPrinter(u"Model X (Copy 1)", u"Model X");
  };
  EXPECT_EQ(Run(), UIAddPrinterFailed) << "two added";
  EXPECT_EQ(queue, u"untouched");
}

TEST_F(UIAddPrinterTest, GrowthWithoutANewNameIsUnknown) {
  spl.AddPrinter(u"Model X", u"Model X");
  // A connection whose name differs from the local queue only in letter case.
  proc.OnRun = [this] { spl.AddConnection(u"MODEL X", u"Model X"); };
  EXPECT_EQ(Run(), UIAddPrinterUnknown);
  EXPECT_EQ(queue, u"untouched");
}

TEST_F(UIAddPrinterTest, EmptyModelNameIsRefused) {
  PrintUIAdds(u"Something");
  EXPECT_EQ(Run(u""), UIAddPrinterFailed);
  EXPECT_TRUE(proc.CommandLines.empty());
  EXPECT_EQ(queue, u"untouched");
}

TEST_F(UIAddPrinterTest, CommandThatDoesNotStartFails) {
  proc.StartFails = true;
  EXPECT_EQ(Run(), UIAddPrinterFailed);
  EXPECT_EQ(queue, u"untouched");
}

TEST_F(UIAddPrinterTest, ValuesThatWouldLeaveTheirQuotesAreRefused) {
  PrintUIAdds(u"Model X");
  EXPECT_EQ(Run(u"Model \" /dl /n \"Office"), UIAddPrinterFailed);
  EXPECT_EQ(Run(u"Model X", u"C:\\a\".inf"), UIAddPrinterFailed);
  EXPECT_EQ(Run(u"Model X", u"C:\\x.inf", u"LPT1:\" /q /z \""), UIAddPrinterFailed);
  EXPECT_EQ(Run(u"Model X", u"C:\\Drv\\"), UIAddPrinterFailed) << "a trailing backslash would escape the quote";
  EXPECT_TRUE(proc.CommandLines.empty()) << "nothing may run";
  EXPECT_EQ(queue, u"untouched");
  EXPECT_EQ(PrintUIInstallCommand(u"Model X", u"C:\\x.inf", u"A\\B"),
            u"rundll32 printui.dll,PrintUIEntry /if /b \"Model X\" /f \"C:\\x.inf\" /r \"A\\B\" /m \"Model X\" /q");
}

}  // namespace
