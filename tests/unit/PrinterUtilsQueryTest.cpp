#include <gtest/gtest.h>

#include "fakes/ScopedMachine.h"
#include "spooler/PrinterUtils.h"

namespace {

class PrinterQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    spl.AddDriver(u"Model X");
    spl.AddDriver(u"Model Y");
  }
  void TearDown() override { EXPECT_EQ(spl.OpenHandles(), 0) << "a printer handle was left open"; }
  ScopedMachine m;
  FakeSpooler& spl = m.spooler;
};

TEST_F(PrinterQueries, PrinterAndDriverNamesFoldOnlyAsciiLetters) {
  spl.AddPrinter(u"Office Printer", u"Model X");
  spl.AddPrinter(u"BÜRODRUCKER", u"Model X");
  spl.AddConnection(u"\\\\srv\\Shared One", u"Model X");
  EXPECT_TRUE(PrinterExists(u"office printer"));
  EXPECT_FALSE(PrinterExists(u"bürodrucker"));
  EXPECT_TRUE(PrinterExists(u"BÜRODRUCKER"));
  EXPECT_FALSE(PrinterExists(u"\\\\srv\\Shared One")) << "connections are not local printers";

  spl.AddDriver(u"Ärger Drucker");
  EXPECT_TRUE(PrinterDriverExists(u"model x"));
  EXPECT_FALSE(PrinterDriverExists(u"äRGER DRUCKER"));
  EXPECT_FALSE(PrinterDriverExists(u"Model"));
  spl.Drivers.clear();
  EXPECT_FALSE(PrinterDriverExists(u"Model X"));
}

TEST_F(PrinterQueries, PortsMatchExactlyAndManyPortsStillAnswer) {
  EXPECT_TRUE(PortExists(u"LPT1:"));
  EXPECT_FALSE(PortExists(u"lpt1:"));
  EXPECT_FALSE(PortExists(u"LPT1"));
  // 150 ports need far more than 2000 bytes of descriptions.
  for (int i = 0; i < 150; ++i) spl.AddPort(u"IP_10.0.0." + text::IntToStr(i));
  EXPECT_TRUE(PortExists(u"LPT1:"));
  EXPECT_TRUE(PortExists(u"IP_10.0.0.149"));
  EXPECT_FALSE(PortExists(u"IP_10.0.0.150"));
}

TEST_F(PrinterQueries, ApplicationListKeepsItsFillUntilRefreshed) {
  spl.AddPrinter(u"Model X", u"Model X");
  spl.AddConnection(u"\\\\srv\\Model Y", u"Model Y");
  EXPECT_EQ(Printers(), (TStringList{u"Model X", u"\\\\srv\\Model Y"}));
  spl.AddPrinter(u"Model X (Copy 1)", u"Model X");
  EXPECT_EQ(Printers().size(), 2u) << "read again without a refresh";
  RefreshPrinters();
  EXPECT_EQ(Printers(), (TStringList{u"Model X", u"\\\\srv\\Model Y", u"Model X (Copy 1)"}));

  spl.EnumPrintersFails = true;
  RefreshPrinters();
  EXPECT_TRUE(Printers().empty());
  spl.EnumPrintersFails = false;
  EXPECT_TRUE(Printers().empty()) << "a failed fill stays empty until the next refresh";
  RefreshPrinters();
  EXPECT_EQ(Printers().size(), 3u);
}

TEST_F(PrinterQueries, PrinterNamesAreCutBeforeOn) {
  TStringList list{u"stale"};
  GetPrinterNames(list);
  EXPECT_EQ(list, TStringList{u"stale"}) << "no printers: the list is left as it was";

  spl.AddPrinter(u"Desk on floor 2", u"Model X");
  spl.AddPrinter(u"Hall On Top", u"Model X");
  spl.AddPrinter(u"Lab on a on b", u"Model X");
  GetPrinterNames(list);
  EXPECT_EQ(list, (TStringList{u"Desk", u"Hall On Top", u"Lab"}));
  spl.AddPrinter(u"New", u"Model X");
  GetPrinterNames(list);
  EXPECT_EQ(list.size(), 4u) << "GetPrinterNames reads afresh";
}

TEST_F(PrinterQueries, PortDriverAndStateOfOnePrinter) {
  spl.AddPrinter(u"Model X", u"Model X", u"USB001");
  TString port = u"old", driver = u"old";
  GetPrinterPort(u"model x", port);
  EXPECT_EQ(port, u"USB001");
  GetPrinterDriverName(u"Model X", driver);
  EXPECT_EQ(driver, u"Model X");

  m.sys.SetLastError(99);
  GetPrinterPort(u"", port);
  EXPECT_EQ(port, u"");
  EXPECT_EQ(m.sys.GetLastError(), 0u);
  port = u"old";
  GetPrinterPort(u"Missing", port);
  EXPECT_EQ(port, u"");
  GetPrinterDriverName(u"Missing", driver);
  EXPECT_EQ(driver, u"");

  bool online = false;
  EXPECT_TRUE(IsPrinterOnline(u"Model X", online));
  EXPECT_TRUE(online);
  spl.Find(u"Model X")->Info.Attributes |= spool::kAttrWorkOffline;
  EXPECT_TRUE(IsPrinterOnline(u"Model X", online));
  EXPECT_FALSE(online);
  online = true;
  EXPECT_FALSE(IsPrinterOnline(u"Missing", online));
  EXPECT_TRUE(online);
  spl.ReadFailsFor.insert(u"Model X");
  EXPECT_FALSE(IsPrinterOnline(u"Model X", online));
  EXPECT_TRUE(online) << "left as it was when the read fails";
}

TEST_F(PrinterQueries, DefaultPrinterReads) {
  TString name = u"old";
  EXPECT_FALSE(GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"");
  EXPECT_EQ(m.sys.GetLastError(), kErrorFileNotFound);

  spl.AddPrinter(u"Büro", u"Model X");
  spl.DefaultPrinter = u"Büro";
  EXPECT_TRUE(GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"Büro");

  spl.DefaultPrinter = TString(300, u'a');
  EXPECT_FALSE(GetDefaultPrinterName(name)) << "does not fit the 260-byte buffer";
  EXPECT_EQ(m.sys.GetLastError(), kErrorInsufficientBuffer);

  name = u"old";
  spl.MissingEntries.insert(TSpoolerEntry::GetDefaultPrinterA);
  EXPECT_FALSE(GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"");
  name = u"old";
  spl.HasLibrary = false;
  EXPECT_FALSE(GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"old");
}

TEST_F(PrinterQueries, Info2MatchesExactlyAndTellsSharedDrivers) {
  spl.AddPrinter(u"Model X", u"Model X");
  spl.AddPrinter(u"Model X (Copy 1)", u"Model X");
  spl.AddPrinter(u"Solo", u"Model Y");
  spl.AddPrinter(u"Other", u"model y");  // another driver name by exact comparison
  spl.AddConnection(u"\\\\srv\\Model Y", u"Model Y");
  TPrinterInfo2 info;
  bool shared = false;
  ASSERT_TRUE(GetPrinterInfo2(u"Model X", info, shared));
  EXPECT_EQ(info.DriverName, u"Model X");
  EXPECT_TRUE(shared);
  ASSERT_TRUE(GetPrinterInfo2(u"Solo", info, shared));
  EXPECT_EQ(info.PrinterName, u"Solo");
  EXPECT_FALSE(shared) << "neither the connection nor a differently cased driver name counts";

  info.DriverName = u"untouched";
  shared = true;
  EXPECT_TRUE(GetPrinterInfo2(u"solo", info, shared));
  EXPECT_EQ(info.DriverName, u"untouched");
  EXPECT_FALSE(shared);
  spl.EnumPrintersFails = true;
  EXPECT_FALSE(GetPrinterInfo2(u"Solo", info, shared));
}

TEST_F(PrinterQueries, JobCountCountsEveryJobAndNeverHidesAFailure) {
  spl.AddPrinter(u"Busy", u"Model X");
  spl.AddPrinter(u"Idle", u"Model X");
  spl.AddJobs(u"Busy", 1500);
  EXPECT_EQ(GetPrinterJobCount(u"Busy"), 1500);
  EXPECT_EQ(GetPrinterJobCount(u"Idle"), 0);
  EXPECT_EQ(GetPrinterJobCount(u"Missing"), 0);
  spl.EnumJobsFailsFor.insert(u"Busy");
  EXPECT_EQ(GetPrinterJobCount(u"Busy"), kJobCountUnknown);
}

}  // namespace
