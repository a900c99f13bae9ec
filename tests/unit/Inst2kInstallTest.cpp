#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/ScopedMachine.h"
#include "inst2k/Inst2kState.h"
#include "inst2k/InstallDriver.h"
#include "inst2k/RegistryInf.h"
#include "inst2k/ReportInstallError.h"
#include "platform/Inst2kApi.h"

using namespace inst2k;

namespace {

const std::string kModelId = "DemoCorpDemo_Printer_9F2A";
constexpr THandle kOwner = 0x30412;

class Inst2kInstall : public ::testing::Test {
 protected:
  Inst2kInstall() {
    m.libSys.CurrentDir = "C:\\Users\\me\\AppData\\Local\\Temp\\tmp1A2B";
    m.libSys.AddFile("C:\\Program Files\\DemoCorp\\Printer Drivers\\Demo\\demo.inf");
    m.libSys.AddFile(m.libSys.CurrentDir + "\\Drivers\\Win2K\\demo.inf");
    m.libSys.AddFolder(m.libSys.CurrentDir + "\\Drivers");
    m.tree.Add("USBPRINT\\DEMOCORPDEMO_PRINTER_9F2A\\7&1A2B3C4D&0&USB001",
               {"USBPRINT\\DemoCorpDemo_Printer_9F2A", kModelId});
  }
  std::int32_t Inst(const std::string& inf, const std::string& hwid = kModelId) {
    return FuncInst2K(inf.c_str(), hwid.c_str(), "USB001", kOwner);
  }
  ScopedMachine m;
};

}  // namespace

TEST_F(Inst2kInstall, InstallsForcedForPresentDevicesWithTheFullInfPath) {
  EXPECT_EQ(LastInstallErrorCode(), 0u);  // as loaded
  EXPECT_EQ(Inst("Drivers\\Win2K\\demo.inf"), kInstalled);
  ASSERT_EQ(m.tree.UpdateCalls.size(), 1u);
  const auto& call = m.tree.UpdateCalls[0];
  EXPECT_EQ(call.InfPath, m.libSys.CurrentDir + "\\Drivers\\Win2K\\demo.inf");
  EXPECT_EQ(call.HardwareId, kModelId);
  EXPECT_EQ(call.Flags, kInstallFlagForce);
  EXPECT_EQ(call.Owner, kOwner);
  EXPECT_EQ(ModuleState().OwnerWindow, kOwner);  // kept for later calls
  ASSERT_EQ(m.libSys.DebugOutput.size(), 3u);
  EXPECT_EQ(m.libSys.DebugOutput[0], kModelId);
  EXPECT_EQ(m.libSys.DebugOutput[1], call.InfPath);
  EXPECT_EQ(LastInstallErrorCode(), 0u);
}

TEST_F(Inst2kInstall, RestartNeededAnswersOne) {
  m.tree.RebootRequired = true;
  EXPECT_EQ(Inst("C:\\Program Files\\DemoCorp\\Printer Drivers\\Demo\\demo.inf"), kInstalledRestart);
  EXPECT_NE(m.libSys.DebugOutput.back().find("Windows"), std::string::npos);
}

TEST_F(Inst2kInstall, NoPresentDeviceFailsWithItsCodeRecorded) {
  m.tree.Devices[0].Present = false;
  ShowErrorCode(1);
  EXPECT_EQ(Inst("Drivers\\Win2K\\demo.inf"), kInstallFailed);
  EXPECT_EQ(LastInstallErrorCode(), kErrorNoSuchDevinst);
  EXPECT_EQ(m.libSys.GetLastError(), kErrorNoSuchDevinst);
  ASSERT_EQ(m.libSys.Boxes.size(), 1u);
  // SetupAPI codes have no system text: the code-only pattern is used.
  EXPECT_EQ(m.libSys.Boxes[0].Text, "Update Driver For PlugAndPlay Devices fail: (0xE000020B)\n");
  EXPECT_EQ(m.libSys.Boxes[0].Caption, "Error");
  EXPECT_EQ(m.libSys.Boxes[0].Owner, kOwner);
  EXPECT_EQ(m.libSys.LoadedFromModule, ModuleState().ModuleInstance);
  EXPECT_EQ(m.libSys.DebugOutput.back(), "Update Driver For PlugAndPlay Devices fail !!!");
}

TEST_F(Inst2kInstall, NoAssociatedServiceAnswersMinusOneWithoutRecording) {
  m.tree.UpdateError = kErrorNoAssociatedService;
  ShowErrorCode(1);
  EXPECT_EQ(Inst("Drivers\\Win2K\\demo.inf"), kNoAssociatedService);
  EXPECT_EQ(LastInstallErrorCode(), 0u);
  EXPECT_TRUE(m.libSys.Boxes.empty());
}

TEST_F(Inst2kInstall, MissingInfOrFolderAnswersTwoWithFileNotFound) {
  m.tree.Devices[0].Present = false;
  Inst("Drivers\\Win2K\\demo.inf");  // records 0xE000020B
  ASSERT_EQ(LastInstallErrorCode(), kErrorNoSuchDevinst);
  m.tree.UpdateCalls.clear();

  EXPECT_EQ(Inst("Drivers\\Win2K\\missing.inf"), kInstallFailed);
  EXPECT_EQ(Inst("Drivers"), kInstallFailed);  // a folder is no INF
  EXPECT_EQ(Inst(""), kInstallFailed);
  EXPECT_TRUE(m.tree.UpdateCalls.empty());
  EXPECT_EQ(LastInstallErrorCode(), kErrorFileNotFound);  // the caller learns why
  EXPECT_TRUE(m.libSys.Boxes.empty());

  ShowErrorCode(1);
  Inst("Drivers\\Win2K\\missing.inf");
  ASSERT_EQ(m.libSys.Boxes.size(), 1u);
  EXPECT_EQ(m.libSys.Boxes[0].Text, "Drivers\\Win2K\\missing.inf");
  EXPECT_EQ(m.libSys.Boxes[0].Style, mb::IconWarning);
}

TEST_F(Inst2kInstall, OverlongIdOrPathIsRefusedWithACode) {
  EXPECT_EQ(Inst("Drivers\\Win2K\\demo.inf", std::string(260, 'H')), kInstallFailed);
  EXPECT_EQ(LastInstallErrorCode(), kErrorInvalidParameter);
  EXPECT_EQ(Inst("Drivers\\Win2K\\demo.inf", std::string(259, 'H')), kInstallFailed);  // passed on
  EXPECT_EQ(LastInstallErrorCode(), kErrorNoSuchDevinst);
  ASSERT_EQ(m.tree.UpdateCalls.size(), 1u);

  // A relative path that is short but whose full form reaches 260 characters.
  const std::string rel = std::string(260 - m.libSys.CurrentDir.size() - 1, 'd');
  m.libSys.AddFile(m.libSys.CurrentDir + "\\" + rel);
  EXPECT_EQ(Inst(rel), kInstallFailed);
  EXPECT_EQ(LastInstallErrorCode(), kErrorFilenameExcedRange);
  EXPECT_EQ(m.tree.UpdateCalls.size(), 1u);
}

TEST_F(Inst2kInstall, DebugModeAnnouncesTheInstall) {
  SetDebugMode(1);
  Inst("Drivers\\Win2K\\demo.inf");
  ASSERT_FALSE(m.libSys.Boxes.empty());
  EXPECT_EQ(m.libSys.Boxes[0].Text, "Inst2K()<<<<<<");
  EXPECT_EQ(m.libSys.Boxes[0].Owner, kOwner);
}

TEST_F(Inst2kInstall, SilentTestPassesItsArgumentsAsGivenAndRecordsNothing) {
  ShowErrorCode(1);
  EXPECT_EQ(Inst2k_IsInlineDeviceExist(kOwner, kModelId.c_str(), "Drivers\\Win2K\\demo.inf", 4), 0u);
  EXPECT_EQ(m.tree.UpdateCalls.back().InfPath, "Drivers\\Win2K\\demo.inf");  // not made absolute
  EXPECT_EQ(m.tree.UpdateCalls.back().Flags, kInstallFlagNonInteractive);

  EXPECT_EQ(Inst2k_IsInlineDeviceExist(0, "NO\\SUCH_MODEL", "Drivers\\Win2K\\demo.inf", 4), kErrorNoSuchDevinst);
  EXPECT_EQ(Inst2k_IsInlineDeviceExist(0, kModelId.c_str(), "Drivers\\Win2K\\gone.inf", 4), kErrorFileNotFound);
  EXPECT_EQ(LastInstallErrorCode(), 0u);
  EXPECT_TRUE(m.libSys.Boxes.empty());
}

TEST_F(Inst2kInstall, ErrorBoxTextsComeFromTheStringTable) {
  ShowErrorCode(1);
  m.libSys.Strings = {{1, "%s 失败: %s\n"}, {2, "%s 失败: (0x%08X)\n"}, {3, "错误"}};
  m.tree.UpdateError = kErrorFileNotFound;
  Inst("Drivers\\Win2K\\demo.inf");
  m.tree.UpdateError = 0x2A;
  Inst("Drivers\\Win2K\\demo.inf");
  ASSERT_EQ(m.libSys.Boxes.size(), 2u);
  EXPECT_EQ(m.libSys.Boxes[0].Text,
            "Update Driver For PlugAndPlay Devices 失败: The system cannot find the file specified.\n");
  EXPECT_EQ(m.libSys.Boxes[1].Text, "Update Driver For PlugAndPlay Devices 失败: (0x0000002A)\n");
  EXPECT_EQ(m.libSys.Boxes[1].Caption, "错误");

  // The table is the one of the language the system default language selects.
  const std::pair<std::uint16_t, std::uint16_t> tables[] = {
      {0x0409, 0x0409}, {0x0411, 0x0409}, {0x1004, 0x0804}, {0x0804, 0x0804}, {0x0C04, 0x0404}};
  for (const auto& [system, table] : tables) {
    m.libSys.LangID = system;
    Inst("Drivers\\Win2K\\demo.inf");
    EXPECT_EQ(m.libSys.LastStringLanguage, table) << system;
  }
}

TEST(Inst2kFormat, FillsPatternsWithoutReadingPastItsArguments) {
  EXPECT_EQ(FormatLibText("%s fail: (0x%08X)\n", {std::string("Ctx"), 0xE000020Bu}), "Ctx fail: (0xE000020B)\n");
  EXPECT_EQ(FormatLibText("%s %s %d%%", {std::string("a")}), "a  0%");
  EXPECT_EQ(FormatLibText("%5u|%x|%q", {7u, 255u}), "    7|ff|%q");
  EXPECT_EQ(FormatLibText("tail %", {}), "tail %");
}

TEST_F(Inst2kInstall, RegistersInfAndHandsBackTheNameOnlyWhenItFits) {
  const std::string inf = "C:\\Program Files\\DemoCorp\\Printer Drivers\\Demo\\demo.inf";
  const std::string oem = "C:\\Windows\\INF\\oem7.inf";  // 23 characters and the zero
  char name[64];

  std::memset(name, 'x', sizeof name);
  EXPECT_TRUE(Inst2k_RegistryInf(inf.c_str(), "C:\\Program Files\\DemoCorp", name, oem.size() + 1));
  EXPECT_EQ(name[0], 'x');  // exactly as long as the name: left unwritten

  std::memset(name, 'x', sizeof name);
  EXPECT_TRUE(Inst2k_RegistryInf(inf.c_str(), "C:\\Program Files\\DemoCorp", name, oem.size() + 2));
  EXPECT_STREQ(name, oem.c_str());  // the same copy is found again
  EXPECT_EQ(m.tree.OemInfs.size(), 1u);

  std::memset(name, 'x', sizeof name);
  EXPECT_FALSE(Inst2k_RegistryInf("C:\\nowhere\\demo.inf", "C:\\nowhere", name, sizeof name));
  EXPECT_EQ(name[0], 'x');
  EXPECT_EQ(m.libSys.GetLastError(), kErrorFileNotFound);
  EXPECT_EQ(LastInstallErrorCode(), 0u);
}

TEST_F(Inst2kInstall, RefreshReenumeratesBelowTheRootWhenItIsFound) {
  RefreshHW();
  ASSERT_EQ(m.tree.Reenumerated.size(), 1u);
  EXPECT_EQ(m.tree.Reenumerated[0], 0x4711u);
  m.tree.LocateResult = 13;  // CR_NO_SUCH_DEVNODE
  RefreshHW();
  EXPECT_EQ(m.tree.Reenumerated.size(), 1u);
  EXPECT_EQ(LastInstallErrorCode(), 0u);
}
