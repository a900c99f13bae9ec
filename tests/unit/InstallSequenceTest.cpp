// The whole install of a model, from the Install button to the outcome box,
// against the fake machine: the package on disk, the spooler with the print
// UI, the device-install library, the 64-bit host and the registry.
#include <gtest/gtest.h>

#include <optional>

#include <cstring>
#include <functional>

#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "fakes/FakeMainView.h"
#include "fakes/ScopedMachine.h"
#include "install/InstallFunc.h"
#include "installer/CommandLine.h"
#include "installer/uMain.h"
#include "platform/Inst2kApi.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/ProfileFile.h"
#include "sysutil/Trace.h"

namespace {

const TString kDll = u"C:\\Temp\\ws\\inst2k.dll";
const TString kHost = u"C:\\Temp\\ws\\PrnSetup64.exe";

struct InstallMachine;
InstallMachine* g_M = nullptr;

struct InstallMachine : ScopedMachine {
  FakeMainView view;
  TFormMain form{view};

  // The printer and the library: what detection answers, where the printer
  // is plugged in, and the queues a Plug and Play install leaves.
  std::uint32_t test = 1;
  TString devicePort;
  std::vector<std::pair<TString, TString>> pnpQueues;
  std::int32_t installResult = 2;
  std::uint32_t lastError = 0;

  explicit InstallMachine(const TString& modelKeys = u"") {
    g_M = this;
    fs.AddFile(u"C:\\Pkg\\Drv\\a.inf", "[Version]\r\nDriverVer=01/01/2024,1.0\r\n");
    Describe(u"TS-1", u"USBPRINT\\TESS01", modelKeys);
    fs.AddFile(u"C:\\Temp\\ws\\Lang\\Strings.ini",
               text::ToUtf8(u"[DialogText]\r\nTextNotInCodePage=No code page: %s\r\nPackageFileMissing=No file: %s\r\n"
                            u"PackageFolderMissing=No folder: %s\r\n"));
    g_LangOptions.LoadFromFile(u"C:\\Temp\\ws\\Lang\\Strings.ini");
    fs.AddDir(u"C:\\Program Files (x86)");
    fs.AddDir(u"C:\\Users\\me\\AppData\\Local\\Temp");
    modules.Libraries[kDll] = {{"Inst2k_IsInlineDeviceExist", reinterpret_cast<void*>(&IsInline)},
                               {"FuncFindExistDevice", reinterpret_cast<void*>(&FindDevice)},
                               {"RefreshHW", reinterpret_cast<void*>(&Refresh)},
                               {"FuncInst2K", reinterpret_cast<void*>(&Install)},
                               {"LastInstallErrorCode", reinterpret_cast<void*>(&LastError)},
                               {"Inst2k_RegistryInf", reinterpret_cast<void*>(&RegisterInf)}};
    procs.RunAtStart = false;
    procs.Programs[u"PrnSetup64.exe"] = [this](const TStartup& s) { return Host(s); };
    strInstaller& t = g_strInstaller;
    t.NoticeTitle = u"Notice";
    t.InstallBeforeNeedUninstall = u"Remove old?";
    t.DeletePrinterIsPrinting = u"Printing";
    t.DeletePrinterError = u"Not deleted";
    t.DeletePrinterDriverError = u"Driver kept";
    t.RestartWindowsimmediately = u"Restart now?";
    t.BeforeInstallPrompt = u"Connect?";
    t.ExistSamePrinterAndUpdate = u"Update?";
    t.InstallSuccessStr = u"Installed %s on %s";
    t.RestartPrompt = u"Restart later";
    t.InstallFailReasonUnknow = u"Unknown";
    t.InstallRetry = u"Retry";
    t.InstallOnline = u"Online on %s?";
    t.InstallCancelStr = u"Cancelled";
    t.InstallFailStr = u"Failed: %s";
    form.m_iSelect = 0;
    form.m_iWinVer = 61;
    form.m_strManufactor = u"Tess";
    form.m_strInst2kDll = kDll;
    form.m_strPrnSetup64Exe = kHost;
  }
  ~InstallMachine() { g_M = nullptr; }
  void Describe(const TString& name, const TString& hardwareId, const TString& modelKeys) {
    fs.AddFile(u"C:\\Pkg\\Setup.ini",
               text::ToUtf8(u"[A]\r\nPrinterName=" + name + u"\r\nPrinterHWID=" + hardwareId +
                            u"\r\nDriverDir=\\Drv\r\nINF.2K=a.inf\r\nINF.X64=a.inf\r\n" + modelKeys));
    g_InstallInfos = TInstallInfos();
    g_InstallInfos.LoadFromFile(u"C:\\Pkg\\Setup.ini");
  }
  void Wow64() {
    sys.Wow64 = true;
    form.m_bWow64 = true;
  }
  // The package's uninstaller, which a restart can run.
  void Uninstaller() {
    fs.AddFile(u"C:\\Pkg\\I386\\TSPrnUni.exe", "MZ");
    reg.AddKey(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
  }
  // An installed driver of the model whose data file has that version, used by a queue.
  void OldDriver(const TString& version) {
    const TString data = u"C:\\Windows\\system32\\spool\\drivers\\w32x86\\3\\TS-1.gpd";
    spooler.AddDriver(u"TS-1", data);
    fs.AddFile(data, text::ToUtf8(u"*GPDFileVersion: \"" + version + u"\"\r\n"));
    spooler.AddPrinter(u"TS-1 old", u"TS-1");
  }
  // The Plug and Play install: the class installer adds the queues.
  void PnpInstall() {
    for (const auto& [name, port] : pnpQueues) {
      if (!spooler.FindDriver(u"TS-1")) spooler.AddDriver(u"TS-1");
      spooler.AddPrinter(name, u"TS-1", port);
    }
  }
  std::uint32_t Host(const TStartup& s) {
    const size_t at = s.CommandLine.find(u"/FindHWID \"");
    if (at == TString::npos) return 0;  // install mode answers with a window message
    TString exchange = s.CommandLine.substr(at + 11);
    exchange.pop_back();
    Fs().WriteProfileString(exchange, u"Data", u"Ret", text::IntToStr(test));
    return 0;
  }
  std::vector<TString> Queues() const {
    std::vector<TString> out;
    for (const auto& p : spooler.PrinterList) out.push_back(p.Info.PrinterName + u"@" + p.Info.PortName);
    return out;
  }
  std::vector<TString> BoxTexts() const {
    std::vector<TString> out;
    for (const auto& b : view.Boxes) out.push_back(b.Text);
    return out;
  }
  // The window is back: controls usable, shown, nothing pending.
  bool Restored() const {
    FakeMainView& v = const_cast<FakeMainView&>(view);
    return v.Ctl(TMainControl::btnStart).Enabled && v.Ctl(TMainControl::btnExit).Enabled &&
           v.Ctl(TMainControl::lvPrinters).Enabled && view.Shown && !view.BusyCursor && !view.WatchdogTimer &&
           form.m_InstallingProgress != TInstallProgress::IPInstalling;
  }

  // The library answers 2 for an INF that does not exist (resolved against
  // the current folder, which is not the driver folder).
  static bool InfThere(const char* inf) { return Fs().FileExists(text::FromUtf8(inf)); }
  static std::uint32_t INST2K_CALL IsInline(void*, const char*, const char* inf, std::uint32_t) {
    if (!InfThere(inf)) return 2;
    if (g_M->test == 0) g_M->PnpInstall();
    return g_M->test;
  }
  static std::int32_t INST2K_CALL FindDevice(const char*, char* hwid, char* idAndPort) {
    if (g_M->devicePort.empty()) return 0;
    std::strcpy(hwid, "USBPRINT\\TESS01");
    std::strncpy(idAndPort, text::ToUtf8(u"USBPRINT\\TESS01\\7&1&" + g_M->devicePort).c_str(), 259);
    return 1;
  }
  static void INST2K_CALL Refresh() {}
  static std::int32_t INST2K_CALL Install(const char* inf, const char*, const char*, void*) {
    if (!InfThere(inf)) return 2;
    if (g_M->installResult <= 1) g_M->PnpInstall();
    return g_M->installResult;
  }
  static std::uint32_t INST2K_CALL LastError() { return g_M->lastError; }
  // The system's registration: the INF copied into its folder under the next free name.
  static std::int32_t INST2K_CALL RegisterInf(const char* inf, const char*, char* out, std::uint32_t size) {
    std::string bytes;
    if (!Fs().ReadFile(text::FromUtf8(inf), bytes)) return 0;
    int n = 5;
    while (Fs().FileExists(u"C:\\Windows\\inf\\oem" + text::IntToStr(n) + u".inf")) ++n;
    const std::string name = "C:\\Windows\\inf\\oem" + std::to_string(n) + ".inf";
    g_M->fs.AddFile(text::FromUtf8(name), bytes);
    std::strncpy(out, name.c_str(), size - 1);
    return 1;
  }
};

// --- The sequence ---------------------------------------------------------------

// A failure box: its text, then the line naming the install record.
TString WithRecord(const TString& failure) {
  return failure + u"\r\n\r\n" + text::Format(LangText(TUiText::RecordLine), {trace::RecordPath()});
}

TEST(InstallSequence, FromTheInstallButtonToTheOutcome) {
  ScopedMachine texts;  // the machine the expected texts are read on
  const TString ok = u"Installed TS-1 on LPT1:";
  // A package read while the code page is UTF-8, installed where it is Latin-1.
  auto latin1 = [](TString name, TString hardwareId, TString maker) {
    return [=](InstallMachine& m) {
      m.Describe(name, hardwareId, u"");
      m.sys.Ansi = FakeSystem::AnsiPage::Latin1;
      m.form.m_strManufactor = maker;
    };
  };
  struct Row {
    const char* situation;
    TString keys;  // of the model in the package description
    std::function<void(InstallMachine&)> arrange;
    std::vector<int> answers;
    std::vector<TString> boxes, queues;
    bool restored = true;
    bool unchanged = false;             // nothing buffered or registered
    std::optional<TUiText> error = {};  // the error box, by its text
  };
  // A box before anything changed, the queues as they were.
  auto refused = [](const char* situation, const TString& keys, std::function<void(InstallMachine&)> arrange,
                    const TString& box, std::vector<TString> queues = {}) {
    return Row{situation, keys, arrange, {}, {WithRecord(box)}, queues, true, true};
  };
  const Row rows[] = {
      {"no model", u"", [](InstallMachine& m) { m.form.m_iSelect = -1; }, {}, {}, {}},
      {"old driver kept",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) { m.OldDriver(u"1.0"); },
       {mb::IdNo},
       {u"Remove old?"},
       {u"TS-1 old@LPT1:"}},
      {"old driver printing",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) {
         m.OldDriver(u"1.0");
         m.spooler.AddJobs(u"TS-1 old", 1);
       },
       {mb::IdYes},
       {u"Remove old?", u"Printing"},
       {u"TS-1 old@LPT1:"}},
      {"old queue not removed",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) {
         m.OldDriver(u"1.0");
         m.printUI.Refuses.insert(u"TS-1 old");
       },
       {mb::IdYes},
       {u"Remove old?", WithRecord(u"Not deleted")},
       {u"TS-1 old@LPT1:"}},
      {"old driver busy, no restart",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) {
         m.OldDriver(u"1.0");
         m.Uninstaller();
         m.printUI.Refuses.insert(u"TS-1");
         m.spooler.DriverDeleteFailures = 2;
       },
       {mb::IdYes, mb::IdNo},
       {u"Remove old?", u"Driver kept\r\nRestart now?"},
       {}},
      {"old driver busy, its removal cannot be scheduled",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) {
         m.OldDriver(u"1.0");
         m.printUI.Refuses.insert(u"TS-1");
         m.spooler.DriverDeleteFailures = 2;
       },
       {mb::IdYes, mb::IdOk, mb::IdNo},
       {u"Remove old?", LangText(TUiText::DeleteDriverNotScheduled), u"Connect?"},
       {}},
      {"newer driver installed",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) { m.OldDriver(u"3.0"); },
       {mb::IdNo, mb::IdYes},
       {u"Update?", u"Connect?", u"Installed TS-1 on LPT1:"},
       {u"TS-1 old@LPT1:", u"TS-1@LPT1:"}},
      {"a queue of the model: its driver updated, no second queue",
       u"",
       [](InstallMachine& m) { m.OldDriver(u"3.0"); },
       {mb::IdYes},
       {u"Update?", u"Installed TS-1 old on LPT1:"},
       {u"TS-1 old@LPT1:"}},
      {"installed driver damaged: offered for removal like an old one",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) { m.OldDriver(u"3.0"), m.fs.DeleteFile(m.spooler.FindDriver(u"TS-1")->DataFile); },
       {mb::IdYes, mb::IdYes},
       {u"Remove old?", u"Connect?", ok},
       {u"TS-1@LPT1:"}},
      {"a connection to another computer's queue of the model",
       u"MustUninstallForGDP=2.0\r\n",
       [](InstallMachine& m) { m.OldDriver(u"1.0"), m.spooler.AddConnection(u"\\\\srv\\TS-1", u"TS-1"); },
       {mb::IdYes, mb::IdYes},
       {u"Remove old?", u"Connect?", ok},
       {u"\\\\srv\\TS-1@", u"TS-1@LPT1:"}},
      {"no to the connect prompt", u"", nullptr, {mb::IdNo}, {u"Connect?"}, {}},
      {"quiet, not connected", u"QuiteMode=1\r\n", nullptr, {}, {ok}, {u"TS-1@LPT1:"}},
      {"buffering fails",
       u"",
       [](InstallMachine& m) { m.shell.ProgramFiles.reset(); },
       {mb::IdYes},
       {u"Connect?"},
       {},
       true,
       false,
       TUiText::BufferNoProgramFiles},
      {"detection installs",
       u"QuiteMode=1\r\n",
       [](InstallMachine& m) {
         m.test = 0;
         m.pnpQueues = {{u"TS-1 USB", u"USB001"}};
       },
       {},
       {u"Installed TS-1 USB on USB001"},
       {u"TS-1 USB@USB001"}},
      {"online in process",
       u"QuiteMode=1\r\nAlwaysSetDefault=1\r\n",
       [](InstallMachine& m) {
         m.test = kErrorNoMoreItems;
         m.devicePort = u"USB001";
         m.installResult = 1;
         m.pnpQueues = {{u"TS-1 (USB)", u"USB001"}, {u"TS-1 (Copy)", u"LPT2:"}};
       },
       {},
       {u"Installed TS-1 (USB) on USB001"},
       {u"TS-1 (USB)@USB001", u"TS-1 (Copy)@LPT2:"}},
      {"online install fails, offline follows",
       u"QuiteMode=1\r\n",
       [](InstallMachine& m) {
         m.test = kErrorNoMoreItems;
         m.devicePort = u"USB001";
       },
       {},
       {ok},
       {u"TS-1@LPT1:"}},
      {"too old for online",
       u"QuiteMode=1\r\n",
       [](InstallMachine& m) {
         m.test = kErrorNoMoreItems;
         m.form.m_iWinVer = 40;
       },
       {},
       {ok},
       {u"TS-1@LPT1:"}},
      {"queue already on the port",
       u"QuiteMode=1\r\n",
       [](InstallMachine& m) {
         m.test = kErrorFileNotFound;
         m.devicePort = u"USB001";
         m.spooler.AddDriver(u"TS-1");
         m.spooler.AddPrinter(u"TS-1 old", u"TS-1", u"USB001");
       },
       {mb::IdNo},
       {u"Update?", u"Installed TS-1 on LPT1:"},
       {u"TS-1 old@USB001", u"TS-1@LPT1:"}},
      refused("model name outside the code page", u"", latin1(u"天枢 TS-1", u"USBPRINT\\TESS01", u"Tess"),
              u"No code page: 天枢 TS-1"),
      refused("hardware ID outside the code page", u"", latin1(u"TS-1", u"USBPRINT\\TESSŁ", u"Tess"),
              u"No code page: USBPRINT\\TESSŁ"),
      refused("buffer path outside the code page", u"", latin1(u"TS-1", u"USBPRINT\\TESS01", u"Tęss"),
              u"No code page: C:\\Program Files (x86)\\Tęss\\Printer Drivers\\TS-1\\a.inf"),
      refused("the package's INF gone since the start, old driver kept", u"MustUninstallForGDP=2.0\r\n",
              [](InstallMachine& m) { m.OldDriver(u"1.0"), m.fs.DeleteFile(u"C:\\Pkg\\Drv\\a.inf"); },
              u"No file: C:\\Pkg\\Drv\\a.inf", {u"TS-1 old@LPT1:"}),
      refused(
          "the driver folder gone since the start", u"",
          [](InstallMachine& m) { m.shell.DeleteTree(0, u"C:\\Pkg\\Drv"); }, u"No folder: C:\\Pkg\\Drv"),
      {"print UI adds nothing",
       u"QuiteMode=1\r\n",
       [](InstallMachine& m) { m.printUI.Refuses.insert(u"TS-1"); },
       {},
       {WithRecord(u"Unknown\r\n" + text::Format(LangText(TUiText::PrintUINoPrinter), {0}) + u"\r\nRetry")},
       {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.situation);
    InstallMachine m(r.keys);
    if (r.arrange) r.arrange(m);
    m.view.Answers.assign(r.answers.begin(), r.answers.end());
    m.form.btnStartClick();
    EXPECT_EQ(m.BoxTexts(), r.boxes);
    EXPECT_EQ(m.Queues(), r.queues);
    EXPECT_EQ(m.Restored(), r.restored);
    if (r.unchanged) {
      EXPECT_EQ(m.fs.CountUnder(u"C:\\Program Files (x86)"), 0u);
      EXPECT_FALSE(m.fs.FileExists(u"C:\\Windows\\inf\\oem5.inf"));
    }
    if (r.error) {
      const TString text = LangText(*r.error);
      ASSERT_EQ(m.view.Errors.size(), 1u);
      EXPECT_TRUE(m.view.Errors[0].starts_with(text.substr(0, text.find(u'%'))));
      EXPECT_TRUE(m.view.Errors[0].ends_with(trace::RecordPath()));
    } else {
      EXPECT_TRUE(m.view.Errors.empty()) << text::ToUtf8(m.view.Errors.empty() ? u"" : m.view.Errors[0]);
    }
  }
}

TEST(InstallSequence, RestartAfterTheBusyDriverAndTheSearchingDialog) {
  InstallMachine m(u"MustUninstallForGDP=2.0\r\nForceOnlineCheck=1\r\n");
  m.OldDriver(u"1.0");
  m.Uninstaller();
  m.printUI.Refuses.insert(u"TS-1");
  m.spooler.DriverDeleteFailures = 2;
  m.printUI.BeforeRun = [&m] {  // the print UI installs once the user has been asked to connect
    if (m.view.Boxes.size() == 3) m.printUI.Refuses.clear();
  };
  m.view.Answers = {mb::IdYes, mb::IdYes, mb::IdYes};
  m.form.btnStartClick();
  EXPECT_NE(m.sys.ExitWindowsFlags, 0xFFFFFFFFu) << "the restart was asked for";
  EXPECT_TRUE(m.view.Terminated);
  EXPECT_EQ(m.view.SearchingShown, 1);
  EXPECT_TRUE(m.view.HiddenDuringSearch);
  EXPECT_TRUE(m.Restored());
  EXPECT_EQ(m.view.Boxes.back().Text, u"Installed TS-1 on LPT1:");
}

TEST(InstallSequence, AQuietInstallEndsWithTheWindowStillHidden) {
  InstallMachine m;
  m.view.Shown = false;  // as created for a run without the window
  m.form.SetCommandLine(ParseCommandLine(u"DriverSetup.exe /quiet /model ts-1"));
  m.form.RunCommand();
  EXPECT_EQ(m.Queues(), std::vector<TString>{u"TS-1@LPT1:"});
  EXPECT_EQ(m.form.Outcome(), TRunOutcome::Succeeded);
  EXPECT_TRUE(m.view.Terminated);
  EXPECT_FALSE(m.view.Shown);
  EXPECT_TRUE(m.view.Boxes.empty());
}

TEST(InstallSequence, AFailedSearchingDialogGivesTheWindowBack) {
  InstallMachine m(u"QuiteMode=1\r\nForceOnlineCheck=1\r\n");
  m.view.SearchingFails = true;
  m.form.btnStartClick();
  EXPECT_EQ(m.view.Errors.size(), 1u);
  EXPECT_TRUE(m.view.HiddenDuringSearch);
  EXPECT_TRUE(m.Restored());
}

TEST(InstallSequence, NoSecondInstallWhileOneRuns) {
  InstallMachine m(u"QuiteMode=1\r\n");
  m.Wow64();
  m.test = kErrorNoMoreItems;
  m.devicePort = u"USB001";
  m.form.btnStartClick();  // the host now works
  ASSERT_TRUE(m.form.WaitingForHost());
  m.form.lvPrintersDblClick();
  m.form.btnStartClick();
  EXPECT_EQ(m.procs.Running.size(), 1u);
  EXPECT_TRUE(m.Queues().empty()) << "no offline install beside the host";
}

// --- The command line ------------------------------------------------------------

TEST(InstallSequence, CommandLineRuns) {
  ScopedMachine texts;  // the machine the expected texts are read on
  const TString record =
      u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tess Printer Utilities\\PrinterDrivers\\TS-1";
  const TString buffer = u"C:\\Program Files (x86)\\Tess\\Printer Drivers\\TS-1";
  // The model as a former install left it: queue, driver, record, registered INF and buffer.
  auto installedBefore = [&](InstallMachine& m) {
    m.OldDriver(u"3.0");
    m.reg.SetText(record, u"DisplayName", u"TS-1");
    m.fs.AddFile(u"C:\\Windows\\inf\\oem9.inf", m.fs.Contents(u"C:\\Pkg\\Drv\\a.inf"));
    m.fs.AddFile(buffer + u"\\a.inf", m.fs.Contents(u"C:\\Pkg\\Drv\\a.inf"));
  };
  // An outdated driver of the model with its queue.
  auto outdated = [](InstallMachine& m) {
    m.Describe(u"TS-1", u"USBPRINT\\TESS01", u"MustUninstallForGDP=2.0\r\n");
    m.OldDriver(u"1.0");
  };
  struct Row {
    const char* situation;
    TStringView line;
    std::function<void(InstallMachine&)> arrange;
    TRunOutcome outcome;
    std::vector<TString> queues;
    size_t boxes = 0;  // shown to a person
    bool ends = true;  // the program leaves its loop
  };
  const Row rows[] = {
      {"quiet install offline", u"s /quiet /model ts-1", nullptr, TRunOutcome::Succeeded, {u"TS-1@LPT1:"}},
      {"quiet install online, the maker's program not started",
       u"s /quiet /model TS-1",
       [](InstallMachine& m) {
         m.Describe(u"TS-1", u"USBPRINT\\TESS01", u"AfterRun=C:\\Pkg\\Tool.exe\r\n");
         m.fs.AddFile(u"C:\\Pkg\\Tool.exe", "MZ");
         m.test = kErrorNoMoreItems;
         m.devicePort = u"USB001";
         m.installResult = 0;
         m.pnpQueues = {{u"TS-1", u"USB001"}};
       },
       TRunOutcome::Succeeded,
       {u"TS-1@USB001"}},
      {"on a named port, whatever the package's default",
       u"s /quiet /model TS-1 /port LPT2:",
       [](InstallMachine& m) {
         m.Describe(u"TS-1", u"USBPRINT\\TESS01", u"DefaultPort=LPT3:\r\n");
         m.spooler.AddPort(u"LPT2:");
         m.spooler.AddPort(u"LPT3:");
       },
       TRunOutcome::Succeeded,
       {u"TS-1@LPT2:"}},
      {"on a port that is not there", u"s /quiet /model TS-1 /port LPT7:", nullptr, TRunOutcome::Failed, {}},
      {"unknown model", u"s /passive /model TS-9", nullptr, TRunOutcome::BadCommandLine, {}},
      {"unknown switch, quietly", u"s /quiet /model TS-1 /reboot", nullptr, TRunOutcome::BadCommandLine, {}},
      {"unknown switch with the window", u"s /reboot", nullptr, TRunOutcome::BadCommandLine, {}, 1},
      {"the model selected for the person", u"s /model TS-1", nullptr, TRunOutcome::Cancelled, {}, 0, false},
      {"repeated: the queue's driver updated",
       u"s /quiet /model TS-1",
       installedBefore,
       TRunOutcome::Succeeded,
       {u"TS-1 old@LPT1:"}},
      {"old driver printing",
       u"s /quiet /model TS-1",
       [&](InstallMachine& m) {
         outdated(m);
         m.spooler.AddJobs(u"TS-1 old", 1);
       },
       TRunOutcome::Failed,
       {u"TS-1 old@LPT1:"}},
      {"old driver's files wait for a restart",
       u"s /quiet /model TS-1",
       [&](InstallMachine& m) {
         outdated(m);
         m.Uninstaller();
         m.printUI.Refuses.insert(u"TS-1");
         m.spooler.DriverDeleteFailures = 2;
         m.printUI.BeforeRun = [&m, runs = 0]() mutable {  // the driver stays; the new queue comes
           if (++runs == 3) m.printUI.Refuses.clear();
         };
       },
       TRunOutcome::RestartNeeded,
       {u"TS-1@LPT1:"}},
      {"removal", u"s /quiet /uninstall /model TS-1", installedBefore, TRunOutcome::Succeeded, {}},
      {"removal of a queue that prints",
       u"s /uninstall /model TS-1",
       [&](InstallMachine& m) {
         installedBefore(m);
         m.spooler.AddJobs(u"TS-1 old", 1);
       },
       TRunOutcome::Failed,
       {u"TS-1 old@LPT1:"},
       2},
      {"listing", u"s /list", nullptr, TRunOutcome::Succeeded, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.situation);
    InstallMachine m;
    m.form.m_iSelect = -1;
    if (r.arrange) r.arrange(m);
    m.view.Answers = {mb::IdYes};
    m.form.SetCommandLine(ParseCommandLine(r.line));
    m.form.RunCommand();
    EXPECT_EQ(m.form.Outcome(), r.outcome);
    EXPECT_EQ(m.Queues(), r.queues);
    EXPECT_EQ(m.view.Boxes.size(), r.boxes) << (m.view.Boxes.empty() ? "" : text::ToUtf8(m.view.Boxes[0].Text));
    EXPECT_TRUE(m.view.Errors.empty());
    EXPECT_EQ(m.view.Terminated, r.ends);
    EXPECT_EQ(m.sys.ExitWindowsFlags, 0xFFFFFFFFu) << "no restart without a person";
    EXPECT_TRUE(m.shell.Opened.empty()) << "no program of the maker started";
  }
}

TEST(InstallSequence, CommandLineEffectsOnTheMachine) {
  InstallMachine m;
  // Each run is a new program on the same machine.
  auto run = [&m](TStringView line) {
    TFormMain form{m.view};
    form.m_iWinVer = 61;
    form.m_strManufactor = u"Tess";
    form.m_strInst2kDll = kDll;
    form.SetCommandLine(ParseCommandLine(line));
    form.RunCommand();
    return form.Outcome();
  };
  // Installed twice: one queue, one registered copy of the INF, the second
  // run updating the driver.
  EXPECT_EQ(run(u"s /quiet /model TS-1"), TRunOutcome::Succeeded);
  EXPECT_EQ(run(u"s /quiet /model TS-1"), TRunOutcome::Succeeded);
  EXPECT_EQ(m.printUI.DriverInstalls, 1);
  EXPECT_EQ(m.Queues(), std::vector<TString>{u"TS-1@LPT1:"});
  EXPECT_EQ(m.fs.CountUnder(u"C:\\Windows\\inf"), 1u);

  // Removed: queue, driver, uninstall record, registered copy and buffer gone.
  const TString maker = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tess Printer Utilities";
  m.reg.SetText(maker + u"\\PrinterDrivers\\TS-1", u"DisplayName", u"TS-1");
  g_strInstaller.OEMManufactor = u"Tess";
  EXPECT_EQ(run(u"s /quiet /uninstall /model TS-1"), TRunOutcome::Succeeded);
  EXPECT_TRUE(m.Queues().empty());
  EXPECT_FALSE(m.spooler.FindDriver(u"TS-1"));
  EXPECT_FALSE(m.reg.KeyExists(maker));
  EXPECT_EQ(m.fs.CountUnder(u"C:\\Windows\\inf"), 0u);
  EXPECT_FALSE(m.fs.DirectoryExists(u"C:\\Program Files (x86)\\Tess\\Printer Drivers\\TS-1"));
  EXPECT_TRUE(m.view.Boxes.empty());
}

// --- The 64-bit host --------------------------------------------------------------

TEST(InstallSequence, TheHostEndsTheInstall) {
  ScopedMachine texts;  // the machine the expected texts are read on
  enum Ending { SuccessMessage, FailureMessage, DiesSilently, LateMessage, EarlyEnd, GoneThenOffline, CannotStart };
  struct Row {
    Ending ending;
    std::vector<TString> boxes, queues;
  } rows[] = {
      {SuccessMessage, {u"Installed TS-1 on USB001"}, {u"TS-1@USB001"}},
      {FailureMessage, {u"Cancelled"}, {}},
      {DiesSilently, {WithRecord(u"Failed: System error 1067.\r\nRetry")}, {}},
      {LateMessage, {WithRecord(u"Failed: System error 1067.\r\nRetry")}, {}},
      {EarlyEnd, {}, {}},
      {GoneThenOffline, {u"Online on USB001?", u"Installed TS-1 on LPT1:"}, {u"TS-1@LPT1:"}},
      {CannotStart, {}, {}},  // an error box names it; no offline install follows
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.ending);
    InstallMachine m(u"QuiteMode=1\r\n");
    m.Wow64();
    m.test = kErrorNoMoreItems;
    m.devicePort = u"USB001";
    if (r.ending == EarlyEnd) m.shell.ProgramFiles.reset();
    if (r.ending == CannotStart) m.procs.Programs.clear();
    m.form.btnStartClick();
    if (r.ending != EarlyEnd && r.ending != CannotStart) {
      EXPECT_FALSE(m.Restored()) << "the window waits for the host";
      EXPECT_TRUE(m.view.WatchdogTimer);
      m.form.tmrSetup64ErrorTimer();  // still running: nothing happens
      EXPECT_TRUE(m.view.Boxes.empty());
    }
    switch (r.ending) {
      case SuccessMessage:
        m.pnpQueues = {{u"TS-1", u"USB001"}};
        m.PnpInstall();
        m.form.HostMessage(TFormMain::kMsgInstallSucc, 0);
        break;
      case FailureMessage:
        m.form.HostMessage(TFormMain::kMsgInstallFail, kErrorNoCatalogForOemInf);
        break;
      case DiesSilently:
      case LateMessage:
        m.view.Shown = true;  // also while the window shows
        m.procs.RunPending();
        m.form.tmrSetup64ErrorTimer();
        if (r.ending == LateMessage) m.form.HostMessage(TFormMain::kMsgInstallSucc, 0);
        break;
      case GoneThenOffline:  // the retry the outcome asks for runs once it has ended
        m.view.Answers = {mb::IdNo};
        m.form.HostMessage(TFormMain::kMsgInstallFail, kErrorNoSuchDevinst);
        break;
      case EarlyEnd:
        break;
      case CannotStart:
        ASSERT_EQ(m.view.Errors.size(), 1u);
        EXPECT_TRUE(m.view.Errors[0].starts_with(
            text::Format(SystemUiText(TUiText::HostNotStarted), {kHost, m.sys.SysErrorMessage(kErrorFileNotFound)})))
            << text::ToUtf8(m.view.Errors[0]);
        EXPECT_TRUE(m.view.Errors[0].ends_with(trace::RecordPath()));
        EXPECT_NE(m.record.Text().find(text::ToUtf8(kHost)), std::string::npos);  // recorded too
        break;
    }
    EXPECT_EQ(m.BoxTexts(), r.boxes);
    EXPECT_EQ(m.Queues(), r.queues);
    EXPECT_TRUE(m.Restored());
    EXPECT_EQ(m.procs.OpenHandles(), 0);
  }
}

// --- Failure codes ---------------------------------------------------------------

TEST(InstallSequence, FailureCodesAndTheirOffers) {
  ScopedMachine texts;  // the machine the expected texts are read on
  struct Row {
    std::uint32_t code;
    TString port;
    std::vector<int> answers;
    std::vector<TString> boxes;
    std::vector<std::uint32_t> flags;
    std::vector<TString> queues;  // a restart installs offline on LPT1:, or tries online again
  } rows[] = {
      {0, u"", {}, {}, {}, {}},
      {UIAddPrinterFailed, u"", {}, {WithRecord(u"Unknown\r\nRetry")}, {mb::Ok | mb::IconWarning}, {}},
      {UIAddPrinterUnknown, u"", {}, {WithRecord(u"Unknown\r\nRetry")}, {mb::Ok | mb::IconWarning}, {}},
      {kErrorNoSuchDevinst,
       u"LPT1:",
       {},
       {u"Installed TS-1 on LPT1:"},
       {mb::Ok | mb::IconInformation},
       {u"TS-1@LPT1:"}},
      {kErrorNoSuchDevinst,
       u"lpt1:",
       {mb::IdNo},
       {u"Online on lpt1:?", u"Installed TS-1 on LPT1:"},
       {mb::YesNoCancel | mb::IconWarning, mb::Ok | mb::IconInformation},
       {u"TS-1@LPT1:"}},
      {kErrorNoSuchDevinst,
       u"USB001",
       {mb::IdYes, mb::IdNo},
       {u"Online on USB001?", u"Connect?"},
       {mb::YesNoCancel | mb::IconWarning, mb::YesNo | mb::IconQuestion},
       {}},
      {kErrorNoSuchDevinst, u"USB001", {mb::IdCancel}, {u"Online on USB001?"}, {mb::YesNoCancel | mb::IconWarning}, {}},
      {kErrorNoCatalogForOemInf, u"", {}, {u"Cancelled"}, {mb::Ok}, {}},
      {5, u"", {}, {WithRecord(u"Failed: Access is denied.\r\nRetry")}, {mb::Ok | mb::IconInformation}, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    InstallMachine m;
    m.form.Session().Enter(TInstallPhase::Running);
    m.view.Shown = false;
    m.form.m_strDisConnectPort = r.port;
    m.view.Answers.assign(r.answers.begin(), r.answers.end());
    m.form.InstallFail(r.code);
    EXPECT_EQ(m.BoxTexts(), r.boxes);
    std::vector<std::uint32_t> flags;
    for (const auto& b : m.view.Boxes) flags.push_back(b.Flags);
    EXPECT_EQ(flags, r.flags);
    EXPECT_EQ(m.Queues(), r.queues);
    EXPECT_TRUE(m.Restored());
  }
}

// --- Configuration of the new queue -------------------------------------------------

TEST(InstallSequence, SuccessConfiguresTheNewQueue) {
  struct Row {
    TString keys;
    TString found, installing, installPort;  // the queue Succ starts with, the install's port
    TString box, port, processor;            // no box: the failure for no queue of the model
    bool isDefault;
    TString before = {};  // a queue of the model from before the install, on USB001
  } rows[] = {
      {u"DefaultPort=LPT2:\r\n", u"TS-1", u"", u"", u"Installed TS-1 on LPT2:", u"LPT2:", u"WinPrint", false},
      {u"DefaultPort=USB\r\n", u"TS-1", u"", u"USB001", u"Installed TS-1 on USB001", u"USB001", u"WinPrint", false},
      {u"DefaultPort=ADDLOCAL:C:\\out.prn\r\n", u"TS-1", u"TS-1", u"LPT1:", u"Installed TS-1 on C:\\out.prn",
       u"C:\\out.prn", u"WinPrint", false},
      {u"DefaultPort=LPT1:\r\nPrintProcess=TessProc\r\nAlwaysSetDefault=1\r\n", u"TS-1", u"TS-1", u"LPT1:",
       u"Installed TS-1 on LPT1:\r\nRestart later", u"LPT1:", u"TessProc", true},
      {u"", u"", u"Gone", u"", u"Installed Gone on USB001", u"USB001", u"", false},  // repaired from its driver
      {u"", u"", u"", u"", u"", u"", u"", false},  // nothing found: a failure, nothing changed
      {u"", u"", u"", u"LPT1:", u"Installed TS-1 old on USB001", u"", u"", false, u"TS-1 old"},  // named, unchanged
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(text::ToUtf8(r.keys + r.found + r.installing));
    InstallMachine m(r.keys);
    m.spooler.AddDriver(u"TS-1");
    m.spooler.PrintProcessors.insert(u"TessProc");
    m.spooler.AddPort(u"USB001");
    m.spooler.AddPrinter(u"Other", u"TS-1", u"LPT2:");
    if (!r.found.empty()) m.spooler.AddPrinter(r.found, u"TS-1", u"LPT1:");
    if (!r.before.empty()) m.spooler.AddPrinter(r.before, u"TS-1", u"USB001");
    if (!r.before.empty()) m.form.m_slPrintersO = {r.before};
    m.form.m_strInstallingPrinter = r.installing;
    m.form.m_strInstallPortName = r.installPort;
    m.form.m_strDisConnectPort = u"USB001";
    m.form.Session().Enter(TInstallPhase::Running);
    m.form.Succ();
    const TString failure = WithRecord(text::Format(LangText(TUiText::NoQueueAfterSuccess), {u"TS-1"}) + u"\r\nRetry");
    ASSERT_EQ(m.BoxTexts(), std::vector<TString>{r.box.empty() ? failure : r.box});
    const TString queue = r.found.empty() ? r.installing : r.found;
    if (const FakeSpooler::Printer* p = queue.empty() ? nullptr : m.spooler.Find(queue)) {
      EXPECT_EQ(p->Info.PortName, r.port.empty() ? u"LPT1:" : r.port);
      if (!r.processor.empty()) {
        EXPECT_EQ(p->Info.PrintProcessor, r.processor);
      }
      EXPECT_EQ(m.spooler.DefaultPrinter == std::optional<TString>(queue), r.isDefault);
    }
    EXPECT_EQ(m.spooler.PrinterList.size(), queue.empty() ? 1u + !r.found.empty() + !r.before.empty() : 2u);
    if (!r.before.empty()) {
      EXPECT_FALSE(m.spooler.DefaultPrinter.has_value());
    }
    EXPECT_TRUE(m.form.m_strInstallingPrinter.empty());
    EXPECT_TRUE(m.Restored());
  }
}

}  // namespace
