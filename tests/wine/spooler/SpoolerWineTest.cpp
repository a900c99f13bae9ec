// The spooler routines, the queue configuration and the print UI install
// against Wine's real spooler, through the Win32 adapters.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include <winspool.h>

#include <cstddef>
#include <fstream>

#include "install/InstallFunc.h"
#include "platform/ISpooler.h"
#include "platform/ISystem.h"
#include "spooler/DevMode.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/MyUtils.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/Win32Spooler.h"
#include "win32/adapters/WinText.h"

// The device-mode codec matches the platform's structure field by field.
static_assert(sizeof(DEVMODEW) == spool::kDevModeSize);
static_assert(offsetof(DEVMODEW, dmSpecVersion) == 64 && offsetof(DEVMODEW, dmSize) == devmode::kOffSize);
static_assert(offsetof(DEVMODEW, dmDriverExtra) == devmode::kOffDriverExtra && offsetof(DEVMODEW, dmFields) == 72);
static_assert(offsetof(DEVMODEW, dmOrientation) == 76 && offsetof(DEVMODEW, dmPrintQuality) == 90);
static_assert(offsetof(DEVMODEW, dmColor) == 92 && offsetof(DEVMODEW, dmCollate) == 100);
static_assert(offsetof(DEVMODEW, dmFormName) == 102 && offsetof(DEVMODEW, dmLogPixels) == 166);
static_assert(offsetof(DEVMODEW, dmNup) == 180 && offsetof(DEVMODEW, dmICMMethod) == 188);
static_assert(offsetof(DEVMODEW, dmMediaType) == 196 && offsetof(DEVMODEW, dmDitherType) == 200);
static_assert(offsetof(DEVMODEW, dmPanningHeight) == 216);

namespace {

const TString kModel = u"Wine Test Model";
const TString kUIModel = u"Wine UI Model";

TString TempDir() {
  wchar_t buf[MAX_PATH];
  ::GetTempPathW(MAX_PATH, buf);
  return T(buf) + u"dsw4spl\\";
}

void WriteFile(const TString& path, const std::string& bytes) {
  std::ofstream f(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary);
  f << bytes;
}

// A small driver package: an INF naming two models, a data file and two
// driver "binaries" that the spooler copies but never loads for these tests.
TString WritePackage() {
  TString dir = TempDir();
  ::CreateDirectoryW(W(dir), nullptr);
  WriteFile(dir + u"wtest.inf",
            "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
            "ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\r\nProvider=%Mfg%\r\n"
            "DriverVer=01/02/2024,1.0.0.1\r\n\r\n"
            "[Manufacturer]\r\n%Mfg%=Models,NTamd64\r\n\r\n"
            "[Models.NTamd64]\r\n\"Wine UI Model\"=WUI.GPD,USBPRINT\\WineUI0001\r\n"
            "\"Wine Other Model\"=WUI.GPD,USBPRINT\\WineOther\r\n\r\n"
            "[WUI.GPD]\r\nCopyFiles=@WUI.GPD,WUI_FILES\r\nDataSection=WUI_DATA\r\n\r\n"
            "[WUI_DATA]\r\nDriverFile=WDRV.DLL\r\nConfigFile=WDRVUI.DLL\r\n\r\n"
            "[WUI_FILES]\r\nWDRV.DLL\r\nWDRVUI.DLL\r\nWNAMES.INI\r\n\r\n"
            "[Strings]\r\nMfg=\"Wine Test Maker\"\r\n");
  WriteFile(dir + u"WUI.GPD", "*GPDFileVersion: \"1.5\"\r\n");
  WriteFile(dir + u"WDRV.DLL", "not a real driver");
  WriteFile(dir + u"WDRVUI.DLL", "not a real driver either");
  WriteFile(dir + u"WNAMES.INI", "[names]\r\n");
  return dir;
}

bool DeleteQueue(const TString& name) {
  TPrinterDefaults all;
  all.DesiredAccess = spool::kPrinterAllAccess;
  THandle h = 0;
  if (!Spooler().OpenPrinter(name, h, &all)) return false;
  bool ok = Spooler().DeletePrinter(h);
  Spooler().ClosePrinter(h);
  return ok;
}

void DeleteQueuesStartingWith(const TString& prefix) {
  RefreshPrinters();
  TStringList names = Printers();
  KeepStringsStartingWith(names, prefix);
  for (const auto& n : names) DeleteQueue(n);
  RefreshPrinters();
}

bool Read2(const TString& name, TPrinterInfo2& info) {
  THandle h = 0;
  if (!Spooler().OpenPrinter(name, h, nullptr)) return false;
  std::uint32_t needed = 0;
  Spooler().GetPrinter2(h, 0, info, needed);
  bool ok = Spooler().GetPrinter2(h, needed, info, needed);
  Spooler().ClosePrinter(h);
  return ok;
}

class WineSpooler : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstallWin32Ports();
    InstallWin32Spooler();
    s_Dir = WritePackage();
  }
  // Installs the test driver from the package through the adapter.
  static void InstallTestDriver() {
    if (PrinterDriverExists(kModel)) return;
    TDriverInfo6 d;
    d.Version = 3;
    d.Name = kModel;
    d.DriverPath = s_Dir + u"WDRV.DLL";
    d.DataFile = s_Dir + u"WUI.GPD";
    d.ConfigFile = s_Dir + u"WDRVUI.DLL";
    d.DependentFiles = {s_Dir + u"WNAMES.INI"};
    ASSERT_TRUE(Spooler().AddPrinterDriverEx6(d, spool::kApdCopyNewFiles)) << Sys().GetLastError();
  }
  void SetUp() override { InstallTestDriver(); }
  static inline TString s_Dir;
};

TEST_F(WineSpooler, DriverAndQueueReadBackAtEveryLevel) {
  DeleteQueuesStartingWith(u"Wine Queue");
  EXPECT_TRUE(PrinterDriverExists(u"WINE TEST MODEL"));
  EXPECT_FALSE(PrinterDriverExists(u"Wine Test"));
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Queue A"));
  EXPECT_TRUE(PrinterExists(u"wine queue a"));

  THandle h = 0;
  ASSERT_TRUE(Spooler().OpenPrinter(u"Wine Queue A", h, nullptr));
  std::uint32_t needed = 0;
  TPrinterInfo2 p2;
  TPrinterInfo4 p4;
  TPrinterInfo5 p5;
  EXPECT_FALSE(Spooler().GetPrinter2(h, 0, p2, needed));
  EXPECT_EQ(Sys().GetLastError(), kErrorInsufficientBuffer);
  ASSERT_TRUE(Spooler().GetPrinter2(h, needed, p2, needed));
  Spooler().GetPrinter4(h, 0, p4, needed);
  ASSERT_TRUE(Spooler().GetPrinter4(h, needed, p4, needed));
  Spooler().GetPrinter5(h, 0, p5, needed);
  ASSERT_TRUE(Spooler().GetPrinter5(h, needed, p5, needed));
  TDriverInfo6 d6;
  Spooler().GetPrinterDriver6(h, u"", 0, d6, needed);
  EXPECT_TRUE(Spooler().GetPrinterDriver6(h, u"", needed, d6, needed));
  Spooler().ClosePrinter(h);

  EXPECT_EQ(p2.PrinterName, u"Wine Queue A");
  EXPECT_EQ(p2.DriverName, kModel);
  EXPECT_EQ(p2.PortName, u"LPT1:");
  EXPECT_EQ(p2.PrintProcessor, u"WinPrint");
  EXPECT_EQ(p2.Datatype, u"RAW");
  EXPECT_EQ(p4.PrinterName, u"Wine Queue A");
  EXPECT_EQ(p5.PortName, u"LPT1:");
  EXPECT_EQ(d6.Name, kModel);
  EXPECT_NE(d6.DataFile.find(u"WUI.GPD"), TString::npos) << text::ToUtf8(d6.DataFile);

  TString text;
  GetPrinterPort(u"Wine Queue A", text);
  EXPECT_EQ(text, u"LPT1:");
  GetPrinterDriverName(u"Wine Queue A", text);
  EXPECT_EQ(text, kModel);
  bool online = false;
  EXPECT_TRUE(IsPrinterOnline(u"Wine Queue A", online));
  EXPECT_TRUE(online);

  TPrinterInfo2 info;
  bool shared = true;
  ASSERT_TRUE(GetPrinterInfo2(u"Wine Queue A", info, shared));
  EXPECT_FALSE(shared);
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Queue B"));
  ASSERT_TRUE(GetPrinterInfo2(u"Wine Queue A", info, shared));
  EXPECT_TRUE(shared);

  RefreshPrinters();
  TStringList names = Printers();
  KeepStringsStartingWith(names, u"Wine Queue");
  EXPECT_EQ(names.size(), 2u);

  // Wine's job enumeration is a stub that fails: the count must then say
  // "unknown", never "no jobs".
  std::vector<TJobInfo1> jobs;
  THandle hj = 0;
  ASSERT_TRUE(Spooler().OpenPrinter(u"Wine Queue A", hj, nullptr));
  bool enumerates = Spooler().EnumJobs1(hj, 0, 0xFFFFFFFF, 0, jobs, needed);
  Spooler().ClosePrinter(hj);
  EXPECT_EQ(GetPrinterJobCount(u"Wine Queue A"), enumerates ? 0 : kJobCountUnknown);
  EXPECT_EQ(GetPrinterJobCount(u"No Such Queue"), 0);

  EXPECT_TRUE(DeleteQueue(u"Wine Queue B"));
  EXPECT_FALSE(PrinterExists(u"Wine Queue B"));
}

TEST_F(WineSpooler, LptPrinterCarriesTheA4DeviceMode) {
  DeleteQueuesStartingWith(u"Wine LPT");
  const TString name = u"Wine LPT queue with a name longer than 31";
  ASSERT_TRUE(AddLptPrinter(kModel, name));
  TPrinterInfo2 p2;
  ASSERT_TRUE(Read2(name, p2));
  TDevMode dm;
  ASSERT_TRUE(TDevMode::Decode(p2.DevMode, dm));
  EXPECT_EQ(dm.DeviceName, name.substr(0, 31));
  EXPECT_EQ(dm.PaperSize, 9);
  EXPECT_EQ(dm.Orientation, 1);
  EXPECT_EQ(dm.FormName, u"A4");
  EXPECT_EQ(dm.PaperLength, 2970);
  EXPECT_EQ(dm.PaperWidth, 2100);
  EXPECT_EQ(dm.Fields, 0x0581CF43u);
  EXPECT_EQ(dm.DitherType, 0xFFFFFFFFu);
  EXPECT_FALSE(AddLptPrinter(u"Driver Not Installed", u"Wine LPT nothing"));
  EXPECT_FALSE(PrinterExists(u"Wine LPT nothing"));
}

TEST_F(WineSpooler, LocalPortAndMovingAQueueToIt) {
  DeleteQueuesStartingWith(u"Wine Port");
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Port Queue"));
  // A port of its own per run: Wine's monitor keeps ports between runs.
  const TString port = s_Dir + u"out" + text::IntToStr(::GetTickCount64()) + u".prn";
  EXPECT_FALSE(PortExists(port));
  ASSERT_TRUE(AddLocalPort(port));
  EXPECT_EQ(Sys().GetLastError(), 0u);
  EXPECT_TRUE(PortExists(port));
  EXPECT_TRUE(AddLocalPort(port));
  EXPECT_EQ(Sys().GetLastError(), kErrorAlreadyExists);
  EXPECT_FALSE(AddLocalPort(TString(256, u'x')));

  ASSERT_TRUE(SetPrinterPort(u"Wine Port Queue", port));
  TString now;
  GetPrinterPort(u"Wine Port Queue", now);
  EXPECT_EQ(now, port);
  EXPECT_FALSE(SetPrinterPort(u"Wine Port Queue", u""));
  EXPECT_FALSE(SetPrinterPort(u"No Such Queue", u"LPT1:"));
}

TEST_F(WineSpooler, DefaultPrinterIsSetAndRead) {
  DeleteQueuesStartingWith(u"Wine Default");
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Default One"));
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Default Two"));
  ASSERT_TRUE(SetDefaultPrinterName("Wine Default Two"));
  TString name;
  ASSERT_TRUE(GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"Wine Default Two");
  EXPECT_FALSE(SetDefaultPrinterName("Wine No Such Printer"));
  ASSERT_TRUE(GetDefaultPrinterName(name));
  EXPECT_EQ(name, u"Wine Default Two");
}

TEST_F(WineSpooler, ChangePrinterInfoConfiguresARealQueue) {
  DeleteQueuesStartingWith(u"Wine Change");
  DeleteQueue(u"Wine Change Me");  // Wine keeps opening a renamed queue by its old name
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Change Me"));
  TChangePrinterInfo r;
  r.OrgName = u"Wine Change Me";
  r.NewName = u"Wine Change Done";
  r.ShareName = u"wchange";
  r.Port = u"AddLocal:" + s_Dir + u"change.prn";
  r.bSetDefault = true;
  r.Process = u"WinPrint";
  ASSERT_TRUE(ChangePrinterInfo(r));

  // Read back through the enumeration: Wine's spooler lists a renamed queue
  // under its new name but still opens it only by the old one.
  EXPECT_FALSE(PrinterExists(u"Wine Change Me"));
  TPrinterInfo2 p2;
  bool shared = false;
  ASSERT_TRUE(GetPrinterInfo2(u"Wine Change Done", p2, shared));
  EXPECT_EQ(p2.PrinterName, u"Wine Change Done");
  EXPECT_EQ(p2.PortName, s_Dir + u"change.prn");
  EXPECT_EQ(p2.ShareName, u"wchange");
  EXPECT_NE(p2.Attributes & spool::kAttrShared, 0u);
  EXPECT_EQ(p2.Attributes & spool::kAttrRawOnly, 0u);
  EXPECT_EQ(p2.PrintProcessor, u"WinPrint");
  TString def;
  ASSERT_TRUE(GetDefaultPrinterName(def));
  EXPECT_EQ(def, u"Wine Change Me") << "made default before the rename, under the old name";
  DeleteQueue(u"Wine Change Me");

  // Unshare, another processor, an existing port, no rename.
  ASSERT_TRUE(AddLptPrinter(kModel, u"Wine Change Two"));
  TChangePrinterInfo first;
  first.OrgName = u"Wine Change Two";
  first.ShareName = u"two";
  ASSERT_TRUE(ChangePrinterInfo(first));
  TChangePrinterInfo next;
  next.OrgName = u"Wine Change Two";
  next.Port = u"LPT2:";
  next.Process = u"winprint";
  ASSERT_TRUE(ChangePrinterInfo(next));
  ASSERT_TRUE(Read2(u"Wine Change Two", p2));
  EXPECT_EQ(p2.PortName, u"LPT2:");
  EXPECT_EQ(p2.Attributes & spool::kAttrShared, 0u);
  EXPECT_NE(p2.Attributes & spool::kAttrRawOnly, 0u);
  EXPECT_EQ(p2.PrintProcessor, u"winprint");

  next.OrgName = u"Wine No Such Queue";
  EXPECT_FALSE(ChangePrinterInfo(next));
}

TEST_F(WineSpooler, UIAddPrinterInstallsThroughThePrintUI) {
  DeleteQueuesStartingWith(kUIModel);
  const TString inf = s_Dir + u"wtest.inf";
  TString queue;
  ASSERT_EQ(UIAddPrinter(kUIModel, inf, u"LPT1:", queue), 0u) << "is the print UI stand-in installed?";
  EXPECT_EQ(queue, kUIModel);
  EXPECT_TRUE(PrinterDriverExists(kUIModel));
  TPrinterInfo2 p2;
  ASSERT_TRUE(Read2(queue, p2));
  EXPECT_EQ(p2.DriverName, kUIModel);
  EXPECT_EQ(p2.PortName, u"LPT1:");

  ASSERT_EQ(UIAddPrinter(kUIModel, inf, u"LPT2:", queue), 0u);
  EXPECT_EQ(queue, kUIModel + u" (Copy 1)");

  TString untouched = u"untouched";
  EXPECT_EQ(UIAddPrinter(u"Wine Missing Model", inf, u"LPT1:", untouched), UIAddPrinterFailed);
  EXPECT_EQ(untouched, u"untouched");

  // The print UI deletes queues and the driver too.
  TStringList out;
  for (const TString& q : {kUIModel, kUIModel + u" (Copy 1)"})
    ASSERT_GE(RunCMD(u"rundll32 printui.dll,PrintUIEntry /dl /n \"" + q + u"\" /q", out), 0);
  RefreshPrinters();
  EXPECT_FALSE(PrinterExists(kUIModel));
  ASSERT_GE(RunCMD(u"rundll32 printui.dll,PrintUIEntry /dd /m \"" + kUIModel + u"\" /q", out), 0);
  EXPECT_FALSE(PrinterDriverExists(kUIModel));
}

TEST_F(WineSpooler, UnusedDriverIsDeletedThroughTheExtendedCall) {
  DeleteQueuesStartingWith(u"Wine Queue");
  DeleteQueuesStartingWith(u"Wine LPT");
  DeleteQueuesStartingWith(u"Wine Port");
  DeleteQueuesStartingWith(u"Wine Default");
  DeleteQueuesStartingWith(u"Wine Change");
  std::string driver = text::ToAnsi(kModel);
  EXPECT_TRUE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, driver, 0, 0)) << Sys().GetLastError();
  EXPECT_FALSE(PrinterDriverExists(kModel));
  EXPECT_FALSE(DynDeletePrinterDriverEx(std::nullopt, std::nullopt, driver, 0, 0));
}

}  // namespace
