// Removing an outdated driver with its queues, uninstall record and
// registered INF copy from Wine's spooler, registry and INF folder.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include <winspool.h>

#include <fstream>

#include "install/InstallFunc.h"
#include "platform/IFileSystem.h"
#include "platform/IRegistry.h"
#include "platform/ISpooler.h"
#include "removal/UnInstallFunc.h"
#include "spooler/PrinterUtils.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/Win32Spooler.h"
#include "win32/adapters/WinText.h"

namespace {

const TString kOld = u"Wine Old Model", kKeep = u"Wine Keep Model", kMaker = u"Wine Maker";
const TString kMakerKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Wine Maker Printer Utilities";

void Write(const TString& path, const std::string& bytes) {
  std::ofstream(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary) << bytes;
}
bool Exists(const TString& path) { return ::GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }

TString WritePackage() {
  wchar_t buf[MAX_PATH];
  ::GetTempPathW(MAX_PATH, buf);
  TString dir = T(buf) + u"dsw4rm\\";
  ::CreateDirectoryW(W(dir), nullptr);
  Write(dir + u"rm.inf",
        "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\nProvider=%Mfg%\r\n"
        "[Manufacturer]\r\n%Mfg%=Models,NTamd64\r\n"
        "[Models.NTamd64]\r\n\"Wine Old Model\"=OLD.GPD,USBPRINT\\WineOld\r\n"
        "\"Wine Keep Model\"=KEEP.GPD,USBPRINT\\WineKeep\r\n"
        "[OLD.GPD]\r\nCopyFiles=@OLD.GPD,RM_FILES\r\nDataSection=RM_DATA\r\n"
        "[KEEP.GPD]\r\nCopyFiles=@KEEP.GPD,RM_FILES\r\nDataSection=RM_DATA\r\n"
        "[RM_DATA]\r\nDriverFile=RMDRV.DLL\r\nConfigFile=RMUI.DLL\r\n"
        "[RM_FILES]\r\nRMDRV.DLL\r\nRMUI.DLL\r\n[Strings]\r\nMfg=\"Wine Maker\"\r\n");
  Write(dir + u"OLD.GPD", "*GPDSpecVersion: \"1.0\"\r\n*GPDFileVersion: \"1.0\"\r\n");
  Write(dir + u"KEEP.GPD", "*GPDFileVersion: \"9.0\"\r\n");
  Write(dir + u"RMDRV.DLL", "driver");
  Write(dir + u"RMUI.DLL", "driver ui");
  return dir;
}

TEST(WineRemoval, RegistryAdapterWritesReadsAndDeletesATree) {
  InstallWin32Ports();
  const TString path = u"SOFTWARE\\DriverSetupTest\\A\\B";
  {
    TRegKey key;
    ASSERT_TRUE(key.Create(path, TRegView::Key64));
    ASSERT_TRUE(Reg().WriteText(key.Get(), u"Name", u"välue"));
  }
  TRegKey key, parent;
  ASSERT_TRUE(key.Open(path, false, TRegView::Key64));
  TString text;
  std::uint32_t number = 7;
  EXPECT_TRUE(Reg().ReadText(key.Get(), u"Name", text));
  EXPECT_EQ(text, u"välue");
  EXPECT_FALSE(Reg().ReadNumber(key.Get(), u"Name", number)) << "a text is no number";
  std::vector<TRegValue> values;
  ASSERT_TRUE(Reg().ListValues(key.Get(), values));
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].Text, u"välue");
  key.Close();
  ASSERT_TRUE(parent.Open(u"SOFTWARE", true, TRegView::Key64));
  EXPECT_TRUE(Reg().DeleteTree(parent.Get(), u"DriverSetupTest"));
  EXPECT_FALSE(key.Open(u"SOFTWARE\\DriverSetupTest", false, TRegView::Key64));
}

TEST(WineRemoval, OutdatedDriverGoesWithItsQueuesRecordAndInfCopy) {
  InstallWin32Ports();
  InstallWin32Spooler();
  const TString dir = WritePackage();
  TString q1, q2, keep;
  ASSERT_EQ(UIAddPrinter(kOld, dir + u"rm.inf", u"LPT1:", q1), 0u) << "is the print UI stand-in installed?";
  ASSERT_EQ(UIAddPrinter(kOld, dir + u"rm.inf", u"LPT2:", q2), 0u);
  ASSERT_EQ(UIAddPrinter(kKeep, dir + u"rm.inf", u"LPT1:", keep), 0u);
  ASSERT_TRUE(::SetDefaultPrinterW(W(keep)));
  {
    TRegKey record;
    ASSERT_TRUE(record.Create(kMakerKey + u"\\PrinterDrivers\\" + kOld));
  }
  const TString inf = SystemInfFolder(Fs().GetSystemDirectory());
  Write(inf + u"oem77.inf",
        "[Version]\r\nClass=Printer\r\n[Strings]\r\nProviderName=\"WineMaker\"\r\n"
        "[WineMaker]\r\n\"Wine Old Model\"=OLD.GPD,USBPRINT\\WineOld\r\n");
  Write(inf + u"oem77.pnf", "pnf");

  RefreshPrinters();
  TStringList found;
  ASSERT_TRUE(NeedUninstallOldDriver(kOld, u"1.1", found));
  EXPECT_EQ(found, (TStringList{q1, q2}));
  std::uint32_t code = 99;
  EXPECT_TRUE(UninstallOldDriver(kOld, u"1.1", kMaker, code));
  EXPECT_EQ(code, kDeleteDone);

  RefreshPrinters();
  EXPECT_FALSE(PrinterExists(q1));
  EXPECT_FALSE(PrinterExists(q2));
  EXPECT_FALSE(PrinterDriverExists(kOld));
  EXPECT_TRUE(PrinterExists(keep));
  TString def;
  EXPECT_TRUE(GetDefaultPrinterName(def));
  EXPECT_EQ(def, keep);
  TRegKey gone;
  EXPECT_FALSE(gone.Open(kMakerKey));
  EXPECT_FALSE(Exists(inf + u"oem77.inf"));
  EXPECT_FALSE(Exists(inf + u"oem77.pnf"));

  // A second run finds nothing to remove.
  RefreshPrinters();
  code = 99;
  EXPECT_FALSE(NeedUninstallOldDriver(kOld, u"1.1", found));
  EXPECT_TRUE(found.empty());
  EXPECT_TRUE(UninstallOldDriver(kOld, u"1.1", kMaker, code));
  EXPECT_EQ(code, 99u);
}

}  // namespace
