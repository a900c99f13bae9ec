// The real installer (the one of the runner's configuration) started under
// Wine with the demo package.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "WineHarness.h"
#include "fakes/Packed.h"
#include "installer/MainDesign.h"
#include "sysutil/UiTexts.h"

using namespace harness;

namespace {

// Control identifiers of the main window.
constexpr int kTitle = MainControlId(TMainControl::lblMainTitle), kGuide = MainControlId(TMainControl::lblReadGuide),
              kQuick = MainControlId(TMainControl::lblReadQuickGuide),
              kManual = MainControlId(TMainControl::lblReadManual), kGroup = MainControlId(TMainControl::grpPrinters),
              kList = MainControlId(TMainControl::lvPrinters), kInfos = MainControlId(TMainControl::edtInfos),
              kStart = MainControlId(TMainControl::btnStart), kExit = MainControlId(TMainControl::btnExit),
              kStatus = MainControlId(TMainControl::statBarInfo);

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = Env(L"DS_ROOT_WIN");
    exe = Join(InstallerDist(), L"DriverSetup.exe");
    ASSERT_FALSE(root.empty()) << "DS_ROOT_WIN is not set";
    ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "no installer in " << Config();
    stage = NewTempFolder(L"stage");
    ASSERT_TRUE(CopyTree(Join(root, L"examples\\demo-package"), stage));
    ASSERT_TRUE(CopyFileW(exe.c_str(), Join(stage, L"DriverSetup.exe").c_str(), FALSE));
  }
  void TearDown() override { DeleteTree(stage); }

  // Starts the installer in `cwd` and remembers the workspace it reserved.
  void Launch(const std::wstring& cwd) {
    before = TempWorkspaces();
    ASSERT_TRUE(Start(Join(stage, L"DriverSetup.exe"), cwd, proc));
  }
  std::wstring Workspace() {
    for (const auto& r : TempWorkspaces())
      if (std::find(before.begin(), before.end(), r) == before.end()) return r;
    return {};
  }

  std::wstring root, exe, stage;
  std::vector<std::wstring> before;
  Process proc;
};

TEST_F(InstallerTest, ShowsTheBrandedWindowWithThePackagesModels) {
  Launch(stage);
  HWND main = WaitWindow(proc.Id, L"TFormMain", 20000);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Text(main), L"Printer Driver Setup");
  EXPECT_EQ(Text(GetDlgItem(main, kTitle)), L"Meridex flatbed printers");
  EXPECT_EQ(Text(GetDlgItem(main, kGuide)), L"Install Guide");
  EXPECT_EQ(Text(GetDlgItem(main, kManual)), L"User's manual");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, kQuick)));
  EXPECT_EQ(Text(GetDlgItem(main, kStart)), L"Install");
  EXPECT_EQ(Text(GetDlgItem(main, kExit)), L"Exit");

  HWND list = GetDlgItem(main, kList);
  // The list is filled at the first activation, right after the window shows.
  for (int i = 0; i < 100 && ListCount(list) < 3; ++i) Sleep(50);
  ASSERT_EQ(ListCount(list), 3);
  EXPECT_EQ(ListItemText(proc.Handle, list, 0), L"Tessaron TS-2100");
  EXPECT_EQ(ListItemText(proc.Handle, list, 1), L"Tessaron TS-3200");
  EXPECT_EQ(ListItemText(proc.Handle, list, 2), L"Tessaron TS-5400");
  EXPECT_EQ(Text(GetDlgItem(main, kGroup)), L"Select printer :Tessaron TS-2100");
  EXPECT_EQ(Text(GetDlgItem(main, kInfos)), L"Hints :Please click \"Install\" button.");
  EXPECT_EQ(StatusText(proc.Handle, GetDlgItem(main, kStatus)),
            L"Flatbed printer for forms and invoices, 24 pins, 110 columns");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, kGuide)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, kManual)));

  // The third model ships no manual: its link is disabled.
  ListSelect(proc.Handle, list, 2);
  EXPECT_EQ(Text(GetDlgItem(main, kGroup)), L"Select printer :Tessaron TS-5400");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, kGuide)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, kManual)));
}

TEST_F(InstallerTest, WorkspaceLivesWhileTheProgramRunsAndIsLockedAgainstSwaps) {
  Launch(stage);
  HWND main = WaitWindow(proc.Id, L"TFormMain", 20000);
  ASSERT_NE(main, nullptr);
  std::wstring ws = Workspace();
  ASSERT_FALSE(ws.empty());
  EXPECT_EQ(GetFileAttributesW((ws + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES) << "reservation left behind";
  EXPECT_EQ(ReadBytes(Join(ws, L"Lang\\Strings.ini")), ReadBytes(Join(root, L"resources\\Strings_EN.ini")));
  EXPECT_EQ(ReadBytes(Join(ws, L"inst2k64.dll")), ReadBytes(Join(Env(L"DS_DIST_WIN64"), L"inst2k64.dll")));
  EXPECT_EQ(ReadBytes(Join(ws, L"PrnSetup64.exe")), ReadBytes(Join(Env(L"DS_DIST_WIN64"), L"PrnSetup64.exe")));
  EXPECT_EQ(ReadBytes(Join(ws, L"inst2k.dll")).substr(0, 2), "MZ");
  for (const wchar_t* name : {L"inst2k.dll", L"inst2k64.dll", L"PrnSetup64.exe"}) {
    HANDLE h = CreateFileW(Join(ws, name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a component could be opened for writing";
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    EXPECT_FALSE(DeleteFileW(Join(ws, name).c_str()));
  }

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(proc.WaitExit(15000));
  EXPECT_EQ(GetFileAttributesW(ws.c_str()), INVALID_FILE_ATTRIBUTES) << "workspace left behind";
}

// A text of the installer in the language of the system it runs on.
std::wstring Shown(TUiText id) {
  const TString t = UiText(id, UiLanguageOf(GetSystemDefaultLangID()));
  return std::wstring(t.begin(), t.end());
}

TEST_F(InstallerTest, MissingPackageDescriptionNamesThePathAndEnds) {
  std::wstring empty = NewTempFolder(L"empty");
  Launch(empty);
  HWND box = WaitWindow(proc.Id, L"#32770", 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(box), Shown(TUiText::SetupIniMissingCaption));
  wchar_t full[MAX_PATH];
  GetFullPathNameW(Join(empty, L"Setup.ini").c_str(), MAX_PATH, full, nullptr);
  std::wstring expected = Shown(TUiText::SetupIniMissing);
  expected.replace(expected.find(L"%s"), 2, full);
  EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), expected);
  EXPECT_EQ(WaitWindow(proc.Id, L"TFormMain", 0), nullptr) << "the main window must not show";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(proc.WaitExit(15000));
  EXPECT_EQ(Workspace(), L"") << "workspace left behind";
  DeleteTree(empty);
}

TEST_F(InstallerTest, FaultySectionIsReportedAndTheModelsBeforeItAreListed) {
  WriteUtf16File(Join(stage, L"Setup.ini"),
                 L"[TS2100]\r\nPrinterName=Tessaron TS-2100\r\nPrinterHWID=TessaronTS-2100A1B2\r\n"
                 L"DriverDir=\\Drivers\\TS2100\r\nINF.2K=TS2100.inf\r\nINF.X64=TS2100.inf\r\n"
                 L"[TS3200]\r\nPrinterName=Tessaron TS-3200\r\n"
                 L"[TS5400]\r\nPrinterName=Tessaron TS-5400\r\nPrinterHWID=X\r\n");
  Launch(stage);
  HWND box = WaitWindow(proc.Id, L"#32770", 20000);
  ASSERT_NE(box, nullptr);
  // The strings file of the system's language holds the reason; the record follows.
  EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)).rfind(L"TS3200 " + Shown(TUiText::PackageNoHardwareId) + L"\r\n", 0), 0u);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  HWND main = WaitWindow(proc.Id, L"TFormMain", 20000);
  ASSERT_NE(main, nullptr);
  HWND list = GetDlgItem(main, kList);
  for (int i = 0; i < 100 && ListCount(list) < 1; ++i) Sleep(50);
  Sleep(300);
  ASSERT_EQ(ListCount(list), 1);
  EXPECT_EQ(ListItemText(proc.Handle, list, 0), L"Tessaron TS-2100");
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(proc.WaitExit(15000));
}

TEST_F(InstallerTest, AHugeSectionNameGivesABoxWithinTheScreen) {
  const std::wstring name = L"Huge" + std::wstring(10000, L'N') + L"End";
  WriteUtf16File(Join(stage, L"Setup.ini"), L"[" + name + L"]\r\nPrinterName=Tessaron TS-9000\r\n");
  Launch(stage);
  HWND box = WaitWindow(proc.Id, L"#32770", 20000);
  ASSERT_NE(box, nullptr);
  RECT r{};
  GetWindowRect(box, &r);
  EXPECT_GE(r.left, 0);
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.right, GetSystemMetrics(SM_CXSCREEN)) << "box " << r.right - r.left << " pixels wide";
  EXPECT_LE(r.bottom, GetSystemMetrics(SM_CYSCREEN)) << "box " << r.bottom - r.top << " pixels high";
  std::printf("box of a 10,000-character name: %ld x %ld pixels\n", r.right - r.left, r.bottom - r.top);
  RECT ok{};
  GetWindowRect(GetDlgItem(box, IDOK), &ok);
  EXPECT_TRUE(ok.left >= r.left && ok.right <= r.right && ok.bottom <= r.bottom) << "the button is off the box";
  // The name keeps its start and its end; the sentence after it stays whole.
  const std::wstring shown = Text(GetDlgItem(box, 0xFFFF));
  EXPECT_EQ(shown.rfind(L"HugeNNN", 0), 0u) << shown.substr(0, 40).c_str();
  EXPECT_NE(shown.find(L"\u2026"), std::wstring::npos);
  EXPECT_NE(shown.find(L"NNNEnd "), std::wstring::npos);
  // Short: the name cut, then the line naming the install record.
  const size_t record = shown.rfind(L"\r\n");
  ASSERT_NE(record, std::wstring::npos);
  EXPECT_NE(shown.find(L"DriverSetup.log", record), std::wstring::npos);
  EXPECT_LT(record, 200u);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  HWND main = WaitWindow(proc.Id, L"TFormMain", 20000);
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(proc.WaitExit(15000));
}

TEST_F(InstallerTest, MakersBrandShowsTheSplashAndFadesTheWindowIn) {
  // The same program, its English strings file switched to the maker's own row.
  std::string strings = ReadBytes(Join(root, L"resources\\Strings_EN.ini"));
  const std::wstring from = L"OEMCOmpanyIndex=5", to = L"OEMCOmpanyIndex=1";
  const std::string fromBytes(reinterpret_cast<const char*>(from.data()), from.size() * 2);
  const std::string toBytes(reinterpret_cast<const char*>(to.data()), to.size() * 2);
  size_t at = strings.find(fromBytes);
  ASSERT_NE(at, std::string::npos);
  strings = Packed(strings.replace(at, fromBytes.size(), toBytes));
  const std::wstring exeCopy = Join(stage, L"DriverSetup.exe");
  HANDLE update = BeginUpdateResourceW(exeCopy.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  ASSERT_TRUE(UpdateResourceW(update, RT_RCDATA, L"RC_STRINGS_INI_EN", 0x409, strings.data(),
                              static_cast<DWORD>(strings.size())));
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));

  Launch(stage);
  HWND splash = WaitWindow(proc.Id, L"DSWelcomeSplash", 20000);
  ASSERT_NE(splash, nullptr);
  const DWORD shown = GetTickCount();
  HWND main = WaitWindow(proc.Id, L"TFormMain", 0, false);
  ASSERT_NE(main, nullptr);
  BYTE alpha = 255;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(main, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 0) << "the main window waits, fully transparent, behind the splash";

  while (IsWindow(splash) && IsWindowVisible(splash) && GetTickCount() - shown < 10000) Sleep(10);
  const DWORD splashMs = GetTickCount() - shown;
  EXPECT_GT(splashMs, 3500u);
  EXPECT_LT(splashMs, 7000u);

  // The fade-in: the alpha only grows, through the intermediate steps, and the
  // window ends opaque (no longer layered).
  std::vector<int> seen;
  const DWORD fadeStart = GetTickCount();
  while (GetTickCount() - fadeStart < 5000) {
    if (!(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYERED)) break;
    if (GetLayeredWindowAttributes(main, nullptr, &alpha, &flags) && (seen.empty() || seen.back() != alpha))
      seen.push_back(alpha);
    Sleep(5);
  }
  EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](int a) { return a >= 40 && a <= 250; }), 4);
  std::printf("splash shown for %lu ms; fade-in alpha values seen:", splashMs);
  for (int a : seen) std::printf(" %d", a);
  std::printf("\n");

  EXPECT_EQ(Text(GetDlgItem(main, kTitle)), L"Welcome to use Tessaron printers");
  HWND list = GetDlgItem(main, kList);
  for (int i = 0; i < 100 && ListCount(list) < 3; ++i) Sleep(50);
  EXPECT_EQ(ListCount(list), 3);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(proc.WaitExit(15000));
}

}  // namespace
