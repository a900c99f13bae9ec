#include <gtest/gtest.h>

#include "fakes/ScopedMachine.h"
#include "spooler/DevMode.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Exception.h"
#include "sysutil/UiTexts.h"

namespace {

class PrinterChanges : public ::testing::Test {
 protected:
  void SetUp() override { spl.AddDriver(u"Model X"); }
  void TearDown() override { EXPECT_EQ(spl.OpenHandles(), 0) << "a printer handle was left open"; }
  ScopedMachine m;
  FakeSpooler& spl = m.spooler;
};

TEST_F(PrinterChanges, DefaultPrinterIsSetThroughTheLookedUpEntry) {
  spl.AddPrinter(u"Model X", u"Model X");
  EXPECT_TRUE(SetDefaultPrinterName("model x"));
  EXPECT_EQ(spl.DefaultPrinter, u"Model X");
  EXPECT_FALSE(SetDefaultPrinterName("Missing"));
  EXPECT_EQ(m.sys.GetLastError(), kErrorInvalidPrinterName);

  spl.DefaultPrinter.reset();
  spl.MissingEntries.insert(TSpoolerEntry::SetDefaultPrinterA);
  EXPECT_FALSE(SetDefaultPrinterName("Model X"));
  spl.MissingEntries.clear();
  spl.HasLibrary = false;
  EXPECT_FALSE(SetDefaultPrinterName("Model X"));
  EXPECT_FALSE(spl.DefaultPrinter.has_value());
}

TEST_F(PrinterChanges, DriverDeletionPassesItsArgumentsOn) {
  spl.AddDriver(u"Old Model", u"C:\\drv\\OLD.GPD");
  spl.AddPrinter(u"Model X", u"Model X");
  EXPECT_FALSE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, "Model X", spool::kDpdDeleteUnusedFiles, 0));
  EXPECT_EQ(m.sys.GetLastError(), kErrorPrinterDriverInUse);
  EXPECT_TRUE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, "Old Model", spool::kDpdDeleteUnusedFiles, 0));
  EXPECT_EQ(spl.FindDriver(u"Old Model"), nullptr);
  EXPECT_NE(std::find(spl.DeletedDriverFiles.begin(), spl.DeletedDriverFiles.end(), u"C:\\drv\\OLD.GPD"),
            spl.DeletedDriverFiles.end());
  EXPECT_FALSE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, "Old Model", 1, 0));
  EXPECT_EQ(m.sys.GetLastError(), kErrorUnknownPrinterDriver);
  spl.MissingEntries.insert(TSpoolerEntry::DeletePrinterDriverExA);
  spl.AddDriver(u"Old Model");
  EXPECT_FALSE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, "Old Model", 1, 0));
  EXPECT_NE(spl.FindDriver(u"Old Model"), nullptr);
}

TEST_F(PrinterChanges, LocalPortIsAddedOnceAndTheStatusIsReported) {
  EXPECT_TRUE(AddLocalPort(u"C:\\out\\a.prn"));
  EXPECT_EQ(m.sys.GetLastError(), 0u);
  EXPECT_TRUE(PortExists(u"C:\\out\\a.prn"));
  size_t ports = spl.Ports.size();

  EXPECT_TRUE(AddLocalPort(u"C:\\out\\a.prn")) << "the monitor was reached although it refused";
  EXPECT_EQ(m.sys.GetLastError(), kErrorAlreadyExists);
  EXPECT_EQ(spl.Ports.size(), ports);

  EXPECT_TRUE(AddLocalPort(TString(255, u'p')));
  EXPECT_FALSE(AddLocalPort(TString(256, u'q')));
  EXPECT_FALSE(PortExists(TString(256, u'q')));
  EXPECT_FALSE(PortExists(TString(255, u'q'))) << "a long name is refused, not cut";

  spl.HasLibrary = false;
  EXPECT_FALSE(AddLocalPort(u"X:"));
  spl.HasLibrary = true;
  spl.MissingEntries.insert(TSpoolerEntry::XcvDataW);
  try {
    AddLocalPort(u"X:");
    FAIL() << "expected an error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), SystemUiText(TUiText::XcvDataMissing));
  }
}

TEST_F(PrinterChanges, PrinterMovesToAnotherPortWithItsPublicDeviceMode) {
  spl.AddPrinter(u"Model X", u"Model X");
  ASSERT_EQ(spl.Find(u"Model X")->Info.DevMode.size(), 220u + spl.DriverExtraBytes);
  EXPECT_TRUE(SetPrinterPort(u"Model X", u"LPT2:"));
  EXPECT_EQ(spl.Find(u"Model X")->Info.PortName, u"LPT2:");

  // The second open asks for full access with RAW and a self-contained copy
  // of the public device mode.
  const TPrinterDefaults& d = spl.OpenDefaults.back();
  EXPECT_EQ(d.DesiredAccess, spool::kPrinterAllAccess);
  EXPECT_EQ(d.Datatype, u"RAW");
  ASSERT_EQ(d.DevMode.size(), 220u);
  TDevMode dm;
  ASSERT_TRUE(TDevMode::Decode(d.DevMode, dm));
  EXPECT_EQ(dm.DriverExtra, 0);
  EXPECT_EQ(dm.DeviceName, u"Model X");

  EXPECT_FALSE(SetPrinterPort(u"Model X", u""));
  EXPECT_FALSE(SetPrinterPort(u"Missing", u"LPT1:"));
  EXPECT_FALSE(SetPrinterPort(u"Model X", u"NOPORT:"));
  EXPECT_EQ(m.sys.GetLastError(), kErrorUnknownPort);
  EXPECT_EQ(spl.Find(u"Model X")->Info.PortName, u"LPT2:");

  spl.Find(u"Model X")->Info.DevMode.clear();
  EXPECT_TRUE(SetPrinterPort(u"Model X", u"LPT1:"));
  EXPECT_TRUE(spl.OpenDefaults.back().DevMode.empty()) << "no device mode: the open passes none";
}

TEST_F(PrinterChanges, LptPrinterGetsTheA4Template) {
  const TString name = u"A printer name of more than thirty-one characters";
  ASSERT_TRUE(AddLptPrinter(u"Model X", name));
  const FakeSpooler::Printer* p = spl.Find(name);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Info.PortName, u"LPT1:");
  EXPECT_EQ(p->Info.PrintProcessor, u"WinPrint");
  EXPECT_EQ(p->Info.Datatype, u"RAW");
  EXPECT_EQ(p->Info.Attributes, spool::kAttrLocal);
  EXPECT_EQ(p->Info.Priority, 1u);
  EXPECT_EQ(p->Info.ShareName, u"");

  ASSERT_EQ(p->Info.DevMode.size(), 220u);
  TDevMode dm;
  ASSERT_TRUE(TDevMode::Decode(p->Info.DevMode, dm));
  EXPECT_EQ(dm.DeviceName, name.substr(0, 31));
  EXPECT_EQ(dm.SpecVersion, 0x0401);
  EXPECT_EQ(dm.DriverVersion, 0x0100);
  EXPECT_EQ(dm.Size, 220);
  EXPECT_EQ(dm.DriverExtra, 0);
  EXPECT_EQ(dm.Fields, 0x0581CF43u);
  EXPECT_EQ(dm.Orientation, 1);
  EXPECT_EQ(dm.PaperSize, 9);
  EXPECT_EQ(dm.PaperLength, 2970);
  EXPECT_EQ(dm.PaperWidth, 2100);
  EXPECT_EQ(dm.Scale, 100);
  EXPECT_EQ(dm.Copies, 1);
  EXPECT_EQ(dm.DefaultSource, 15);
  EXPECT_EQ(dm.PrintQuality, 180);
  EXPECT_EQ(dm.Color, 1);
  EXPECT_EQ(dm.Duplex, 1);
  EXPECT_EQ(dm.YResolution, 180);
  EXPECT_EQ(dm.TTOption, 2);
  EXPECT_EQ(dm.Collate, 1);
  EXPECT_EQ(dm.FormName, u"A4");
  EXPECT_EQ(dm.Nup, 1u);
  EXPECT_EQ(dm.ICMMethod, 1u);
  EXPECT_EQ(dm.ICMIntent, 2u);
  EXPECT_EQ(dm.MediaType, 1u);
  EXPECT_EQ(dm.DitherType, 0xFFFFFFFFu);
  EXPECT_EQ(dm.LogPixels, 0);
  EXPECT_EQ(dm.PelsWidth, 0u);

  size_t count = spl.PrinterList.size();
  EXPECT_FALSE(AddLptPrinter(u"", u"Q"));
  EXPECT_FALSE(AddLptPrinter(u"Model X", u""));
  EXPECT_FALSE(AddLptPrinter(u"Not Installed", u"Q"));
  EXPECT_EQ(m.sys.GetLastError(), kErrorUnknownPrinterDriver);
  EXPECT_FALSE(AddLptPrinter(u"Model X", name));
  EXPECT_EQ(m.sys.GetLastError(), kErrorPrinterAlreadyExists);
  EXPECT_EQ(spl.PrinterList.size(), count);
}

TEST(DevModeBytes, PublicPartIsSelfContained) {
  TDevMode dm;
  dm.DeviceName = u"P";
  dm.DriverExtra = 4;
  TDevModeBytes b = dm.Encode();
  b.insert(b.end(), {1, 2, 3, 4});
  TDevModeBytes pub = devmode::PublicPart(b);
  ASSERT_EQ(pub.size(), 220u);
  TDevMode back;
  ASSERT_TRUE(TDevMode::Decode(pub, back));
  EXPECT_EQ(back.DriverExtra, 0);
  EXPECT_EQ(back.DeviceName, u"P");
  EXPECT_TRUE(devmode::PublicPart({1, 2, 3}).empty());
  // A device mode that claims more than it holds is cut to what is there.
  TDevModeBytes shortDm(b.begin(), b.begin() + 120);
  EXPECT_EQ(devmode::PublicPart(shortDm).size(), 120u);
}

}  // namespace
