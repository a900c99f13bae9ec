// The real 64-bit installer installs demo models into Wine's spooler: the
// user's clicks are sent to its window and its message boxes are read and
// answered. The print UI and newdev stand-ins of the test prefix take the
// place of the Windows parts Wine lacks.
#include "win32/WinApi.h"
// <windows.h> first.
#include <gtest/gtest.h>
#include <winspool.h>

#include "ScreenCapture.h"
#include "WineHarness.h"

using namespace harness;

namespace {

enum { kList = 108, kStart = 110, kExit = 111 };
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
  for (const wchar_t* d : {L"Tessaron TS-2100", L"Tessaron TS-5400"})
    DeletePrinterDriverExW(nullptr, nullptr, const_cast<wchar_t*>(d), DPD_DELETE_ALL_FILES, 0);
}

std::wstring DefaultPrinter() {
  wchar_t name[512] = {};
  DWORD n = 512;
  return GetDefaultPrinterW(name, &n) ? name : L"";
}

void SetNewdevSetting(const wchar_t* name, DWORD value) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
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

// Runs a command line to its end; its exit code.
DWORD RunToEnd(std::wstring cmd) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &si, &pi))
    return 0xFFFFFFFF;
  WaitForSingleObject(pi.hProcess, 30000);
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
    const std::wstring root = Env(L"DS_ROOT_WIN"), exe = Join(Env(L"DS_DIST_WIN64"), L"DriverSetup.exe");
    ASSERT_FALSE(root.empty()) << "DS_ROOT_WIN is not set";
    stage = NewTempFolder(L"flow");
    ASSERT_TRUE(CopyTree(Join(root, L"examples\\demo-package"), stage));
    ASSERT_TRUE(CopyFileW(exe.c_str(), Join(stage, L"DriverSetup.exe").c_str(), FALSE));
    DeleteQueuesAndDrivers(L"Tessaron");
  }
  void TearDown() override {
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    proc.WaitExit(10000);
    DeleteQueuesAndDrivers(L"Tessaron");
    DeleteTree(stage);
  }

  // Starts the installer, selects the model and presses Install.
  void Install(int model) {
    ASSERT_TRUE(Start(Join(stage, L"DriverSetup.exe"), stage, proc));
    main = WaitWindow(proc.Id, L"TFormMain", 20000);
    ASSERT_NE(main, nullptr);
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
  // A failure box ends with the line naming the install record.
  static bool NamesTheRecord(const std::wstring& text) {
    const size_t last = text.rfind(L'\n');
    return last != std::wstring::npos && Has(text.substr(last), L"DriverSetup.log");
  }

  std::wstring stage;
  Process proc;
  HWND main = nullptr;
  int buttons = 0;
};

TEST_F(InstallFlow, OfflineOnLpt1MadeTheDefault) {
  Install(0);
  Answer(IDYES, L"connect");  // connect the printer: none is there
  EXPECT_EQ(buttons, 1 << IDYES | 1 << IDNO);
  const std::wstring done = Answer(IDOK, L"success");
  EXPECT_TRUE(Has(done, L"Tessaron TS-2100") && Has(done, L"LPT1:")) << done;
  EXPECT_TRUE(WindowBack());
  Queue q;
  ASSERT_TRUE(ReadQueue(L"Tessaron TS-2100", q));
  EXPECT_EQ(q.Port, L"LPT1:");
  EXPECT_EQ(q.Processor, L"WinPrint");
  EXPECT_EQ(DefaultPrinter(), L"Tessaron TS-2100") << "the model asks to be the default";
}

TEST_F(InstallFlow, OlderDriverRemovedFirst) {
  // Version 1.0 of the model's driver serves a queue; the package needs 1.2.
  const std::wstring old = Join(stage, L"Old");
  ASSERT_TRUE(CopyTree(Join(stage, L"Drivers\\TS2100"), old));
  std::string gpd = ReadBytes(Join(old, L"TS2100.GPD"));
  gpd.replace(gpd.find("\"1.2\""), 5, "\"1.0\"");
  WriteBytes(Join(old, L"TS2100.GPD"), gpd);
  ASSERT_EQ(RunToEnd(L"rundll32 printui.dll,PrintUIEntry /if /b \"Tessaron TS-2100 (old)\" /f \"" +
                     Join(old, L"TS2100.inf") + L"\" /r \"LPT1:\" /m \"Tessaron TS-2100\" /q"),
            0u);
  ASSERT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100 (old)"});

  Install(0);
  Answer(IDYES, L"old-driver");
  EXPECT_EQ(buttons, 1 << IDYES | 1 << IDNO);
  Answer(IDYES);
  const std::wstring done = Answer(IDOK);
  EXPECT_TRUE(Has(done, L"Tessaron TS-2100")) << done;
  EXPECT_EQ(QueuesOf(L"Tessaron"), std::vector<std::wstring>{L"Tessaron TS-2100"});
}

TEST_F(InstallFlow, OnlineOnTheUsbPortOfThePresentDevice) {
  HKEY usb = nullptr;
  const bool hadUsbClass =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                    L"System\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}", 0, KEY_READ,
                    &usb) == ERROR_SUCCESS;
  if (usb) RegCloseKey(usb);
  ASSERT_EQ(DevNode(L"class-add"), 0u);
  ASSERT_EQ(DevNode(std::wstring(L"create ") + kDemoInstance + L" USBPRINT\\TessaronTS-2100A1B2 TessaronTS-2100A1B2"),
            0u);
  SetNewdevSetting(L"ClassInstaller", 1);
  Install(0);
  Answer(IDYES);
  const std::wstring done = Answer(IDOK, L"success-usb");
  SetNewdevSetting(L"ClassInstaller", 0);
  DevNode(std::wstring(L"remove ") + kDemoInstance);
  if (!hadUsbClass) DevNode(L"class-remove");
  EXPECT_TRUE(Has(done, L"USB001")) << done;
  Queue q;
  ASSERT_TRUE(ReadQueue(L"Tessaron TS-2100", q));
  EXPECT_EQ(q.Port, L"USB001");
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

}  // namespace
