// The real 64-bit host (dist\win64\PrnSetup64.exe with inst2k64.dll) started
// the way the installer starts it: detection mode writing "Ret" into the
// exchange file, install mode sending its message to the window of a
// separate receiver program and waiting until that message is handled.
#include <gtest/gtest.h>
#include "win32/WinApi.h"

#include <cstdio>
#include <string>

#include "Inst2kWineSupport.h"
#include "platform/Inst2kApi.h"
#include "sysutil/UiTexts.h"

using namespace inst2kwine;

namespace {

// A box text of the host in the language of the system it runs on.
std::wstring HostText(TUiText id) {
  const TString t = UiText(id, UiLanguageOf(GetSystemDefaultLangID()));
  return std::wstring(t.begin(), t.end());
}

std::wstring HostPath() { return Join(DistWin64(), L"PrnSetup64.exe"); }

// The install-mode command line as the installer builds it: the host path
// unquoted, the library relative to the host folder, paths in quotes.
std::wstring HostCommand(LONG window, const std::wstring& dll, const std::wstring& inf, const std::wstring& hwid) {
  return HostPath() + L" /Handle " + std::to_wstring(window) + L" /Dll \"" + dll + L"\" /Inf \"" + inf + L"\" /HWID " +
         hwid;
}

std::string ReadText(const std::wstring& path) { return ReadBytes(path); }

// Whether the ANSI code page carries the text without substitutes.
bool AnsiCarries(const std::wstring& s) {
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.c_str(), -1, nullptr, 0, nullptr, &usedDefault);
  return !usedDefault;
}

// The receiver program standing in for the installer's main window.
class Receiver {
 public:
  explicit Receiver(const std::wstring& folder) : m_Result(Join(folder, L"received.txt")) {
    m_Base = L"inst2k_rcv_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++s_Count);
    m_Ready = CreateEventW(nullptr, TRUE, FALSE, (m_Base + L"_ready").c_str());
    m_Got = CreateEventW(nullptr, TRUE, FALSE, (m_Base + L"_got").c_str());
    m_Release = CreateEventW(nullptr, TRUE, FALSE, (m_Base + L"_release").c_str());
  }
  ~Receiver() {
    SetEvent(m_Release);
    if (m_Pi.hProcess) {
      WaitForSingleObject(m_Pi.hProcess, 10000);
      CloseHandle(m_Pi.hProcess);
      CloseHandle(m_Pi.hThread);
    }
    CloseHandle(m_Ready);
    CloseHandle(m_Got);
    CloseHandle(m_Release);
  }
  // Starts it and returns its window handle as the installer prints it.
  LONG Start() {
    const std::wstring cmd =
        L"\"" + Join(WineTestsDir(), L"inst2k_msg_receiver.exe") + L"\" \"" + m_Result + L"\" " + m_Base;
    if (!inst2kwine::Start(cmd, L"", m_Pi, 0)) return 0;
    if (WaitForSingleObject(m_Ready, 20000) != WAIT_OBJECT_0) return 0;
    const std::string text = ReadText(m_Result);
    return text.rfind("hwnd=", 0) == 0 ? std::stol(text.substr(5)) : 0;
  }
  bool WaitGot(DWORD ms) { return WaitForSingleObject(m_Got, ms) == WAIT_OBJECT_0; }
  void Release() { SetEvent(m_Release); }
  bool WaitExit() { return WaitForSingleObject(m_Pi.hProcess, 20000) == WAIT_OBJECT_0; }
  // The line the receiver wrote for the message, e.g. "msg=1025 wparam=0 lparam=... sent=1".
  std::string Received() {
    const std::string text = ReadText(m_Result);
    const size_t at = text.find("msg=");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\r', at) - at);
  }

 private:
  static inline int s_Count = 0;
  std::wstring m_Result, m_Base;
  HANDLE m_Ready, m_Got, m_Release;
  PROCESS_INFORMATION m_Pi{};
};

struct FoundWindow {
  DWORD Pid;
  const wchar_t* Caption;
  HWND Hwnd;
};

// A top-level window of the process with this caption, waited for.
HWND WaitProcessWindow(DWORD pid, const wchar_t* caption, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 100) {
    FoundWindow f{pid, caption, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
          auto* f = reinterpret_cast<FoundWindow*>(lp);
          DWORD owner = 0;
          GetWindowThreadProcessId(h, &owner);
          wchar_t text[256] = {};
          GetWindowTextW(h, text, 256);
          if (owner == f->Pid && std::wstring(text) == f->Caption) {
            f->Hwnd = h;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    if (f.Hwnd) return f.Hwnd;
    Sleep(100);
  }
  return nullptr;
}

std::wstring StaticText(HWND dialog) {
  std::wstring found;
  EnumChildWindows(
      dialog,
      [](HWND h, LPARAM lp) -> BOOL {
        wchar_t cls[32] = {}, text[512] = {};
        GetClassNameW(h, cls, 32);
        GetWindowTextW(h, text, 512);
        if (lstrcmpiW(cls, L"Static") == 0 && text[0]) {
          *reinterpret_cast<std::wstring*>(lp) = text;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class PrnSetup64Wine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_ClassExisted = UsbClassRegistered();
    DevNodeTool(L"class-add");
    DevNodeTool(L"create " + Widen(kDemoInstanceId) + L" " + Widen(kDemoFirstHwid) + L" " + Widen(kDemoHwid));
  }
  static void TearDownTestSuite() {
    DevNodeTool(L"remove " + Widen(kDemoInstanceId));
    if (!s_ClassExisted) DevNodeTool(L"class-remove");
  }
  void SetUp() override {
    ASSERT_TRUE(FileExists(HostPath())) << Narrow(HostPath());
    folder = NewTempFolder(L"inst2k-host");
    inf = Join(folder, L"TS2100.inf");
    ASSERT_TRUE(CopyFileW(DemoInf().c_str(), inf.c_str(), FALSE));
    ini = Join(folder, L"tmp5E1.tmp");
  }
  void TearDown() override { DeleteTree(folder); }

  // Runs the host in detection mode; "Ret" as written, or "<none>".
  std::wstring Detect(const std::wstring& infPath, const std::wstring& hwid) {
    WritePrivateProfileStringW(L"Data", L"Flag", L"4", ini.c_str());
    WritePrivateProfileStringW(L"Data", L"Ret", nullptr, ini.c_str());
    const DWORD code =
        inst2kwine::Run(HostCommand(0, L"inst2k64.dll", infPath, hwid) + L" /FindHWID \"" + ini + L"\"", DistWin64());
    EXPECT_EQ(code, 0u);
    wchar_t ret[64] = {};
    GetPrivateProfileStringW(L"Data", L"Ret", L"<none>", ret, 64, ini.c_str());
    return ret;
  }

  // Runs the host in install mode against the receiver; the message line.
  std::string InstallTo(const std::wstring& dll, const std::wstring& infPath, const std::wstring& hwid,
                        const wchar_t* expectBox = nullptr) {
    Receiver receiver(folder);
    const LONG window = receiver.Start();
    if (window == 0) {
      ADD_FAILURE() << "the receiver made no window (Wine needs a display)";
      return {};
    }
    PROCESS_INFORMATION host{};
    EXPECT_TRUE(Start(HostCommand(window, dll, infPath, hwid), DistWin64(), host));
    if (!host.hProcess) return {};
    if (expectBox) {
      HWND box = WaitProcessWindow(host.dwProcessId, HostText(TUiText::HostErrorCaption).c_str(), 20000);
      EXPECT_NE(box, nullptr);
      if (box) {
        EXPECT_EQ(StaticText(box), expectBox);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    }
    EXPECT_TRUE(receiver.WaitGot(30000));
    // The host sent, not posted: it is still waiting while the handler runs.
    Sleep(300);
    EXPECT_EQ(WaitForSingleObject(host.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    receiver.Release();
    ExpectHostEndsCleanly(host);
    EXPECT_TRUE(receiver.WaitExit());
    return receiver.Received();
  }

  static inline bool s_ClassExisted = false;
  std::wstring folder, inf, ini;
};

}  // namespace

TEST_F(PrnSetup64Wine, DetectionWritesTheTestResult) {
  EXPECT_EQ(Detect(inf, Widen(kNoSuchHwid)), L"3758096907");  // 0xE000020B
  EXPECT_EQ(Detect(inf, Widen(kDemoHwid)), L"0");
  EXPECT_EQ(Detect(Join(folder, L"missing.inf"), Widen(kDemoHwid)), L"2");
}

TEST_F(PrnSetup64Wine, DetectionWithoutTheLibraryWritesNoResult) {
  WritePrivateProfileStringW(L"Data", L"Flag", L"4", ini.c_str());
  PROCESS_INFORMATION host{};
  ASSERT_TRUE(
      Start(HostCommand(0, L"missing.dll", inf, Widen(kDemoHwid)) + L" /FindHWID \"" + ini + L"\"", DistWin64(), host));
  HWND box = WaitProcessWindow(host.dwProcessId, HostText(TUiText::HostErrorCaption).c_str(), 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(StaticText(box), HostText(TUiText::HostLoadDllFailed));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ExpectHostEndsCleanly(host);
  wchar_t ret[64] = {};
  GetPrivateProfileStringW(L"Data", L"Ret", L"<none>", ret, 64, ini.c_str());
  EXPECT_STREQ(ret, L"<none>");
}

TEST_F(PrnSetup64Wine, InstallFailureReachesTheWindowWithTheLibrarysCode) {
  EXPECT_EQ(InstallTo(L"inst2k64.dll", inf, Widen(kNoSuchHwid)), "msg=1025 wparam=0 lparam=3758096907 sent=1");
}

TEST_F(PrnSetup64Wine, InstallSuccessReachesTheWindow) {
  EXPECT_EQ(InstallTo(L"inst2k64.dll", inf, Widen(kDemoHwid)), "msg=1026 wparam=0 lparam=0 sent=1");
}

TEST_F(PrnSetup64Wine, MissingLibraryShowsTheBoxThenReportsFailure) {
  EXPECT_EQ(InstallTo(L"missing.dll", inf, Widen(kDemoHwid), HostText(TUiText::HostLoadDllFailed).c_str()),
            "msg=1025 wparam=0 lparam=126 sent=1");
}

TEST_F(PrnSetup64Wine, ChineseFolderIsConvertedThroughTheCodePageOrRefused) {
  const std::wstring chinese = Join(folder, L"\x9A71\x52A8\x7A0B\x5E8F");  // "驱动程序"
  ASSERT_TRUE(CreateDirectoryW(chinese.c_str(), nullptr));
  const std::wstring chineseInf = Join(chinese, L"TS2100.inf");
  ASSERT_TRUE(CopyFileW(inf.c_str(), chineseInf.c_str(), FALSE));
  const bool carries = AnsiCarries(chineseInf);
  std::printf("[   INFO   ] ANSI code page %u %s the folder name\n", GetACP(), carries ? "carries" : "lacks");
  if (carries) {
    EXPECT_EQ(Detect(chineseInf, Widen(kNoSuchHwid)), L"3758096907");
    EXPECT_EQ(InstallTo(L"inst2k64.dll", chineseInf, Widen(kDemoHwid)), "msg=1026 wparam=0 lparam=0 sent=1");
  } else {
    // Code page without these characters: refused with the reason
    // (ERROR_NO_UNICODE_TRANSLATION), never passed on mangled.
    EXPECT_EQ(Detect(chineseInf, Widen(kDemoHwid)), L"1113");
    EXPECT_EQ(InstallTo(L"inst2k64.dll", chineseInf, Widen(kDemoHwid)), "msg=1025 wparam=0 lparam=1113 sent=1");
  }
}

TEST_F(PrnSetup64Wine, WithoutAWindowTheHostStillInstallsAndEnds) {
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev");
  EXPECT_EQ(inst2kwine::Run(HostCommand(0, L"inst2k64.dll", inf, Widen(kDemoHwid)), DistWin64()), 0u);
  wchar_t seen[512] = {};
  DWORD size = sizeof seen;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", L"InfPath", RRF_RT_REG_SZ, nullptr, seen,
               &size);
  EXPECT_EQ(lstrcmpiW(seen, inf.c_str()), 0);
  DWORD flags = 0;
  size = sizeof flags;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\DriverSetupTests\\newdev", L"Flags", RRF_RT_REG_DWORD, nullptr, &flags,
               &size);
  EXPECT_EQ(flags, inst2k::kInstallFlagForce);
}

TEST_F(PrnSetup64Wine, AHardwareIdWithABlankIsRefusedNotCutToItsLastWord) {
  const std::string refused = "msg=1025 wparam=0 lparam=" + std::to_string(ERROR_BAD_ARGUMENTS) + " sent=1";
  EXPECT_EQ(InstallTo(L"inst2k64.dll", inf, L"Bogus " + Widen(kDemoHwid)), refused);
  EXPECT_EQ(Detect(inf, L"Bogus " + Widen(kDemoHwid)), std::to_wstring(ERROR_BAD_ARGUMENTS));
}

TEST_F(PrnSetup64Wine, ARelativeExchangeFileIsWrittenInTheCurrentFolder) {
  WritePrivateProfileStringW(L"Data", L"Flag", L"4", ini.c_str());
  const std::wstring cmd = HostPath() + L" /Handle 0 /Dll \"" + Join(DistWin64(), L"inst2k64.dll") + L"\" /Inf \"" +
                           inf + L"\" /HWID " + Widen(kNoSuchHwid) + L" /FindHWID tmp5E1.tmp";
  EXPECT_EQ(inst2kwine::Run(cmd, folder), 0u);
  wchar_t ret[64] = {};
  GetPrivateProfileStringW(L"Data", L"Ret", L"<none>", ret, 64, ini.c_str());
  EXPECT_STREQ(ret, L"3758096907");  // 0xE000020B
}
