#include <gtest/gtest.h>

#include "fakes/ScopedMachine.h"
#include "inst2k/PrnSetup64.h"
#include "platform/Inst2kApi.h"

using namespace inst2k;

namespace {

const TString kDir = u"C:\\Users\\me\\AppData\\Local\\Temp\\tmp1A2B";
const TString kDll = kDir + u"\\inst2k64.dll";
const TString kIni = u"C:\\Users\\me\\AppData\\Local\\Temp\\tmp3C.tmp";
const std::vector<TString> kInstallArgs = {u"/Handle", u"197364",
                                           u"/Dll",    u"inst2k64.dll",
                                           u"/Inf",    u"Drivers\\Win64\\demo.inf",
                                           u"/HWID",   u"DemoCorpDemo_Printer_9F2A"};

std::vector<TString> Detect(std::vector<TString> args = kInstallArgs) {
  args.push_back(u"/FindHWID");
  args.push_back(kIni);
  return args;
}

class PrnSetup64Host : public ::testing::Test {
 protected:
  PrnSetup64Host() { lib.LastError = 0; }
  ScopedMachine m;
  FakePrnSetupHost& host = m.host;
  ScopedPort<IModules> modules{host};  // the host's process loads its libraries through its own fake
  FakeInst2kLibrary& lib = host.Library(kDll);
  TString Ret() const { return host.Profile(kIni, u"Data", u"Ret"); }
  const FakePrnSetupHost::Sent& OnlyMessage() const {
    EXPECT_EQ(host.Messages.size(), 1u);
    return host.Messages.at(0);
  }
};

}  // namespace

TEST_F(PrnSetup64Host, DetectionWritesTheTestResultUnsigned) {
  host.SetProfile(kIni, u"Data", u"Flag", u"4");
  lib.TestResult = kErrorNoSuchDevinst;
  EXPECT_EQ(PrnSetup64Main(Detect()), 0);
  EXPECT_EQ(Ret(), u"3758096907");
  EXPECT_EQ(lib.ShowErrorCodeArg, 0);
  EXPECT_EQ(lib.Calls, (std::vector<std::string>{"ShowErrorCode", "Inst2k_IsInlineDeviceExist"}));
  EXPECT_EQ(lib.Inf, "Drivers\\Win64\\demo.inf");  // as given
  EXPECT_EQ(lib.HardwareId, "DemoCorpDemo_Printer_9F2A");
  EXPECT_EQ(lib.Owner, nullptr);
  EXPECT_EQ(lib.Flags, 4u);
  EXPECT_TRUE(host.Messages.empty());
  EXPECT_EQ(host.Loaded, 0);

  lib.TestResult = 0;
  PrnSetup64Main(Detect());
  EXPECT_EQ(Ret(), u"0");
}

TEST_F(PrnSetup64Host, DetectionFlagsComeFromTheFileOrDefaultToFour) {
  host.SetProfile(kIni, u"data", u"FLAG", u"6");
  PrnSetup64Main(Detect());
  EXPECT_EQ(lib.Flags, 6u);
  host.Profiles.clear();
  PrnSetup64Main(Detect());
  EXPECT_EQ(lib.Flags, 4u);
}

TEST_F(PrnSetup64Host, DetectionWithoutLibraryOrExportWritesNoResult) {
  auto args = Detect();
  args[3] = u"missing.dll";
  PrnSetup64Main(args);
  ASSERT_EQ(host.Boxes.size(), 1u);
  EXPECT_EQ(host.Boxes[0].Text, u"装载DLL失败！");
  EXPECT_EQ(host.Boxes[0].Caption, u"错误");
  EXPECT_EQ(host.Boxes[0].Style, 0x10u);
  EXPECT_FALSE(host.HasProfileValue(kIni, u"Data", u"Ret"));

  host.Boxes.clear();
  lib.Exports.erase("Inst2k_IsInlineDeviceExist");
  PrnSetup64Main(Detect());
  ASSERT_EQ(host.Boxes.size(), 1u);
  EXPECT_EQ(host.Boxes[0].Text, u"在DLL中查找不到函數：Inst2k_IsInlineDeviceExist");
  EXPECT_FALSE(host.HasProfileValue(kIni, u"Data", u"Ret"));
  EXPECT_EQ(host.Loaded, 0);
  EXPECT_TRUE(host.Messages.empty());
}

TEST_F(PrnSetup64Host, DetectionHandlesChineseFoldersThroughTheCodePage) {
  auto args = Detect();
  args[5] = u"..\\驱动程序\\Win64\\demo.inf";
  PrnSetup64Main(args);
  EXPECT_EQ(lib.Inf, "..\\驱动程序\\Win64\\demo.inf");  // the fake's code page is UTF-8

  // A code page that cannot carry them: the reason, not a mangled path.
  host.Ansi = FakePrnSetupHost::AnsiPage::Latin1;
  lib.Calls.clear();
  PrnSetup64Main(args);
  EXPECT_EQ(Ret(), u"1113");
  EXPECT_EQ(lib.Calls, std::vector<std::string>{"ShowErrorCode"});

  args[5] = TString(1024, u'a');
  PrnSetup64Main(args);
  EXPECT_EQ(Ret(), u"206");
  args[5] = TString(1023, u'a');
  PrnSetup64Main(args);
  EXPECT_EQ(lib.Inf.size(), 1023u);
}

TEST_F(PrnSetup64Host, InstallReportsSuccessForZeroAndOneOnly) {
  struct Row {
    std::int32_t result;
    std::uint32_t message;
    std::intptr_t code;
  } rows[] = {{0, kMsgInstallSucceeded, 0},
              {1, kMsgInstallSucceeded, 0},
              // the device was not updated: a failure with the system's reason
              {-1, kMsgInstallFailed, static_cast<std::intptr_t>(kErrorNoAssociatedService)}};
  for (const Row& r : rows) {
    host.Messages.clear();
    lib.InstallResult = r.result;
    PrnSetup64Main(kInstallArgs);
    const auto& msg = OnlyMessage();
    EXPECT_EQ(msg.Window, 197364);
    EXPECT_EQ(msg.Message, r.message) << r.result;
    EXPECT_EQ(msg.WParam, 0u);
    EXPECT_EQ(msg.LParam, r.code);
    EXPECT_EQ(msg.LoadedLibraries, 0);  // released before reporting
  }
  EXPECT_EQ(lib.Port, "LPT1:");
  EXPECT_EQ(lib.Owner, nullptr);
  EXPECT_EQ(lib.Inf, "Drivers\\Win64\\demo.inf");
  EXPECT_EQ(lib.ShowErrorCodeArg, 0);
  EXPECT_FALSE(host.HasProfileValue(kIni, u"Data", u"Ret"));
}

TEST_F(PrnSetup64Host, InstallFailureCarriesTheLibrarysCode) {
  lib.InstallResult = kInstallFailed;
  lib.LastError = kErrorNoSuchDevinst;
  PrnSetup64Main(kInstallArgs);
  const auto& msg = OnlyMessage();
  EXPECT_EQ(msg.Message, kMsgInstallFailed);
  EXPECT_EQ(static_cast<std::uint32_t>(msg.LParam), kErrorNoSuchDevinst);
  EXPECT_EQ(lib.Calls, (std::vector<std::string>{"ShowErrorCode", "FuncInst2K", "LastInstallErrorCode"}));
  EXPECT_TRUE(host.Boxes.empty());
}

TEST_F(PrnSetup64Host, WithoutAHandleNothingIsSent) {
  for (const TString& bad : {TString(u"window"), TString(u"0")}) {
    auto args = kInstallArgs;
    args[1] = bad;
    PrnSetup64Main(args);
  }
  auto args = kInstallArgs;
  args.erase(args.begin(), args.begin() + 2);
  PrnSetup64Main(args);
  EXPECT_TRUE(host.Messages.empty());
  EXPECT_EQ(lib.Calls.size(), 9u);  // still installed three times
}

TEST_F(PrnSetup64Host, InstallWithoutLibraryShowsTheBoxThenReportsTheLoadError) {
  auto args = kInstallArgs;
  args[3] = u"C:\\elsewhere\\inst2k64.dll";
  PrnSetup64Main(args);
  EXPECT_EQ(host.Boxes.at(0).Text, u"装载DLL失败！");
  EXPECT_EQ(host.Events, (std::vector<TString>{u"load", u"box", u"send"}));
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
  EXPECT_EQ(OnlyMessage().LParam, 126);

  host.Messages.clear();
  args.erase(args.begin() + 2, args.begin() + 4);  // no /Dll at all
  PrnSetup64Main(args);
  EXPECT_EQ(OnlyMessage().LParam, 126);
}

TEST_F(PrnSetup64Host, OlderLibraryIsInstalledThroughInst2K) {
  lib.Exports = {"Inst2K"};
  lib.InstallResult = kInstallFailed;
  lib.LastError = 99;
  PrnSetup64Main(kInstallArgs);
  EXPECT_EQ(lib.Calls, std::vector<std::string>{"Inst2K"});
  EXPECT_EQ(lib.Port, "LPT1:");
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
  // an older library keeps no code: the failure still carries one
  EXPECT_EQ(OnlyMessage().LParam, static_cast<std::intptr_t>(kErrorInstallFailure));
}

TEST_F(PrnSetup64Host, LibraryWithoutInstallExportFailsWithBox) {
  lib.Exports = {"ShowErrorCode", "LastInstallErrorCode"};
  PrnSetup64Main(kInstallArgs);
  EXPECT_EQ(host.Boxes.at(0).Text, u"装载Inst2K()失败！");
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
  EXPECT_EQ(static_cast<std::uint32_t>(OnlyMessage().LParam), kErrorProcNotFound);
  EXPECT_TRUE(lib.Calls.empty());
}

TEST_F(PrnSetup64Host, LibraryWithoutTheSwitchesStillInstalls) {
  lib.Exports = {"FuncInst2K"};
  lib.InstallResult = kInstallFailed;
  PrnSetup64Main(kInstallArgs);
  EXPECT_EQ(lib.Calls, std::vector<std::string>{"FuncInst2K"});
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
}

TEST_F(PrnSetup64Host, InstallConvertsThroughTheCodePageAndRefusesWhatDoesNotFit) {
  auto args = kInstallArgs;
  args[5] = u"..\\驱动程序\\Win64\\demo.inf";
  PrnSetup64Main(args);
  EXPECT_EQ(lib.Inf, "..\\驱动程序\\Win64\\demo.inf");
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallSucceeded);

  // Characters the code page lacks: no install with a mangled path.
  host.Ansi = FakePrnSetupHost::AnsiPage::Latin1;
  host.Messages.clear();
  lib.Calls.clear();
  PrnSetup64Main(args);
  EXPECT_TRUE(lib.Calls.empty());
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
  EXPECT_EQ(OnlyMessage().LParam, 1113);
  EXPECT_EQ(host.Loaded, 0);

  // Latin-1 itself converts; length counts in bytes of the code page.
  args[5] = u"Tr\u00e9iber\\demo.inf";
  args[7] = TString(260, u'H');
  host.Messages.clear();
  PrnSetup64Main(args);
  EXPECT_EQ(OnlyMessage().LParam, 206);
  args[7] = TString(259, u'H');
  host.Messages.clear();
  PrnSetup64Main(args);
  EXPECT_EQ(lib.Inf, "Tr\xe9iber\\demo.inf");
  EXPECT_EQ(lib.HardwareId.size(), 259u);
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallSucceeded);
}

TEST_F(PrnSetup64Host, AHardwareIdWithBlanksIsRefusedInBothModes) {
  auto args = kInstallArgs;
  args[7] = u"DemoCorpDemo";
  args.push_back(u"Printer_9F2A");  // the installer passes the ID unquoted
  PrnSetup64Main(args);
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
  const std::intptr_t refusal = OnlyMessage().LParam;
  EXPECT_NE(refusal, 0);

  args.push_back(u"/FindHWID");
  args.push_back(kIni);
  PrnSetup64Main(args);
  EXPECT_EQ(Ret(), text::IntToStr(refusal));
  EXPECT_TRUE(lib.Calls.empty());
  EXPECT_EQ(host.Loaded, 0);
}

TEST_F(PrnSetup64Host, ARelativeExchangeFileLiesInTheCurrentDirectory) {
  auto args = Detect();
  args.back() = u"tmp3C.tmp";
  host.SetProfile(kDir + u"\\tmp3C.tmp", u"Data", u"Flag", u"6");
  lib.TestResult = kErrorNoSuchDevinst;
  PrnSetup64Main(args);
  EXPECT_EQ(lib.Flags, 6u);
  EXPECT_EQ(host.Profile(kDir + u"\\tmp3C.tmp", u"Data", u"Ret"), u"3758096907");
  EXPECT_FALSE(host.HasProfileValue(u"tmp3C.tmp", u"Data", u"Ret"));
}

TEST_F(PrnSetup64Host, AnErrorOnTheWaySendsTheFailureOnce) {
  lib.Throws = true;
  PrnSetup64Main(kInstallArgs);
  EXPECT_EQ(OnlyMessage().Message, kMsgInstallFailed);
  EXPECT_NE(OnlyMessage().LParam, 0);

  // The entry point's last resort after the message went out sends nothing more.
  PrnSetup64LastResort(kInstallArgs, 0xC0000005);
  EXPECT_EQ(host.Messages.size(), 1u);

  // A crash before any message: the failure with the crash's code.
  host.Messages.clear();
  lib.Throws = false;
  PrnSetup64Main(Detect());
  PrnSetup64LastResort(kInstallArgs, 0xC0000005);
  EXPECT_EQ(static_cast<std::uint32_t>(OnlyMessage().LParam), 0xC0000005u);
  host.Messages.clear();
  PrnSetup64LastResort(Detect(), 0xC0000005);  // detection mode sends no message
  EXPECT_TRUE(host.Messages.empty());
}
