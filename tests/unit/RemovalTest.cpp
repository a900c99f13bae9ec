// Removing queues, drivers, uninstall records and registered INF copies, and
// the outdated-driver detection, against the fake machine.
#include <gtest/gtest.h>

#include "fakes/ScopedMachine.h"
#include "removal/UnInstallFunc.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Exception.h"
#include "sysutil/Paths.h"

namespace {

const TString kArea = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const TString kArea32 = u"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const TString kInf = u"C:\\Windows\\inf\\";

struct RemovalMachine : ScopedMachine {
  // A driver whose data file carries a version line, used by `queues`.
  void Driver(const TString& name, const TString& version, std::vector<TString> queues) {
    TString data = u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\" + name + u".gpd";
    spooler.AddDriver(name, data);
    fs.AddFile(data, text::ToUtf8(u"*GPDSpecVersion: \"1.0\"\r\n*GPDFileVersion: \"" + version + u"\"\r\n"));
    for (const auto& q : queues) spooler.AddPrinter(q, name);
    RefreshPrinters();
  }
  std::vector<TString> Queues() const {
    std::vector<TString> out;
    for (const auto& p : spooler.PrinterList) out.push_back(p.Info.PrinterName);
    return out;
  }
  bool HasDriver(const TString& name) const { return spooler.FindDriver(name) != nullptr; }
  void Record(const TString& area, const TString& maker, const TString& driver) {
    reg.SetText(area + maker + u" Printer Utilities\\PrinterDrivers\\" + driver, u"DisplayName", driver);
  }
  bool HasRecord(const TString& area, const TString& maker, const TString& driver) const {
    return reg.KeyExists(area + maker + u" Printer Utilities\\PrinterDrivers\\" + driver);
  }
  void OemInf(const TString& file, const TString& cls, const TString& model) {
    fs.AddFile(kInf + file,
               text::ToUtf8(u"[Version]\r\nClass=" + cls + u"\r\n[Strings]\r\nProviderName=\"Tess\"\r\n[Tess]\r\n" +
                            model + u"=Install,USBPRINT\\TESS01\r\n"));
    fs.AddFile(kInf + paths::RemoveFileExt(file) + u".pnf", "pnf");
  }
};

// --- Versions ----------------------------------------------------------------

TEST(Removal, VersionComparison) {
  struct Row {
    const char16_t *installed, *required;
    bool older;
  } rows[] = {
      {u"1.4", u"1.5", true},    {u"1.5", u"1.5", false},    {u"2.0", u"1.5", false},  // a newer driver stays
      {u"1.5", u"1.5.2", false}, {u"1.9", u"2", true},       {u"", u"1.5", false},
      {u"1.10", u"1.9", false},  {u"1.4.9", u"1.5.0", true}, {u"\"1\".5", u"1.6", true},
  };
  for (const Row& r : rows) EXPECT_EQ(VersionOlder(r.installed, r.required), r.older) << text::ToUtf8(r.installed);
  ScopedMachine m;  // the error's text is in the system's language
  EXPECT_THROW(VersionOlder(u"1..5", u"1.4.1"), Exception);
  EXPECT_THROW(VersionOlder(u"1.x", u"1.2"), Exception);
}

TEST(Removal, GpdVersionWindowAndDetection) {
  struct Row {
    const char16_t* version;
    const char16_t* expected;
  } rows[] = {{u"1.0", u"1.0"}, {u"123456789", u"123456789"}, {u"1234567890", u""}};
  for (const Row& r : rows) {
    RemovalMachine m;
    m.Driver(u"Tess TS-1", r.version, {u"Q1", u"Q2"});
    m.spooler.AddDriver(u"Other");
    m.spooler.AddPrinter(u"Q3", u"Other");
    RefreshPrinters();
    TStringList list;
    TString version = u"x";
    GetInstalledGPDVersion(u"Tess TS-1", list, version);
    EXPECT_EQ(version, r.expected);
    EXPECT_EQ(list, (TStringList{u"Q1", u"Q2"}));
  }
}

// --- One queue and its driver -----------------------------------------------

TEST(Removal, DeletePrinterAndDriverOutcomes) {
  enum Fault { None, Jobs, LateJob, UnknownJobs, UIKeepsQueue, UIKeepsDriver, SpoolerOnce, BothFail, Shared, Gone };
  struct Row {
    Fault fault;
    std::uint32_t code;
    std::vector<TString> queuesLeft;
    bool driverLeft, deleteDriverOut, recordLeft;
  } rows[] = {
      {None, kDeleteDone, {u"Other"}, false, true, false},
      {Jobs, kDeletePrinting, {u"Q1", u"Other"}, true, true, true},
      {LateJob, kDeletePrinting, {u"Q1", u"Other"}, true, true, true},
      {UnknownJobs, kDeleteDone, {u"Other"}, false, true, false},  // the level-2 record says no jobs
      {UIKeepsQueue, kDeleteNotRemoved, {u"Q1", u"Other"}, true, true, true},
      {UIKeepsDriver, kDeleteDone, {u"Other"}, false, true, false},  // the spooler removes it
      {SpoolerOnce, kDeleteDone, {u"Other"}, false, true, false},    // on its retry
      // no uninstaller to schedule: no restart removes the files
      {BothFail, kDeleteDriverNotScheduled, {u"Other"}, true, false, true},
      {Shared, kDeleteDone, {u"Q2", u"Other"}, true, true, true},
      {Gone, kDeleteNotRemoved, {u"Q1", u"Other"}, true, true, true},
  };
  for (const Row& r : rows) {
    RemovalMachine m;
    m.Driver(u"Tess", u"1.0", {u"Q1"});
    m.spooler.AddDriver(u"Other");
    m.spooler.AddPrinter(u"Other", u"Other");
    m.Record(kArea, u"Maker", u"Tess");
    TString name = u"Q1";
    switch (r.fault) {
      case None:
        break;
      case Jobs:
        m.spooler.AddJobs(u"Q1", 1);
        break;
      case LateJob:
        m.spooler.OnStatusSet = [&](FakeSpooler::Printer& p) {
          if (p.Jobs.empty() && p.Info.Status) m.spooler.AddJobs(u"Q1", 1);
        };
        break;
      case UnknownJobs:
        m.spooler.EnumJobsFailsFor.insert(u"Q1");
        break;
      case UIKeepsQueue:
        m.printUI.Refuses.insert(u"Q1");
        break;
      case UIKeepsDriver:
        m.printUI.Refuses.insert(u"Tess");
        break;
      case SpoolerOnce:
        m.printUI.Refuses.insert(u"Tess");
        m.spooler.DriverDeleteFailures = 1;
        break;
      case BothFail:
        m.printUI.Refuses.insert(u"Tess");
        m.spooler.DriverDeleteFailures = 2;
        break;
      case Shared:
        m.spooler.AddPrinter(u"Q2", u"Tess");
        m.spooler.PrinterList.insert(m.spooler.PrinterList.begin() + 1, m.spooler.PrinterList.back());
        m.spooler.PrinterList.pop_back();
        break;
      case Gone:
        name = u"\\\\server\\Q9";
        break;
    }
    bool deleteDriver = true;
    SCOPED_TRACE(static_cast<int>(r.fault));
    EXPECT_EQ(DeletePrinterAndDriver(u"Maker", name, deleteDriver), r.code);
    EXPECT_EQ(m.Queues(), r.queuesLeft);
    EXPECT_EQ(m.HasDriver(u"Tess"), r.driverLeft);
    EXPECT_EQ(deleteDriver, r.deleteDriverOut);
    EXPECT_EQ(m.HasRecord(kArea, u"Maker", u"Tess"), r.recordLeft);
    if (r.code == kDeletePrinting) {
      EXPECT_EQ(m.spooler.Find(u"Q1")->Info.Status, 0u) << "left offline";
    }
  }
}

TEST(Removal, DefaultPrinterAfterRemoval) {
  struct Row {
    std::optional<TString> before;
    std::optional<TString> after;
  } rows[] = {{u"Q1", u"A"}, {u"B", u"B"}, {std::nullopt, u"A"}};
  for (const Row& r : rows) {
    RemovalMachine m;
    m.Driver(u"Tess", u"1.0", {u"Q1"});
    m.spooler.AddDriver(u"Other");
    m.spooler.AddPrinter(u"A", u"Other");
    m.spooler.AddPrinter(u"B", u"Other");
    m.spooler.DefaultPrinter = r.before;
    RefreshPrinters();
    bool keep = false;
    EXPECT_EQ(DeletePrinterAndDriver(u"", u"Q1", keep), kDeleteDone);
    EXPECT_EQ(m.spooler.DefaultPrinter, r.after);
    EXPECT_FALSE(keep);
    EXPECT_TRUE(m.HasDriver(u"Tess"));
  }
  RemovalMachine last;
  last.Driver(u"Tess", u"1.0", {u"Q1"});
  last.spooler.DefaultPrinter = u"Q1";
  bool keep = false;
  EXPECT_EQ(DeletePrinterAndDriver(u"", u"Q1", keep), kDeleteDone);
  EXPECT_FALSE(last.spooler.DefaultPrinter.has_value());
}

TEST(Removal, FailedDriverRemovalSchedulesTheUninstallerOnce) {
  RemovalMachine m;
  m.Driver(u"Tess", u"1.0", {u"Q1", u"Q2"});
  m.printUI.Refuses.insert(u"Tess");
  m.spooler.DriverDeleteFailures = 100;
  m.fs.AddFile(u"C:\\Pkg\\I386\\Uni.exe", "MZ");
  m.fs.AddDir(paths::ExtractFileDir(m.sys.TempPath));
  m.reg.Wow64Process = m.sys.Wow64 = true;
  m.reg.SetText(u"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce", u"Other", u"x");
  for (const TString q : {u"Q1", u"Q2"}) {
    bool deleteDriver = true;
    EXPECT_EQ(DeletePrinterAndDriver(u"", q, deleteDriver, u"C:\\Pkg\\I386\\Uni.exe"),
              q == u"Q1" ? kDeleteDone : kDeleteDriverRemained);  // Q1 shares the driver with Q2
  }
  bool again = true;
  m.spooler.AddPrinter(u"Q3", u"Tess");
  EXPECT_EQ(DeletePrinterAndDriver(u"", u"Q3", again, u"C:\\Pkg\\I386\\Uni.exe"), kDeleteDriverRemained);
  auto values = m.reg.Values(u"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
  ASSERT_EQ(values.size(), 2u);
  const TRegValue& v = values[0].Name == u"Other" ? values[1] : values[0];
  TString copy = m.sys.TempPath + u"Uni.exe";
  EXPECT_EQ(v.Name, u"Uni.exe" + m.sys.LocalTime);
  EXPECT_EQ(v.Text, u"\"" + copy + u"\" /Driver \"Tess\"");
  EXPECT_TRUE(m.fs.FileExists(copy));
}

// --- Uninstall records and INF copies -----------------------------------------

TEST(Removal, UninstallRecordsAndInfCopies) {
  enum Leave { Zero, One, Missing, Text };
  struct Row {
    Leave leave;
    bool wow64;
    bool otherDriver;
    bool infLeft, makerKeyLeft;
  } rows[] = {
      {Zero, false, false, true, false},  {One, false, false, false, false}, {Missing, false, false, false, false},
      {Text, false, false, false, false}, {One, false, true, false, true},   {One, true, false, false, false},
  };
  for (const Row& r : rows) {
    RemovalMachine m;
    m.sys.Wow64 = m.reg.Wow64Process = r.wow64;
    const TString area = r.wow64 ? kArea32 : kArea;
    const TString record = area + u"Maker Printer Utilities\\PrinterDrivers\\Tess";
    m.Record(area, u"Maker", u"Tess");
    if (r.wow64) m.Record(kArea, u"Maker", u"Tess");  // the 64-bit area is not touched
    if (r.otherDriver) m.Record(area, u"Maker", u"Other");
    if (r.leave == Zero) m.reg.SetNumber(record, u"Leave OEM INF", 0);
    if (r.leave == One) m.reg.SetNumber(record, u"Leave OEM INF", 1);
    if (r.leave == Text) m.reg.SetText(record, u"Leave OEM INF", u"0");
    m.OemInf(u"oem3.inf", u"Printer", u"\"Tess\"");

    EXPECT_TRUE(DelRegUninstallInfo(u"Tess", u"Maker"));
    EXPECT_FALSE(m.reg.KeyExists(record));
    EXPECT_EQ(m.fs.FileExists(kInf + u"oem3.inf"), r.infLeft);
    EXPECT_EQ(m.fs.FileExists(kInf + u"oem3.pnf"), r.infLeft);
    EXPECT_EQ(m.reg.KeyExists(area + u"Maker Printer Utilities"), r.makerKeyLeft);
    if (r.wow64) {
      EXPECT_TRUE(m.HasRecord(kArea, u"Maker", u"Tess"));
    }
    EXPECT_EQ(m.reg.OpenKeys(), 0);
  }
  RemovalMachine none;
  none.OemInf(u"oem3.inf", u"Printer", u"Tess");
  EXPECT_FALSE(DelRegUninstallInfo(u"Tess", u"Maker"));
  EXPECT_FALSE(none.fs.FileExists(kInf + u"oem3.inf"));
}

TEST(Removal, RegisteredInfCopiesOfTheDriver) {
  RemovalMachine m;
  m.OemInf(u"oem1.inf", u"Printer", u"\"Tess\"");
  m.OemInf(u"oem2.inf", u"Printer", u"Tess");
  m.OemInf(u"oem4.inf", u"printer", u"Tess");
  m.OemInf(u"oem5.inf", u"Image", u"Tess");
  m.OemInf(u"oem6.inf", u"Printer", u"Other");
  m.OemInf(u"OEM7.INF", u"Printer", u"Tess");
  m.OemInf(u"oem8.inf", u"Printer", u"Tess");
  m.fs.DeleteFile(kInf + u"oem8.pnf");
  m.fs.AddFile(kInf + u"oem9.inf", "[Version]\r\nClass=Printer\r\n[Tess]\r\nTess=x\r\n");  // no provider
  m.fs.AddFile(kInf + u"ntprint.inf",
               "[Version]\r\nClass=Printer\r\n[Strings]\r\nProviderName=Tess\r\n[Tess]\r\nTess=x\r\n");

  EXPECT_EQ(LeaveOEMInf(u"Tess", u"Printer"), 4);  // oem1, oem2, OEM7.INF (nothing to delete), oem8
  for (const char16_t* gone : {u"oem1.inf", u"oem1.pnf", u"oem2.inf", u"oem2.pnf", u"oem8.inf"})
    EXPECT_FALSE(m.fs.FileExists(kInf + gone)) << text::ToUtf8(gone);
  for (const char16_t* kept : {u"oem4.inf", u"oem5.inf", u"oem6.inf", u"OEM7.INF", u"oem9.inf", u"ntprint.inf"})
    EXPECT_TRUE(m.fs.FileExists(kInf + kept)) << text::ToUtf8(kept);
  EXPECT_EQ(SystemInfFolder(u"D:\\WinNT\\System32"), u"D:\\WinNT\\inf\\");
}

// --- Outdated drivers -----------------------------------------------------------

TEST(Removal, UninstallOldDriver) {
  RemovalMachine m;
  m.Driver(u"Tess", u"1.0", {u"Q1", u"Q2"});
  std::uint32_t code = 99;
  EXPECT_TRUE(UninstallOldDriver(u"Tess", u"", u"", code));
  EXPECT_TRUE(UninstallOldDriver(u"Tess", u"1.0", u"", code));
  EXPECT_EQ(code, 99u) << "no removal attempted";

  m.spooler.AddJobs(u"Q1", 1);
  EXPECT_FALSE(UninstallOldDriver(u"Tess", u"1.1", u"", code));
  EXPECT_EQ(code, kDeletePrinting);
  EXPECT_EQ(m.Queues().size(), 2u);

  m.spooler.Find(u"Q1")->Jobs.clear();
  EXPECT_TRUE(UninstallOldDriver(u"Tess", u"1.1", u"", code));
  EXPECT_EQ(code, kDeleteDone);
  EXPECT_TRUE(m.Queues().empty());
  EXPECT_FALSE(m.HasDriver(u"Tess"));
}

}  // namespace
