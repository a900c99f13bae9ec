#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/ScopedMachine.h"
#include "install/InstallFunc.h"
#include "spooler/DevMode.h"

namespace {

class ChangePrinterInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spl.AddDriver(u"Model X");
    spl.AddPrinter(u"Model X", u"Model X");
    spl.AddPrinter(u"Other", u"Model X", u"LPT2:");
    spl.PrintProcessors.insert(u"MyProc");
  }
  void TearDown() override { EXPECT_EQ(spl.OpenHandles(), 0) << "a printer handle was left open"; }
  const TPrinterInfo2& Queue(const TString& name) {
    static TPrinterInfo2 none;
    const FakeSpooler::Printer* p = spl.Find(name);
    return p ? p->Info : none;
  }
  TChangePrinterInfo Request() {
    TChangePrinterInfo r;
    r.OrgName = u"Model X";
    return r;
  }
  ScopedMachine m;
  FakeSpooler& spl = m.spooler;
};

TEST_F(ChangePrinterInfoTest, AppliesEveryPartOfTheRequest) {
  TChangePrinterInfo r = Request();
  r.NewName = u"Front Desk";
  r.ShareName = u"desk";
  r.Port = u"addLocal:C:\\Out\\print.prn";
  r.bSetDefault = true;
  r.Process = u"MyProc";
  TChangePrinterInfo copy = r;
  ASSERT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(r.Port, copy.Port) << "the caller's record stays as it was";

  EXPECT_EQ(spl.Find(u"Model X"), nullptr);
  const TPrinterInfo2& q = Queue(u"Front Desk");
  EXPECT_EQ(q.ShareName, u"desk");
  EXPECT_EQ(q.PortName, u"C:\\Out\\print.prn");
  EXPECT_EQ(q.PrintProcessor, u"MyProc");
  EXPECT_EQ(q.Attributes & (spool::kAttrShared | spool::kAttrRawOnly), spool::kAttrShared | spool::kAttrRawOnly);
  EXPECT_EQ(spl.DefaultPrinter, u"Front Desk");

  // The queue is reopened with full access, RAW and its public device mode.
  auto full = std::find_if(spl.OpenDefaults.begin(), spl.OpenDefaults.end(),
                           [](const TPrinterDefaults& d) { return d.DesiredAccess == spool::kPrinterAllAccess; });
  ASSERT_NE(full, spl.OpenDefaults.end());
  EXPECT_EQ(full->Datatype, u"RAW");
  EXPECT_EQ(full->DevMode.size(), 220u);
}

TEST_F(ChangePrinterInfoTest, UnsharesAndReturnsToTheStandardProcessor) {
  TPrinterInfo2& q = spl.Find(u"Model X")->Info;
  q.ShareName = u"old";
  q.PrintProcessor = u"MyProc";
  q.Attributes |= spool::kAttrShared | spool::kAttrRawOnly;
  ASSERT_TRUE(ChangePrinterInfo(Request()));
  EXPECT_EQ(Queue(u"Model X").Attributes & (spool::kAttrShared | spool::kAttrRawOnly), 0u);
  EXPECT_EQ(Queue(u"Model X").ShareName, u"old") << "the share name field is left as it was";
  EXPECT_EQ(Queue(u"Model X").PrintProcessor, u"WinPrint");
  EXPECT_EQ(Queue(u"Model X").PortName, u"LPT1:") << "an empty port keeps the queue's port";
  EXPECT_FALSE(spl.DefaultPrinter.has_value());
}

TEST_F(ChangePrinterInfoTest, ProcessorNameComparesExactly) {
  TChangePrinterInfo r = Request();
  r.Process = u"winprint";
  ASSERT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").PrintProcessor, u"winprint");
  EXPECT_NE(Queue(u"Model X").Attributes & spool::kAttrRawOnly, 0u);
  r.Process = u"WinPrint";
  ASSERT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").Attributes & spool::kAttrRawOnly, 0u);
}

TEST_F(ChangePrinterInfoTest, PortRules) {
  TChangePrinterInfo r = Request();
  r.Port = u"NOSUCH:";
  EXPECT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").PortName, u"LPT1:");
  EXPECT_EQ(spl.Ports.size(), 4u) << "no port is created without the prefix";

  r.Port = u"LPT2:";
  EXPECT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").PortName, u"LPT2:");

  r.Port = u"ADDLOCAL:FILE:";  // exists already: nothing created, queue moved
  EXPECT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").PortName, u"FILE:");
  EXPECT_EQ(spl.Ports.size(), 4u);

  r.Port = u"ADDLOCAL:" + TString(300, u'p');  // the monitor cannot take it
  EXPECT_TRUE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").PortName, u"FILE:");
}

TEST_F(ChangePrinterInfoTest, RenameRules) {
  TChangePrinterInfo r = Request();
  r.NewName = u"Model X";
  EXPECT_TRUE(ChangePrinterInfo(r));
  EXPECT_NE(spl.Find(u"Model X"), nullptr);

  r.NewName = u"other";  // taken by another queue
  r.bSetDefault = true;
  r.Port = u"LPT2:";
  EXPECT_FALSE(ChangePrinterInfo(r));
  EXPECT_EQ(Queue(u"Model X").PortName, u"LPT1:") << "a refused description changes nothing";
  EXPECT_EQ(spl.DefaultPrinter, u"Model X") << "the default printer change stays";
}

TEST_F(ChangePrinterInfoTest, QueueThatCannotBeOpenedChangesNothing) {
  TChangePrinterInfo r = Request();
  r.OrgName = u"Missing";
  r.bSetDefault = true;
  EXPECT_FALSE(ChangePrinterInfo(r));
  EXPECT_FALSE(spl.DefaultPrinter.has_value());

  spl.FullAccessDenied.insert(u"Model X");
  r = Request();
  r.NewName = u"Renamed";
  EXPECT_FALSE(ChangePrinterInfo(r));
  EXPECT_NE(spl.Find(u"Model X"), nullptr);
}

TEST_F(ChangePrinterInfoTest, DefaultNameOutsideTheAnsiPageIsNotGuessed) {
  m.sys.Ansi = FakeSystem::AnsiPage::Latin1;
  spl.AddPrinter(u"打印机", u"Model X");
  spl.AddPrinter(u"???", u"Model X");  // what a lossy conversion would name
  TChangePrinterInfo r;
  r.OrgName = u"打印机";
  r.bSetDefault = true;
  r.ShareName = u"cn";
  EXPECT_TRUE(ChangePrinterInfo(r));
  EXPECT_FALSE(spl.DefaultPrinter.has_value());
  EXPECT_EQ(Queue(u"打印机").ShareName, u"cn") << "the other changes are still written";
}

}  // namespace
