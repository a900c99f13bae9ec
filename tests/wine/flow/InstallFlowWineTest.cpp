// The real installer of the runner's configuration installs demo models into
// Wine's spooler: the user's clicks are sent to its window and its message
// boxes are read and answered. The print UI and newdev stand-ins of the test
// prefix take the place of the Windows parts Wine lacks. In the WoW64 prefix
// the 32-bit installer leaves detection and Plug and Play to the 64-bit host.
#include "win32/WinApi.h"
// <windows.h> first.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <winspool.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <set>
#include <tuple>
#include <utility>

#include "ScreenCapture.h"
#include "WineHarness.h"
#include "installer/MainDesign.h"

using namespace harness;

namespace {

constexpr int kList = MainControlId(TMainControl::lvPrinters), kStart = MainControlId(TMainControl::btnStart),
              kExit = MainControlId(TMainControl::btnExit);
const wchar_t kBoxText = 0xFFFF;  // the static text of a message box
const wchar_t* const kDemoInstance = L"USBPRINT\\TESSARONTS-2100A1B2\\7&1A2B3C4D&0&USB001";

struct Queue {
  std::wstring Port, Processor, Driver;
};

bool ReadQueue(const std::wstring& name, Queue& q) {
  HANDLE h = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &h, nullptr)) return false;
  DWORD needed = 0;
  GetPrinterW(h, 2, nullptr, 0, &needed);
  std::vector<BYTE> buf(needed ? needed : 1);
  bool ok = GetPrinterW(h, 2, buf.data(), needed, &needed);
  if (ok) {
    auto* pi = reinterpret_cast<PRINTER_INFO_2W*>(buf.data());
    q = {pi->pPortName ? pi->pPortName : L"", pi->pPrintProcessor ? pi->pPrintProcessor : L"",
         pi->pDriverName ? pi->pDriverName : L""};
  }
  ClosePrinter(h);
  return ok;
}

std::vector<std::wstring> QueuesOf(const std::wstring& prefix) {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<BYTE> buf(needed ? needed : 1);
  std::vector<std::wstring> out;
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, buf.data(), needed, &needed, &count)) return out;
  auto* pi = reinterpret_cast<PRINTER_INFO_4W*>(buf.data());
  for (DWORD i = 0; i < count; ++i)
    if (std::wstring(pi[i].pPrinterName).rfind(prefix, 0) == 0) out.push_back(pi[i].pPrinterName);
  return out;
}

void DeleteQueuesAndDrivers(const std::wstring& prefix) {
  for (const auto& name : QueuesOf(prefix)) {
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &h, &all)) {
      DeletePrinter(h);
      ClosePrinter(h);
    }
  }
  // Both environments: in the WoW64 prefix the host's class installer adds 64-bit drivers.
  for (const wchar_t* env : {L"Windows x64", L"Windows NT x86"})
    for (const wchar_t* d : {L"Tessaron TS-2100", L"Tessaron TS-5400"})
      DeletePrinterDriverExW(nullptr, const_cast<wchar_t*>(env), const_cast<wchar_t*>(d), DPD_DELETE_ALL_FILES, 0);
}

std::wstring DefaultPrinter() {
  wchar_t name[512] = {};
  DWORD n = 512;
  return GetDefaultPrinterW(name, &n) ? name : L"";
}

DWORD NewdevValue(const wchar_t* name, std::wstring* text = nullptr) {
  wchar_t buf[MAX_PATH] = {};
  DWORD value = 0, size = sizeof buf;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD,
               nullptr, text ? static_cast<void*>(buf) : &value, &size);
  if (text) *text = buf;
  return value;
}

// The system's text for a code, as a box shows it (no closing period).
std::wstring SystemText(DWORD code) {
  wchar_t buf[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf, 512, nullptr);
  std::wstring text = buf;
  return text.substr(0, text.find_first_of(L".\r\n"));
}

// Whether the model's driver folder was buffered below this Program Files folder.
bool BufferedBelow(const std::wstring& programFiles) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Join(programFiles, L"*").c_str(), &fd);
  bool found = false;
  for (BOOL more = h != INVALID_HANDLE_VALUE; more && !found; more = FindNextFileW(h, &fd))
    found = GetFileAttributesW(
                Join(programFiles, fd.cFileName + std::wstring(L"\\Printer Drivers\\Tessaron TS-2100\\TS2100.inf"))
                    .c_str()) != INVALID_FILE_ATTRIBUTES;
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  return found;
}

// The runs of the 64-bit host while an install goes on (process IDs seen).
class HostWatch {
 public:
  HostWatch() : m_Thread(CreateThread(nullptr, 0, Poll, this, 0, nullptr)) {}
  ~HostWatch() { Stop(); }
  size_t Stop() {
    m_Stop = true;
    if (m_Thread) WaitForSingleObject(m_Thread, 5000), CloseHandle(m_Thread), m_Thread = nullptr;
    return m_Seen.size();
  }

 private:
  static DWORD WINAPI Poll(void* self) {
    auto* w = static_cast<HostWatch*>(self);
    for (; !w->m_Stop; Sleep(10)) {
      HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      PROCESSENTRY32W e{};
      e.dwSize = sizeof e;
      for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        if (lstrcmpiW(e.szExeFile, L"PrnSetup64.exe") == 0) w->m_Seen.insert(e.th32ProcessID);
      CloseHandle(snap);
    }
    return 0;
  }
  std::atomic<bool> m_Stop{false};
  std::set<DWORD> m_Seen;
  HANDLE m_Thread;
};

// A setting of the newdev or print UI stand-in.
void SetStandIn(const wchar_t* standIn, const wchar_t* name, DWORD value) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(L"Software\\DriverSetupTests\\") + standIn).c_str(), 0, nullptr,
                      0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

struct Shown {
  DWORD Pid;
  std::wstring Classes;  // of the visible top-level windows seen, each once
};
BOOL CALLBACK FindVisible(HWND h, LPARAM lp) {
  auto* shown = reinterpret_cast<Shown*>(lp);
  DWORD pid = 0;
  wchar_t cls[256] = {};
  GetWindowThreadProcessId(h, &pid);
  GetClassNameW(h, cls, 256);
  if (pid == shown->Pid && IsWindowVisible(h) && shown->Classes.find(cls + std::wstring(L" ")) == std::wstring::npos)
    shown->Classes += cls + std::wstring(L" ");
  return TRUE;
}

// Runs a command line to its end, in `cwd` when given, its output to `out`
// when given; its exit code. `shown` gets the classes of the process's
// visible windows while it runs.
DWORD RunToEnd(std::wstring cmd, const wchar_t* cwd = nullptr, HANDLE out = nullptr, std::wstring* shown = nullptr) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = out ? STARTF_USESTDHANDLES : 0;
  si.hStdOutput = si.hStdError = out;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, out != nullptr, DETACHED_PROCESS, nullptr, cwd, &si, &pi))
    return 0xFFFFFFFF;
  for (DWORD start = GetTickCount();
       WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT && GetTickCount() - start < 120000;) {
    Shown seen{pi.dwProcessId, shown ? *shown : L""};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&seen));
    if (shown) *shown = seen.Classes;
  }
  TerminateProcess(pi.hProcess, 0xFFFFFFFF);  // when it did not end in time
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

DWORD DevNode(const std::wstring& args) {
  return RunToEnd(L"\"" + Join(Env(L"DS_WINE_TESTS_WIN"), L"inst2k_devnode.exe") + L"\" " + args);
}

class InstallFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring root = Env(L"DS_ROOT_WIN"), exe = Join(InstallerDist(), L"DriverSetup.exe");
    ASSERT_FALSE(root.empty()) << "DS_ROOT_WIN is not set";
    stage = NewTempFolder(L"flow");
    ASSERT_TRUE(CopyTree(Join(root, L"examples\\demo-package"), stage));
    ASSERT_TRUE(CopyFileW(exe.c_str(), Join(stage, L"DriverSetup.exe").c_str(), FALSE));
    DeleteQueuesAndDrivers(L"Tessaron");
  }
  void TearDown() override {
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    proc.WaitExit(10000);
    SetStandIn(L"newdev", L"ClassInstaller", 0);
    SetStandIn(L"newdev", L"HoldMs", 0);
    for (const wchar_t* keep : {L"KeepDrivers", L"KeepQueues"}) SetStandIn(L"printui", keep, 0);
    if (device) {
      DevNode(std::wstring(L"remove ") + kDemoInstance);
      if (!hadUsbClass) DevNode(L"class-remove");
    }
    DeleteQueuesAndDrivers(L"Tessaron");
    DeleteTree(stage);
  }

  // Starts the installer, selects the model and presses Install.
  void Install(int model) {
    ASSERT_TRUE(Start(Join(stage, L"DriverSetup.exe"), stage, proc));
    main = WaitWindow(proc.Id, L"TFormMain", 20000);
    ASSERT_NE(main, nullptr);
    Press(model);
  }
  void Press(int model) {
    HWND list = GetDlgItem(main, kList);
    for (int i = 0; i < 100 && ListCount(list) < 3; ++i) Sleep(50);
    ListSelect(proc.Handle, list, model);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(kStart, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, kStart)));
  }
  // The next message box: its text, a screenshot, and the answer.
  std::wstring Answer(int button, const wchar_t* shot = nullptr) {
    HWND box = WaitWindow(proc.Id, L"#32770", 60000);
    if (!box) return L"<no box>";
    Sleep(300);  // drawn
    std::wstring text = Text(GetDlgItem(box, kBoxText));
    buttons = 0;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) buttons |= GetDlgItem(box, id) ? 1 << id : 0;
    if (shot) Screenshot(box, shot);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
    return text;
  }
  void Screenshot(HWND box, const wchar_t* name) {
    const std::wstring folder = ScreenshotFolder();
    std::wstring tag = Env(L"DS_SHOT_LANG");
    if (folder.empty()) return;
    RECT r;
    GetWindowRect(box, &r);
    // Failure boxes are shots of their own kind: failure-<what>-<language>.png.
    const std::wstring kind = std::wstring(name).rfind(L"failure-", 0) == 0 ? L"" : L"install-";
    SaveScreenPng(r, Join(folder, kind + name + L"-" + (tag.empty() ? L"en" : tag) + L".png"));
  }
  bool WindowBack() {
    for (int i = 0; i < 100 && !IsWindowEnabled(GetDlgItem(main, kStart)); ++i) Sleep(50);
    return IsWindowEnabled(GetDlgItem(main, kStart)) && IsWindowEnabled(GetDlgItem(main, kExit)) &&
           IsWindowVisible(main);
  }
  static bool Has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }
  // A USB printer of the first model is present (removed in TearDown).
  void PresentDevice() {
    HKEY usb = nullptr;
    hadUsbClass = RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                L"System\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}", 0,
                                KEY_READ, &usb) == ERROR_SUCCESS;
    if (usb) RegCloseKey(usb);
    device = true;
    ASSERT_EQ(DevNode(L"class-add"), 0u);
    ASSERT_EQ(DevNode(std::wstring(L"create ") + kDemoInstance + L" USBPRINT\\TessaronTS-2100A1B2 TessaronTS-2100A1B2"),
              0u);
  }
  static bool Wow64() { return Config() == L"wow64"; }
  void InstallOldDriver();
  void OldDriverThatStays();
  // The driver's uninstall record, written in this program's registry view as
  // the package's 32- or 64-bit setup did: in WoW64 the 32-bit one.
  static constexpr const wchar_t* kRecord =
      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridex Printer Utilities\\PrinterDrivers\\"
      L"Tessaron TS-2100";
  static void MakeRecord() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRecord, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegCloseKey(key);
  }
  static bool RecordSeen(REGSAM view) {
    HKEY k = nullptr;
    const bool open = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRecord, 0, KEY_READ | view, &k) == ERROR_SUCCESS;
    if (k) RegCloseKey(k);
    return open;
  }
  static bool TakeScheduled(REGSAM view);
  DWORD Deploy(const std::wstring& args, HANDLE out = nullptr);
  int InfCopies();
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  // The first model's copy below Program Files (the demo strings' brand is Meridex).
  static std::wstring Buffer(const std::wstring& model = L"Tessaron TS-2100") {
    wchar_t programFiles[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE);
    return Join(programFiles, L"Meridex\\Printer Drivers\\" + model);
  }
  static void DeleteBuffer() {
    for (const wchar_t* leftover : {L"", L".new", L".old"}) DeleteTree(Buffer() + leftover);
  }

  // A refresh of a large old copy ended from outside once `leftover` is
  // beside the copy; then a rerun installs from a complete copy.
  void CutRefreshThenRerun(const std::wstring& leftover, const std::wstring& waitFor) {
    const std::wstring drivers = Join(stage, L"Drivers\\TS2100"), fill = Join(drivers, L"fill");
    CreateDirectoryW(fill.c_str(), nullptr);
    for (int i = 0; i < 1500; ++i) WriteBytes(Join(fill, L"f" + std::to_wstring(i) + L".bin"), std::string(512, 'x'));
    DeleteBuffer();
    ASSERT_TRUE(CopyTree(drivers, Buffer()));  // an old copy, not known complete
    Install(0);
    Answer(IDYES);
    bool cut = false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000 && !cut; Sleep(1))
      if (Exists(Buffer() + leftover + waitFor)) cut = TerminateProcess(proc.Handle, 1);
    ASSERT_TRUE(proc.WaitExit(10000));
    std::printf("ended from outside%s while %ls was there\n", cut ? "" : " (too late)", leftover.c_str());
    CloseHandle(proc.Handle);
    proc.Handle = nullptr;
    main = nullptr;

    Install(0);
    Answer(IDYES);
    const std::wstring done = Answer(IDOK);
    EXPECT_TRUE(Has(done, L"Tessaron TS-2100")) << done;
    EXPECT_EQ(ReadBytes(Join(Buffer(), L"TS2100.inf")), ReadBytes(Join(drivers, L"TS2100.inf")));
    EXPECT_TRUE(Exists(Join(Buffer(), L"fill\\f1499.bin")));
    EXPECT_FALSE(Exists(Buffer() + L".new"));
    EXPECT_FALSE(Exists(Buffer() + L".old"));
    EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
    DeleteBuffer();
  }
  // A failure box ends with the line naming the install record.
  static bool NamesTheRecord(const std::wstring& text) {
    const size_t last = text.rfind(L'\n');
    return last != std::wstring::npos && Has(text.substr(last), L"DriverSetup.log");
  }

  std::wstring stage;
  Process proc;
  HWND main = nullptr;
  int buttons = 0;
  bool device = false, hadUsbClass = false;
};

TEST_F(InstallFlow, OfflineOnLpt1MadeTheDefault) {
  HostWatch host;
  Install(0);
  Answer(IDYES, L"connect");  // connect the printer: none is there
  EXPECT_EQ(buttons, 1 << IDYES | 1 << IDNO);
  const std::wstring done = Answer(IDOK, L"success");
  // Detection went through the host in WoW64 only.
  EXPECT_EQ(host.Stop() > 0, Wow64());
  // The driver folder is buffered below the Program Files of the installer's
  // bitness (this program's): in WoW64 the 32-bit one, not the 64-bit one.
  const std::wstring own = Env(L"ProgramFiles"), native = Env(L"ProgramW6432");
  EXPECT_TRUE(!Wow64() || own != native);
  EXPECT_TRUE(BufferedBelow(own)) << own.c_str();
  EXPECT_FALSE(!native.empty() && native != own && BufferedBelow(native)) << native.c_str();
  EXPECT_TRUE(Has(done, L"Tessaron TS-2100") && Has(done, L"LPT1:")) << done;
  EXPECT_TRUE(WindowBack());
  Queue q;
  ASSERT_TRUE(ReadQueue(L"Tessaron TS-2100", q));
  EXPECT_EQ(q.Port, L"LPT1:");
  EXPECT_EQ(q.Processor, L"WinPrint");
  EXPECT_EQ(DefaultPrinter(), L"Tessaron TS-2100") << "the model asks to be the default";
}

// Version 1.0 of the model's driver serves a queue; the package needs 1.2.
void InstallFlow::InstallOldDriver() {
  const std::wstring old = Join(stage, L"Old");
  ASSERT_TRUE(CopyTree(Join(stage, L"Drivers\\TS2100"), old));
  std::string gpd = ReadBytes(Join(old, L"TS2100.GPD"));
  gpd.replace(gpd.find("\"1.2\""), 5, "\"1.0\"");
  WriteBytes(Join(old, L"TS2100.GPD"), gpd);
  ASSERT_EQ(RunToEnd(L"rundll32 printui.dll,PrintUIEntry /if /b \"Tessaron TS-2100 (old)\" /f \"" +
                     Join(old, L"TS2100.inf") + L"\" /r \"LPT1:\" /m \"Tessaron TS-2100\" /q"),
            0u);
  ASSERT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100 (old)"});
}

TEST_F(InstallFlow, OlderDriverRemovedFirst) {
  InstallOldDriver();
  MakeRecord();
  ASSERT_TRUE(!Wow64() || (RecordSeen(KEY_WOW64_32KEY) && !RecordSeen(KEY_WOW64_64KEY)));

  Install(0);
  Answer(IDYES, L"old-driver");
  EXPECT_EQ(buttons, 1 << IDYES | 1 << IDNO);
  Answer(IDYES);
  const std::wstring done = Answer(IDOK);
  EXPECT_TRUE(Has(done, L"Tessaron TS-2100")) << done;
  EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
  EXPECT_FALSE(RecordSeen(0)) << "the old driver's uninstall record is left";
}

// The old driver's files cannot be deleted; the package names its uninstaller.
void InstallFlow::OldDriverThatStays() {
  InstallOldDriver();
  ASSERT_TRUE(WritePrivateProfileStringW(L"TS2100", L"UninstallerOnRestart", L"Tools\\Uninst.exe",
                                         Join(stage, L"Setup.ini").c_str()));
  CreateDirectoryW(Join(stage, L"Tools").c_str(), nullptr);
  WriteBytes(Join(stage, L"Tools\\Uninst.exe"), "MZ");
  SetStandIn(L"printui", L"KeepDrivers", 1);
}

// The uninstaller's command sits under RunOnce in the installer's view: the
// 32-bit one in WoW64. Taken out again, so that no later start of the prefix runs it.
bool InstallFlow::TakeScheduled(REGSAM view) {
  HKEY runOnce = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0,
                    KEY_ALL_ACCESS | view, &runOnce) != ERROR_SUCCESS)
    return false;
  wchar_t name[256], data[1024];
  bool found = false;
  for (DWORD i = 0, n = 256, size = sizeof data;
       !found && RegEnumValueW(runOnce, i, name, &n, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) == 0;
       ++i, n = 256, size = sizeof data)
    found = Has(data, L"Uninst.exe\" /Driver \"Tessaron TS-2100\"") && RegDeleteValueW(runOnce, name) == 0;
  RegCloseKey(runOnce);
  return found;
}

TEST_F(InstallFlow, OldDriverThatStaysSchedulesTheUninstallerForTheNextStart) {
  OldDriverThatStays();
  Install(0);
  Answer(IDYES);                              // remove the old driver
  const std::wstring restart = Answer(IDNO);  // it stays: restart now?
  SetStandIn(L"printui", L"KeepDrivers", 0);
  EXPECT_EQ(buttons, 1 << IDYES | 1 << IDNO) << restart;
  EXPECT_TRUE(WindowBack());
  EXPECT_FALSE(Wow64() && TakeScheduled(KEY_WOW64_64KEY));
  EXPECT_TRUE(TakeScheduled(Wow64() ? KEY_WOW64_32KEY : 0));
}

TEST_F(InstallFlow, OnlineOnTheUsbPortOfThePresentDevice) {
  PresentDevice();
  SetStandIn(L"newdev", L"ClassInstaller", 1);
  HostWatch host;
  Install(0);
  Answer(IDYES);
  const std::wstring done = Answer(IDOK, L"success-usb");
  // In WoW64 the host detected the device (its exchange file said so) and
  // installed it, and its message reached the window: the success box.
  const size_t hostRuns = host.Stop();
  std::wstring caller;
  NewdevValue(L"Caller", &caller);
  EXPECT_EQ(caller.substr(caller.find_last_of(L'\\') + 1), Wow64() ? L"PrnSetup64.exe" : L"DriverSetup.exe");
  EXPECT_EQ(hostRuns >= 2, Wow64()) << hostRuns << " host runs; detection and install each start one";
  EXPECT_TRUE(Has(done, L"USB001")) << done;
  Queue q;
  ASSERT_TRUE(ReadQueue(L"Tessaron TS-2100", q));
  EXPECT_EQ(q.Port, L"USB001");
  EXPECT_TRUE(WindowBack());
}

TEST_F(InstallFlow, Wow64HostEndedFromOutsideBeforeItReportsIsAFailure) {
  PresentDevice();
  SetStandIn(L"newdev", L"HeldBy", 0);
  SetStandIn(L"newdev", L"HoldMs", 120000);
  Install(0);
  Answer(IDYES);
  DWORD pid = 0;
  for (int i = 0; i < 600 && !(pid = NewdevValue(L"HeldBy")); ++i) Sleep(50);
  ASSERT_NE(pid, 0u) << "the host never reached Plug and Play";
  HANDLE host = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(TerminateProcess(host, 1));
  CloseHandle(host);
  // The watchdog finds the host gone without a message.
  const std::wstring failed = Answer(IDOK);
  const std::wstring aborted = SystemText(ERROR_PROCESS_ABORTED);
  EXPECT_TRUE(!aborted.empty() && Has(failed, aborted)) << failed;
  EXPECT_EQ(buttons, 1 << IDOK);
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
  EXPECT_TRUE(WindowBack());
}

TEST_F(InstallFlow, PrintUIAddingNoQueueIsAFailure) {
  // A package whose INF does not list its model: the print UI installs nothing.
  const std::wstring inf = Join(stage, L"Drivers\\TS5400\\TS5400.inf");
  std::string bytes = ReadBytes(inf);
  for (size_t at; (at = bytes.find("\"Tessaron TS-5400\"")) != std::string::npos;)
    bytes.replace(at, 18, "\"Other model\"");
  // A newer version, so that the copy below Program Files is refreshed.
  bytes.replace(bytes.find("DriverVer="), 10, "DriverVer=01/01/2030,9.9.9.9\r\n;");
  WriteBytes(inf, bytes);

  Install(2);
  Answer(IDYES);
  const std::wstring failed = Answer(IDOK, L"failure-print-ui");
  EXPECT_TRUE(NamesTheRecord(failed)) << failed;
  EXPECT_EQ(buttons, 1 << IDOK);
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
  EXPECT_TRUE(WindowBack());
}

TEST_F(InstallFlow, RefreshCutDuringTheCopyThenARerun) { CutRefreshThenRerun(L".new", L"\\fill"); }

TEST_F(InstallFlow, RefreshCutWhileTheOldCopyIsDeletedThenARerun) { CutRefreshThenRerun(L".old", L""); }

TEST_F(InstallFlow, TwoInstallersStartedTogetherMakeOneQueue) {
  const std::wstring exe = Join(stage, L"DriverSetup.exe");
  Process other;
  ASSERT_TRUE(Start(exe, stage, proc));
  ASSERT_TRUE(Start(exe, stage, other));
  // Install is pressed in every window there is: the second installer has none.
  HWND windows[2] = {};
  for (DWORD start = GetTickCount(); GetTickCount() - start < 20000 && !windows[0] && !windows[1]; Sleep(50)) {
    windows[0] = WaitWindow(proc.Id, L"TFormMain", 0);
    windows[1] = WaitWindow(other.Id, L"TFormMain", 0);
  }
  ASSERT_TRUE(windows[0] || windows[1]);
  if (!windows[0]) {  // the second started was first to claim the install
    std::swap(proc.Handle, other.Handle);
    std::swap(proc.Id, other.Id);
    std::swap(windows[0], windows[1]);
  }
  EXPECT_TRUE(other.WaitExit(10000)) << "the second installer goes on running";
  main = windows[0];
  Press(0);
  Answer(IDYES);
  const std::wstring done = Answer(IDOK);
  EXPECT_TRUE(Has(done, L"Tessaron TS-2100")) << done;
  EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
}

TEST_F(InstallFlow, AModelNameOutsideTheCodePageIsRefusedBeforeAnythingChanges) {
  ASSERT_EQ(GetACP(), 1252u) << "run under LANG=en_US.UTF-8";
  const std::wstring name = L"\u5929\u67a2 TS-2100";
  WriteUtf16File(Join(stage, L"Setup.ini"),
                 L"[TS2100]\r\nPrinterName=" + name +
                     L"\r\nPrinterHWID=TessaronTS-2100A1B2\r\nDriverDir=\\Drivers\\TS2100\r\n"
                     L"INF.2K=TS2100.inf\r\nINF.X64=TS2100.inf\r\n");
  Install(0);
  const std::wstring refused = Answer(IDOK);
  EXPECT_TRUE(Has(refused, name)) << refused;
  EXPECT_TRUE(WindowBack());
  EXPECT_EQ(WaitWindow(proc.Id, L"#32770", 1000), nullptr) << "a second box";
  EXPECT_FALSE(Exists(Buffer(name))) << "the INF is registered from that copy, after it is made";
  EXPECT_TRUE(QueuesOf(name).empty());
}

TEST_F(InstallFlow, RefusedFolderNameIsAFailureWithItsReason) {
  // A model name that would lead the driver copy out of its folder.
  const std::wstring ini = Join(stage, L"Setup.ini");
  const std::string bytes = ReadBytes(ini);  // UTF-16LE with its byte-order mark
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  const size_t at = text.find(L"PrinterName=Tessaron TS-2100");
  ASSERT_NE(at, std::wstring::npos);
  text.replace(at, 28, L"PrinterName=..");
  WriteBytes(ini, bytes.substr(0, 2) + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));

  Install(0);
  Answer(IDYES);
  const std::wstring failed = Answer(IDOK, L"failure-folder-name");
  EXPECT_TRUE(Has(failed, L"\"..\"") || Has(failed, L"“..”")) << failed;
  EXPECT_TRUE(NamesTheRecord(failed)) << failed;
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
  EXPECT_TRUE(WindowBack());
}

TEST_F(InstallFlow, DriverFileThatCannotBeCopiedIsAFailureWithItsReason) {
  // Another program holds a driver file open unshared: the copy cannot read it.
  DeleteBuffer();
  const std::wstring held = Join(stage, L"Drivers\\TS2100\\TS2100.GPD");
  HANDLE lock = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Install(0);
  Answer(IDYES);
  const std::wstring failed = Answer(IDOK, L"failure-copy");
  CloseHandle(lock);
  EXPECT_TRUE(Has(failed, held) && Has(failed, SystemText(ERROR_SHARING_VIOLATION))) << failed;
  EXPECT_TRUE(NamesTheRecord(failed)) << failed;
  EXPECT_FALSE(Exists(Buffer() + L".new")) << "the unfinished copy stays behind";
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
  EXPECT_TRUE(WindowBack());
}

// --- Runs without a person, as deployment tools start the installer ----------

// The shipped installer run to its end in the package's folder (its package
// description is looked for in the current folder), with no window ever
// visible; its exit code.
DWORD InstallFlow::Deploy(const std::wstring& args, HANDLE out) {
  std::wstring shown;
  const DWORD code = RunToEnd(L"\"" + Join(stage, L"DriverSetup.exe") + L"\" " + args, stage.c_str(), out, &shown);
  EXPECT_EQ(shown, L"") << "the installer showed windows: " << args;
  return code;
}

// The copies of the first model's INF among the system's INF files.
int InstallFlow::InfCopies() {
  wchar_t windir[MAX_PATH] = {};
  GetWindowsDirectoryW(windir, MAX_PATH);
  const std::string inf = ReadBytes(Join(stage, L"Drivers\\TS2100\\TS2100.inf"));
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Join(windir, L"inf\\*.inf").c_str(), &fd);
  int copies = 0;
  for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd))
    copies += ReadBytes(Join(windir, std::wstring(L"inf\\") + fd.cFileName)) == inf;
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  return copies;
}

bool DriverThere(const std::wstring& name) {
  DWORD needed = 0, count = 0;
  EnumPrinterDriversW(nullptr, nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buf(needed ? needed : 1);
  EnumPrinterDriversW(nullptr, nullptr, 1, buf.data(), needed, &needed, &count);
  auto* di = reinterpret_cast<DRIVER_INFO_1W*>(buf.data());
  for (DWORD i = 0; i < count; ++i)
    if (name == di[i].pName) return true;
  return false;
}

const std::wstring kQuiet = L"/quiet /model \"Tessaron TS-2100\"";

TEST_F(InstallFlow, QuietInstallRunAgainKeepsOneQueueAndOneInfCopyAndUpdatesTheDriver) {
  // Offline where detection chooses, offline on a named port, online on the
  // present device's port.
  const struct {
    bool device;
    const wchar_t* args;
    const wchar_t* port;
  } rows[] = {{false, L"", L"LPT1:"}, {false, L" -PORT LPT2:", L"LPT2:"}, {true, L"", L"USB001"}};
  for (const auto& row : rows) {
    DeleteQueuesAndDrivers(L"Tessaron");
    if (row.device) PresentDevice(), SetStandIn(L"newdev", L"ClassInstaller", 1);
    for (int run = 1; run <= 2; ++run) {
      EXPECT_EQ(Deploy(kQuiet + row.args), 0u) << row.port << " run " << run;
      Queue q;
      EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"}) << row.port << " run " << run;
      EXPECT_TRUE(ReadQueue(L"Tessaron TS-2100", q) && q.Port == row.port) << q.Port;
      EXPECT_EQ(InfCopies(), 1) << row.port << " run " << run;
    }
  }
  // A newer driver in the package: a third run updates the queue's driver.
  for (const auto& [file, from, to] :
       {std::tuple{L"TS2100.GPD", "\"1.2\"", "\"1.3\""}, std::tuple{L"TS2100.inf", "1.2.0.0", "1.3.0.0"}}) {
    const std::wstring path = Join(stage, std::wstring(L"Drivers\\TS2100\\") + file);
    std::string bytes = ReadBytes(path);
    WriteBytes(path, bytes.replace(bytes.find(from), std::strlen(from), to));
  }
  EXPECT_EQ(Deploy(kQuiet), 0u);
  EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
  HANDLE h = nullptr;
  DWORD needed = 0;
  ASSERT_TRUE(OpenPrinterW(const_cast<wchar_t*>(L"Tessaron TS-2100"), &h, nullptr));
  GetPrinterDriverW(h, nullptr, 2, nullptr, 0, &needed);
  std::vector<BYTE> driver(needed ? needed : 1);
  const bool read = GetPrinterDriverW(h, nullptr, 2, driver.data(), needed, &needed);
  ClosePrinter(h);
  ASSERT_TRUE(read);
  const std::string data = ReadBytes(reinterpret_cast<DRIVER_INFO_2W*>(driver.data())->pDataFile);
  EXPECT_NE(data.find("\"1.3\""), std::string::npos) << data.substr(0, 200);
}

TEST_F(InstallFlow, QuietUninstallRemovesQueueDriverRecordAndInfCopyUnlessTheQueueStays) {
  ASSERT_EQ(Deploy(kQuiet), 0u);
  MakeRecord();
  SetStandIn(L"printui", L"KeepQueues", 1);  // the queue is not removed
  EXPECT_EQ(Deploy(L"/Quiet /Uninstall /Model \"Tessaron TS-2100\""), 1603u);
  EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
  SetStandIn(L"printui", L"KeepQueues", 0);
  EXPECT_EQ(Deploy(L"-quiet -uninstall -model \"Tessaron TS-2100\""), 0u);
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
  EXPECT_FALSE(DriverThere(L"Tessaron TS-2100"));
  EXPECT_FALSE(RecordSeen(0));
  EXPECT_EQ(InfCopies(), 0);
  EXPECT_FALSE(Exists(Buffer()));
}

TEST_F(InstallFlow, QuietInstallWhileAnInstallerWaitsIsBusy) {
  ASSERT_TRUE(Start(Join(stage, L"DriverSetup.exe"), stage, proc));
  main = WaitWindow(proc.Id, L"TFormMain", 20000);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Deploy(kQuiet), 1618u);
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
}

TEST_F(InstallFlow, QuietInstallOverAnOldDriverThatStaysNeedsARestart) {
  OldDriverThatStays();
  EXPECT_EQ(Deploy(kQuiet), 3010u);
  EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
  EXPECT_TRUE(TakeScheduled(Wow64() ? KEY_WOW64_32KEY : 0));
}

TEST_F(InstallFlow, ListingAndCommandLinesThatCannotBeActedOn) {
  const std::wstring listing = Join(stage, L"models.txt"), record = Join(stage, L"record.log");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(listing.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  EXPECT_EQ(Deploy(L"-LIST", out), 0u);
  CloseHandle(out);
  // Each model of the package description: name, hardware ID, driver folder.
  auto value = [&](const wchar_t* section, const wchar_t* key) {
    wchar_t text[MAX_PATH] = {};
    GetPrivateProfileStringW(section, key, L"", text, MAX_PATH, Join(stage, L"Setup.ini").c_str());
    return std::wstring(text);
  };
  std::wstring lines;
  for (const wchar_t* model : {L"TS2100", L"TS3200", L"TS5400"})
    lines += value(model, L"PrinterName") + L"\t" + value(model, L"PrinterHWID") + L"\t" + stage +
             value(model, L"DriverDir") + L"\r\n";
  std::string expected(lines.size() * 3, '\0');
  expected.resize(WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), expected.data(),
                                      static_cast<int>(expected.size()), nullptr, nullptr));
  EXPECT_EQ(ReadBytes(listing), expected);

  // Refused with the argument named in the record; nothing installed.
  const struct {
    const wchar_t* args;
    const char* named;
  } refused[] = {{L"/quiet /model \"Tessaron TS-2100\" /reboot", "/reboot"},
                 {L"/quiet /model \"Tessaron TS-9999\"", "Tessaron TS-9999"},
                 {L"/quiet /uninstall", "/uninstall"},
                 {L"/passive /model", "/model"}};
  for (const auto& row : refused) {
    DeleteFileW(record.c_str());
    EXPECT_EQ(Deploy(row.args + std::wstring(L" /log \"") + record + L"\""), 1639u) << row.args;
    EXPECT_NE(ReadBytes(record).find(row.named), std::string::npos) << row.args;
  }
  EXPECT_TRUE(QueuesOf(L"Tessaron").empty());
}

}  // namespace
