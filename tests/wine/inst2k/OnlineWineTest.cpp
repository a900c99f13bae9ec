// Detection, the online installation through the real 64-bit host and the
// driver buffer, through the installer's own routines and the Win32 adapters.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include "Inst2kWineSupport.h"
#include "config/InstallInfos.h"
#include "fakes/FakeMainView.h"
#include "install/InstallFunc.h"
#include "installer/uMain.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/ISystem.h"
#include "platform/Inst2kApi.h"
#include "win32/adapters/Win32Ports.h"

ISystem& Win32SystemInstance();

using namespace inst2kwine;

namespace {

TString U(const std::wstring& s) { return TString(s.begin(), s.end()); }

// The real system, seen as the 32-bit installer on 64-bit Windows sees it,
// with the program file in a package folder of the test's choice.
class InstallerSystem : public ISystem {
 public:
  ISystem& real = Win32SystemInstance();
  TString ModuleFile;
  std::uint16_t GetSystemDefaultLangID() override { return real.GetSystemDefaultLangID(); }
  std::uint16_t GetUserDefaultUILanguage() override { return real.GetUserDefaultUILanguage(); }
  std::uint32_t GetACP() override { return real.GetACP(); }
  bool GetVersionExW(std::uint32_t s, std::uint32_t& a, std::uint32_t& b) override {
    return real.GetVersionExW(s, a, b);
  }
  bool IsWindowsNT() override { return true; }
  bool IsWow64Process(bool& found, bool& wow64) override { return found = wow64 = true; }
  std::uint32_t GetLastError() override { return real.GetLastError(); }
  void SetLastError(std::uint32_t c) override { real.SetLastError(c); }
  TString SysErrorMessage(std::uint32_t c) override { return real.SysErrorMessage(c); }
  std::string WideToAnsi(TStringView s, bool* l) override { return real.WideToAnsi(s, l); }
  TString AnsiToWide(std::string_view s) override { return real.AnsiToWide(s); }
  bool GetTempPathLong(TString& p) override { return real.GetTempPathLong(p); }
  std::uint32_t GetTempFileNameW(const TString& d, const TString& p, TString& o) override {
    return real.GetTempFileNameW(d, p, o);
  }
  TString GetModuleFileName() override { return ModuleFile.empty() ? real.GetModuleFileName() : ModuleFile; }
  TString GetCurrentDirectory() override { return real.GetCurrentDirectory(); }
  bool OpenProcessToken(std::uint32_t a, THandle& t) override { return real.OpenProcessToken(a, t); }
  bool LookupPrivilegeValueW(const TString& n, TLuid& l) override { return real.LookupPrivilegeValueW(n, l); }
  bool AdjustTokenPrivileges(THandle t, const TLuid& l, std::uint32_t a) override {
    return real.AdjustTokenPrivileges(t, l, a);
  }
  bool CloseHandle(THandle h) override { return real.CloseHandle(h); }
  THandle CreateNamedObject(const TString& n, bool& e) override { return real.CreateNamedObject(n, e); }
  bool BringWindowToFront(const TString& c) override { return real.BringWindowToFront(c); }
  bool ExitWindowsEx(std::uint32_t, std::uint32_t) override { return false; }
  void Sleep(std::uint32_t ms) override { real.Sleep(ms); }
  void OutputDebugString(const TString& l) override { real.OutputDebugString(l); }
  TString LocalTimeText() override { return real.LocalTimeText(); }
  std::uint64_t TickCount() override { return real.TickCount(); }
};

// The outcome message the host sent to the test's window.
UINT g_Outcome = 0;
LRESULT CALLBACK OutcomeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == inst2k::kMsgInstallSucceeded || m == inst2k::kMsgInstallFailed) g_Outcome = m;
  return DefWindowProcW(h, m, w, l);
}

class OnlineWine : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Ports();
    PortSlot<ISystem>::Set(&sys);
    // The host and its library in a folder whose path holds a blank.
    folder = NewTempFolder(L"ds host");
    ASSERT_TRUE(
        CopyFileW(Join(DistWin64(), L"PrnSetup64.exe").c_str(), Join(folder, L"PrnSetup64.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Join(DistWin64(), L"inst2k64.dll").c_str(), Join(folder, L"inst2k64.dll").c_str(), FALSE));
  }
  void TearDown() override {
    PortSlot<ISystem>::Set(&Win32SystemInstance());
    DeleteTree(folder);
  }
  TString Host() const { return U(Join(folder, L"PrnSetup64.exe")); }
  TString Dll() const { return U(Join(folder, L"inst2k64.dll")); }
  std::wstring folder;
  InstallerSystem sys;
};

TEST_F(OnlineWine, HostAnswersTheDetectionFromAFolderWithABlank) {
  TString temp;
  ASSERT_TRUE(Sys().GetTempPathLong(temp));
  std::uint32_t code = ExistInlineDevice64(0, U(Widen(kNoSuchHwid)), U(DemoInf()), Host(), Dll(), 4);
  EXPECT_EQ(code, 0xE000020Bu) << "no device has this hardware ID";
}

TEST_F(OnlineWine, HostInstallModeReportsToTheWindowAndTheDeviceIsFound) {
  if (!UsbClassRegistered()) {
    ASSERT_EQ(DevNodeTool(L"class-add"), 0u);
  }
  ASSERT_EQ(DevNodeTool(L"create " + Widen(kDemoInstanceId) + L" " + Widen(kDemoFirstHwid) + L" " + Widen(kDemoHwid)),
            0u);
  TString deviceHwid, port;
  EXPECT_TRUE(FindExistDevice(Dll(), U(Widen(kDemoHwid)), deviceHwid, port, true));
  EXPECT_EQ(port, u"USB001");
  EXPECT_EQ(deviceHwid, U(Widen(kDemoFirstHwid)));

  // The host starts without being waited for and reports to a window.
  WNDCLASSW wc{};
  wc.lpfnWndProc = OutcomeProc;
  wc.lpszClassName = L"DsOnlineOutcome";
  RegisterClassW(&wc);
  g_Outcome = 0;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  THandle process = 0;
  InstallSpecPrinter64(reinterpret_cast<THandle>(window), Host(), U(DemoInf()), u"", U(Widen(kDemoHwid)), Dll(), Dll(),
                       process, port);
  ASSERT_NE(process, 0u);
  EXPECT_EQ(port, u"USB001");
  MSG msg{};
  bool got = false;
  for (DWORD start = GetTickCount(); !got && GetTickCount() - start < 30000;) {
    // The host sends its outcome: it is handled while this thread waits for messages.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    got = WaitForSingleObject(reinterpret_cast<HANDLE>(process), 0) == WAIT_OBJECT_0;
  }
  EXPECT_TRUE(got) << "the host did not end";
  EXPECT_NE(g_Outcome, 0u) << "no outcome message reached the window";
  CloseHandle(reinterpret_cast<HANDLE>(process));
  DestroyWindow(window);
  DevNodeTool(L"remove " + Widen(kDemoInstanceId));
}

TEST_F(OnlineWine, DriverBufferBelowProgramFilesThenNothingCopied) {
  std::wstring pkg = NewTempFolder(L"pkg");
  CreateDirectoryW(Join(pkg, L"Drv").c_str(), nullptr);
  const std::wstring inf = Join(pkg, L"Drv\\TS2100.inf");
  ASSERT_TRUE(CopyFileW(DemoInf().c_str(), inf.c_str(), FALSE));
  const std::wstring gpd = DemoInf().substr(0, DemoInf().size() - 3) + L"GPD";
  ASSERT_TRUE(CopyFileW(gpd.c_str(), Join(pkg, L"Drv\\TS2100.GPD").c_str(), FALSE));
  Fs().WriteFile(U(Join(pkg, L"Setup.ini")),
                 "[TS2100]\r\nPrinterName=Wine TS-2100\r\nPrinterHWID=HW\r\nDriverDir=\\Drv\r\nINF.2K=TS2100.inf\r\n"
                 "INF.X64=TS2100.inf\r\n");
  sys.ModuleFile = U(Join(pkg, L"DriverSetup.exe"));
  g_InstallInfos = TInstallInfos();
  g_InstallInfos.LoadFromFile(U(Join(pkg, L"Setup.ini")));

  FakeMainView view;
  TFormMain form{view};
  form.m_iSelect = 0;
  form.m_bWow64 = true;
  form.m_strManufactor = u"DriverSetup Wine";
  form.m_strInst2kDll = Dll();
  TString programFiles;
  ASSERT_TRUE(ShellPort().GetProgramFilesFolder(0, programFiles));
  const TString buffer = programFiles + u"\\DriverSetup Wine\\Printer Drivers\\Wine TS-2100";
  TString registered;
  ASSERT_TRUE(form.BufferDriverFiles(registered));
  EXPECT_TRUE(Fs().FileExists(buffer + u"\\TS2100.GPD"));
  EXPECT_TRUE(Fs().FileExists(registered));
  EXPECT_NE(text::LowerAscii(registered).find(u"\\windows\\inf\\"), TString::npos) << text::ToUtf8(registered);

  ASSERT_TRUE(Fs().WriteFile(buffer + u"\\marker.txt", "kept"));
  ASSERT_TRUE(form.BufferDriverFiles(registered));
  EXPECT_TRUE(Fs().FileExists(buffer + u"\\marker.txt")) << "a second run copies nothing";
  ShellPort().DeleteTree(0, programFiles + u"\\DriverSetup Wine");
  EXPECT_FALSE(Fs().DirectoryExists(buffer));
  g_InstallInfos = TInstallInfos();
  DeleteTree(pkg);
}

}  // namespace
