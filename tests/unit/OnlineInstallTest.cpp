// Detection, online installation and driver buffering against the fake
// machine: a device-install library whose exports answer from a table, a
// host program that answers through its exchange file, and the spooler.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "config/InstallInfos.h"
#include "fakes/FakeMainView.h"
#include "fakes/ScopedMachine.h"
#include "install/InstallFunc.h"
#include "installer/BufferSwap.h"
#include "installer/uMain.h"
#include "platform/Inst2kApi.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Exception.h"
#include "sysutil/Paths.h"
#include "sysutil/ProfileFile.h"

namespace {

const TString kDll = u"C:\\Temp\\tmp1\\inst2k.dll";

// What the fake library answers.
struct LibraryState {
  std::uint32_t test = 0;
  std::string instanceId, hardwareId;
  int refreshes = 0;
  std::int32_t install = 0;
  std::uint32_t lastError = 0;
  std::string registered;
} g_Lib;

std::uint32_t INST2K_CALL IsInline(void*, const char*, const char*, std::uint32_t) { return g_Lib.test; }
std::int32_t INST2K_CALL FindDevice(const char*, char* hwid, char* idAndPort) {
  std::strncpy(hwid, g_Lib.hardwareId.c_str(), 259);
  std::strncpy(idAndPort, g_Lib.instanceId.c_str(), 259);
  return !g_Lib.instanceId.empty();
}
void INST2K_CALL Refresh() { ++g_Lib.refreshes; }
std::int32_t INST2K_CALL Install(const char*, const char*, const char*, void*) { return g_Lib.install; }
std::uint32_t INST2K_CALL LastError() { return g_Lib.lastError; }
std::int32_t INST2K_CALL RegisterInf(const char*, const char*, char* out, std::uint32_t size) {
  if (g_Lib.registered.empty()) return 0;
  std::strncpy(out, g_Lib.registered.c_str(), size - 1);
  return 1;
}

struct OnlineMachine : ScopedMachine {
  OnlineMachine() {
    g_Lib = LibraryState();
    modules.Libraries[kDll] = {{"Inst2k_IsInlineDeviceExist", reinterpret_cast<void*>(&IsInline)},
                               {"FuncFindExistDevice", reinterpret_cast<void*>(&FindDevice)},
                               {"RefreshHW", reinterpret_cast<void*>(&Refresh)},
                               {"FuncInst2K", reinterpret_cast<void*>(&Install)},
                               {"LastInstallErrorCode", reinterpret_cast<void*>(&LastError)},
                               {"Inst2k_RegistryInf", reinterpret_cast<void*>(&RegisterInf)}};
    fs.AddDir(u"C:\\Users\\me\\AppData\\Local\\Temp");
  }
  void Queue(const TString& name, const TString& port, bool online) {
    spooler.AddPrinter(name, u"Tess TS-1", port).Info.Attributes |= online ? 0 : spool::kAttrWorkOffline;
  }
};

TEST(Detection, TestCodesAndTheQueueCheck) {
  enum Queues { None, OnlineOnFoundPort, OfflineThereOnlineOnOtherUsb, OnlineOnLpt };
  struct Row {
    std::uint32_t test;
    Queues queues;
    std::uint32_t result;
    bool found;
  } rows[] = {
      {0, OnlineOnFoundPort, 0, true},
      {2, None, 0, false},
      {5, OnlineOnFoundPort, ReqOfflineInstall, false},
      {2, OfflineThereOnlineOnOtherUsb, ReqOfflineInstall, false},
      {0x800B0100, OnlineOnLpt, 0, false},
      {0xE000022F, OnlineOnFoundPort, ReqOfflineInstall, false},
      {259, OnlineOnFoundPort, 0, false},  // no queue check
      {0xE000020B, OnlineOnFoundPort, 0xE000020B, false},
      {1067, None, 1067, false},
  };
  for (const Row& r : rows) {
    OnlineMachine m;
    m.spooler.AddDriver(u"Tess TS-1");
    if (r.queues == OnlineOnFoundPort) m.Queue(u"Q1", u"usb001", true);
    if (r.queues == OfflineThereOnlineOnOtherUsb) {
      m.Queue(u"Q1", u"USB001", false);
      m.Queue(u"Q2", u"USB002", true);
    }
    if (r.queues == OnlineOnLpt) m.Queue(u"Q1", u"LPT1:", true);
    g_Lib.test = r.test;
    g_Lib.instanceId = "USB\\VID_1&PID_2\\USBPRINT\\TESS&USB001";
    bool found = true;
    EXPECT_EQ(ExistReqInlineSetupDevice(1, kDll, u"", u"", "USBPRINT\\TESS", "a.inf", u"TESS TS-1", found), r.result)
        << std::hex << r.test;
    EXPECT_EQ(found, r.found);
    EXPECT_EQ(m.modules.Loaded(), 0) << "the library stays loaded";
  }
  OnlineMachine m;
  bool found = false;
  EXPECT_THROW(ExistReqInlineSetupDevice(1, u"C:\\none.dll", u"", u"", "X", "a.inf", u"M", found), Exception);
  m.modules.Libraries[kDll].erase("Inst2k_IsInlineDeviceExist");
  EXPECT_EQ(ExistReqInlineSetupDevice(1, kDll, u"", u"", "X", "a.inf", u"M", found), kErrorProcNotFound);
}

TEST(Detection, HostAnswersThroughItsExchangeFile) {
  struct Row {
    const char16_t* ret;  // null: the host writes nothing
    std::uint32_t result;
  } rows[] = {{u"0", 0}, {u"3758096907", 0xE000020B}, {nullptr, 1067}};
  const TString host = u"C:\\Users\\Jo Smith\\Temp\\tmp1\\PrnSetup64.exe";
  for (const Row& r : rows) {
    OnlineMachine m;
    m.sys.Wow64 = true;
    TString exchange;
    m.procs.Programs[u"PrnSetup64.exe"] = [&](const TStartup& s) {
      EXPECT_TRUE(s.CommandLine.starts_with(u"\"" + host + u"\" /Handle 7 "));
      EXPECT_EQ(s.CurrentDirectory, u"C:\\Users\\Jo Smith\\Temp\\tmp1\\");
      exchange = s.CommandLine.substr(s.CommandLine.find(u"/FindHWID \"") + 11);
      exchange.pop_back();
      TProfileFile f;
      f.Open(exchange);
      EXPECT_EQ(f.ReadString(u"Data", u"Flag", u""), u"4");
      if (r.ret) Fs().WriteProfileString(exchange, u"Data", u"Ret", r.ret);
      return 0u;
    };
    bool found = false;
    EXPECT_EQ(ExistInlineDevice64(7, u"HW", u"a.inf", host, u"C:\\x\\inst2k64.dll", 4), r.result);
    EXPECT_FALSE(exchange.empty());
    EXPECT_FALSE(m.fs.FileExists(exchange)) << "exchange file left behind";
    EXPECT_EQ(m.procs.OpenHandles(), 0);
    (void)found;
  }
  OnlineMachine m;
  m.procs.Programs[u"PrnSetup64.exe"] = [](const TStartup& s) {
    TString file = s.CommandLine.substr(s.CommandLine.find(u"/FindHWID \"") + 11);
    file.pop_back();
    Fs().WriteProfileString(file, u"Data", u"Ret", u"abc");
    return 0u;
  };
  EXPECT_THROW(ExistInlineDevice64(7, u"HW", u"a.inf", host, u"C:\\x\\inst2k64.dll", 4), Exception);
}

// The installer and the library built from its own sources agree on the
// buffers and on the port: the rescan reaches the device tree, and a printer
// plugged in meanwhile is found with its port.
TEST(Detection, TheLibraryFindsThePluggedPrinterInTheDeviceTree) {
  ScopedMachine m;
  m.AddInst2kLibrary(kDll);
  TString hwid = u"x", port = u"x";
  EXPECT_FALSE(FindExistDevice(kDll, u"TESS01", hwid, port, true));
  EXPECT_EQ(m.tree.Reenumerated.size(), 1u);
  EXPECT_EQ(hwid, u"");
  EXPECT_EQ(port, u"");

  m.tree.Add("USBPRINT\\TESS01\\7&1A2B&0&USB003", {"USBPRINT\\TESS01", "TESS01"});
  EXPECT_TRUE(FindExistDevice(kDll, u"TESS01", hwid, port, false));
  EXPECT_EQ(hwid, u"USBPRINT\\TESS01");
  EXPECT_EQ(port, u"USB003");
  EXPECT_EQ(m.modules.Loaded(), 0);
}

TEST(OnlineInstall, InProcessAndThroughTheHost) {
  OnlineMachine m;
  g_Lib.instanceId = "LPTENUM\\TESS\\1&LPT2";
  g_Lib.install = inst2k::kInstalledRestart;
  g_Lib.lastError = 0;
  std::uint32_t code = 99;
  TString port;
  EXPECT_TRUE(InstallSpecPrinter2k(1, code, u"a.inf", u"", u"HW", kDll, port));
  EXPECT_EQ(port, u"LPT2:");
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(g_Lib.refreshes, 1) << "the hardware is rescanned first";

  g_Lib.instanceId.clear();
  g_Lib.install = inst2k::kInstallFailed;
  g_Lib.lastError = 0xE000020B;
  EXPECT_FALSE(InstallSpecPrinter2k(1, code, u"a.inf", u"", u"HW", kDll, port));
  EXPECT_EQ(port, u"LPT1:");
  EXPECT_EQ(code, 0xE000020B);

  // The host runs on without being waited for; its process handle is handed back.
  THandle process = 0;
  InstallSpecPrinter64(1, u"C:\\T\\PrnSetup64.exe", u"a.inf", u"", u"HW", u"C:\\T\\inst2k64.dll", kDll, process, port);
  EXPECT_EQ(process, 0u) << "nothing on 32-bit Windows";
  m.sys.Wow64 = true;
  m.procs.RunAtStart = false;
  m.procs.Programs[u"PrnSetup64.exe"] = [](const TStartup&) { return 0u; };
  InstallSpecPrinter64(1, u"C:\\T\\PrnSetup64.exe", u"a.inf", u"", u"HW", u"C:\\T\\inst2k64.dll", kDll, process, port);
  EXPECT_NE(process, 0u);
  EXPECT_EQ(m.procs.Running.size(), 1u);
  EXPECT_EQ(m.procs.OpenHandles(), 1) << "only the process handle stays open";

  // The background rescan has its own copy of the path.
  TString dll = kDll;
  RefreshSystemHW_Thread(dll);
  dll = u"changed";
  m.threads.RunAll();
  EXPECT_EQ(g_Lib.refreshes, 4);
  EXPECT_EQ(m.modules.Loaded(), 0);
}

// --- Buffering ---------------------------------------------------------------

class Buffering : public ::testing::Test {
 protected:
  void SetUp() override {
    g_InstallInfos = TInstallInfos();
    Package(u"1.0");
    m.fs.AddFile(u"C:\\Pkg\\Setup.ini",
                 text::ToUtf8(u"[A]\r\nPrinterName=" + model +
                              u"\r\nPrinterHWID=HW\r\nDriverDir=\\Drv\r\nINF.2K=a.inf\r\nINF.X64=a.inf\r\n"));
    g_InstallInfos.LoadFromFile(u"C:\\Pkg\\Setup.ini");
    form.m_iSelect = 0;
    form.m_strManufactor = u"Tessaron";
    form.m_strInst2kDll = kDll;
    m.fs.AddDir(u"C:\\Program Files (x86)");
  }
  void Package(const TString& version) {
    m.fs.AddFile(u"C:\\Pkg\\Drv\\a.inf", text::ToUtf8(u"[Version]\r\nDriverVer=01/01/2024," + version + u"\r\n"));
    m.fs.AddFile(u"C:\\Pkg\\Drv\\x64\\drv.dll", text::ToUtf8(version));
  }
  // The system's registration writes the INF into its folder.
  void Registration(bool damaged = false) {
    std::string bytes;
    Fs().ReadFile(buffer + u"\\a.inf", bytes);
    m.fs.AddFile(u"C:\\Windows\\inf\\oem5.inf", damaged ? bytes.substr(1) : bytes);
    g_Lib.registered = "C:\\Windows\\inf\\oem5.inf";
  }
  TString Buffered(const TString& name) {
    std::string b;
    return Fs().ReadFile(buffer + u"\\" + name, b) ? text::FromUtf8(b) : u"<none>";
  }
  OnlineMachine m;
  TString model = u"TS-1";
  TString buffer = u"C:\\Program Files (x86)\\Tessaron\\Printer Drivers\\TS-1";
  FakeMainView view;
  TFormMain form{view};
  TString inf;
};

TEST_F(Buffering, FirstRunSecondRunAndChangedPackage) {
  g_Lib.registered = "C:\\Windows\\inf\\oem5.inf";
  EXPECT_THROW(form.BufferDriverFiles(inf), Exception) << "the registration produced no file: a failure with its reason";
  Registration();
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  EXPECT_EQ(inf, u"C:\\Windows\\inf\\oem5.inf");
  EXPECT_EQ(Buffered(u"x64\\drv.dll"), u"1.0");

  m.fs.AddFile(buffer + u"\\x64\\drv.dll", "kept");  // a second run copies nothing
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  EXPECT_EQ(Buffered(u"x64\\drv.dll"), u"kept");

  Package(u"0.9");
  m.fs.AddFile(buffer + u"\\stale.txt", "old");
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  EXPECT_EQ(Buffered(u"x64\\drv.dll"), u"0.9");
  EXPECT_EQ(Buffered(u"stale.txt"), u"<none>");

  Registration(true);
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  EXPECT_EQ(inf, u"C:\\Pkg\\Drv\\a.inf") << "a damaged registered copy: the package's INF";
}

TEST_F(Buffering, FailedCopyKeepsTheOldBuffer) {
  Registration();
  g_Lib.registered = "C:\\Windows\\inf\\oem5.inf";
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  Package(u"2.0");
  m.fs.CopyFailsAfter = 1;
  EXPECT_THROW(form.BufferDriverFiles(inf), Exception);
  EXPECT_EQ(Buffered(u"x64\\drv.dll"), u"1.0");
  EXPECT_FALSE(m.fs.DirectoryExists(buffer + u".new"));
}

// A refresh from 1.0 to 2.0 cut at every step, or refused for a file in use,
// then a rerun: a complete buffer of 2.0 and nothing else beside it.
TEST_F(Buffering, ACutOrRefusedRefreshIsFinishedByTheNextRun) {
  const TString pkg = u"C:\\Pkg\\Drv";
  auto cut = [](const char* change, const TString& at, int nth = 1) {
    return [=, seen = 0](const char* c, const TString& p) mutable {
      return std::strcmp(c, change) == 0 && (p == at || paths::IsBelow(p, at)) && ++seen == nth;
    };
  };
  THandle viewer = 0;
  struct Row {
    const char* situation;
    std::function<bool(const char*, const TString&)> cut;
    std::function<void()> arrange;
  } rows[] = {
      {"copy half done", cut("copy", buffer + u".new", 3), nullptr},
      {"new copy whole, old in place", cut("move", buffer), nullptr},
      {"old moved aside", cut("move", buffer + u".new"), nullptr},
      {"new moved in", cut("delete", buffer + u".old"), nullptr},
      {"old half deleted", cut("delete", buffer + u".old", 3), nullptr},
      {"a file of the old buffer in use", nullptr,
       [&] { m.fs.WriteFileLocked(buffer + u"\\x64\\drv.dll", "1.0", viewer); }},
      {"a buffer half deleted by an earlier installer, same version", nullptr,
       [&] {
         Package(u"1.0");
         ShellPort().DeleteTree(0, buffer);
         for (const TString& copy : {buffer, buffer + u".new"})
           m.fs.AddFile(copy + u"\\a.inf", m.fs.Contents(pkg + u"\\a.inf"));
       }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.situation);
    ShellPort().DeleteTree(0, u"C:\\Program Files (x86)\\Tessaron");
    ShellPort().DeleteTree(0, pkg);
    Package(u"1.0");
    for (const char16_t* f : {u"doc\\f1.txt", u"doc\\f2.txt", u"old-only.txt"}) m.fs.AddFile(pkg + u"\\" + f, "1");
    g_Lib.registered = "C:\\Windows\\inf\\oem5.inf";
    Registration();
    ASSERT_TRUE(form.BufferDriverFiles(inf));
    m.fs.DeleteFile(pkg + u"\\old-only.txt");
    Package(u"2.0");
    for (const char16_t* f : {u"doc\\f1.txt", u"doc\\f2.txt", u"doc\\f3.txt"}) m.fs.AddFile(pkg + u"\\" + f, "2");
    if (r.arrange) r.arrange();
    m.fs.CutBefore = r.cut;
    try {
      form.BufferDriverFiles(inf);
    } catch (const FakeFileSystem::PowerCut&) {
    } catch (const Exception& e) {  // the box names the buffer, which stays whole
      EXPECT_NE(e.Message().find(buffer), TString::npos) << text::ToUtf8(e.Message());
      EXPECT_EQ(Buffered(u"x64\\drv.dll"), u"1.0");
      EXPECT_TRUE(m.fs.FileExists(buffer + u"\\old-only.txt"));
    }
    EXPECT_EQ(m.fs.Off, bool(r.cut));
    m.fs.CutBefore = nullptr;
    m.fs.Off = false;
    m.fs.CloseLocked(viewer);
    ASSERT_TRUE(form.BufferDriverFiles(inf));
    EXPECT_TRUE(bufferswap::IsComplete(buffer));
    for (const char16_t* f : {u"a.inf", u"x64\\drv.dll", u"doc\\f1.txt", u"doc\\f2.txt", u"doc\\f3.txt"})
      EXPECT_EQ(m.fs.Contents(buffer + u"\\" + f), m.fs.Contents(pkg + u"\\" + f)) << text::ToUtf8(f);
    EXPECT_FALSE(m.fs.FileExists(buffer + u"\\old-only.txt"));
    std::vector<TDirEntry> beside;
    m.fs.ListDirectory(paths::ExtractFileDir(buffer), beside);
    EXPECT_EQ(beside.size(), 1u) << "leftovers beside the buffer";
  }
}

TEST_F(Buffering, LinksAreNotFollowedAndTheBufferIsNoSource) {
  Registration();
  g_Lib.registered = "C:\\Windows\\inf\\oem5.inf";
  m.fs.AddLink(u"C:\\Pkg\\Drv\\elsewhere");
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  EXPECT_FALSE(m.fs.DirectoryExists(buffer + u"\\elsewhere"));
  EXPECT_FALSE(m.fs.FileExists(buffer + u"\\elsewhere"));

  // A package inside the buffer folder would be copied into itself and deleted.
  m.sys.ModuleFile = buffer + u"\\DriverSetup.exe";
  Package(u"3.0");
  m.fs.AddFile(buffer + u"\\Drv\\a.inf", text::ToUtf8(u"[Version]\r\nDriverVer=01/01/2024,3.0\r\n"));
  m.fs.AddFile(buffer + u"\\Setup.ini", text::ToUtf8(u"[A]\r\nPrinterName=TS-1\r\nPrinterHWID=HW\r\nDriverDir=\\Drv\r\n"
                                                     u"INF.2K=a.inf\r\nINF.X64=a.inf\r\n"));
  g_InstallInfos = TInstallInfos();
  g_InstallInfos.LoadFromFile(buffer + u"\\Setup.ini");
  EXPECT_THROW(form.BufferDriverFiles(inf), Exception);
  EXPECT_TRUE(m.fs.FileExists(buffer + u"\\Drv\\a.inf"));
}

TEST_F(Buffering, NamesThatAreNoFolderNames) {
  form.m_strManufactor = u"";
  Registration();
  g_Lib.registered = "C:\\Windows\\inf\\oem5.inf";
  ASSERT_TRUE(form.BufferDriverFiles(inf));
  EXPECT_TRUE(m.fs.FileExists(u"C:\\Program Files (x86)\\\\Printer Drivers\\TS-1\\a.inf"));

  for (const char16_t* bad : {u"..", u"..\\..\\Windows", u"C:", u"CON", u"a/b"}) {
    form.m_strManufactor = bad;
    EXPECT_THROW(form.BufferDriverFiles(inf), Exception) << text::ToUtf8(bad);
  }
  // An INF outside the driver folder is neither read nor registered.
  for (const char16_t* bad : {u"..\\..\\Windows\\evil.inf", u"x64\\..\\..\\b.inf"}) {
    g_InstallInfos = TInstallInfos();
    m.fs.AddFile(
        u"C:\\Pkg\\Setup.ini",
        text::ToUtf8(u"[A]\r\nPrinterName=TS-1\r\nPrinterHWID=HW\r\nDriverDir=\\Drv\r\nINF.2K=a.inf\r\nINF.X64=" +
                     TString(bad) + u"\r\n"));
    m.fs.AddFile(u"C:\\Pkg\\Drv\\" + TString(bad), "[Version]\r\n");  // as the system resolves it
    g_InstallInfos.LoadFromFile(u"C:\\Pkg\\Setup.ini");
    form.m_bWow64 = true;
    g_Lib.registered.clear();
    EXPECT_THROW(form.BufferDriverFiles(inf), Exception) << text::ToUtf8(bad);
    form.m_bWow64 = false;
  }
  form.m_strManufactor = u"Tessaron";
  m.fs.AddFile(u"C:\\Pkg\\Drv\\b.inf");
  model = u"..";
  SetUp();
  EXPECT_THROW(form.BufferDriverFiles(inf), Exception);
  EXPECT_TRUE(m.fs.DirectoryExists(u"C:\\Program Files (x86)"));
}

}  // namespace
