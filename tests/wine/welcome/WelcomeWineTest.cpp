// The real welcome splash under Wine: its window, the pictures decoded with the
// cross-built libjpeg, its timing with and without a double click on the first
// picture, and a screenshot (docs/screenshots/splash.png).
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "ScreenCapture.h"
#include "ScriptedModal.h"
#include "config/LangStrings.h"
#include "platform/IFileSystem.h"
#include "sysutil/Exception.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/installer/WelcomeWindow.h"

namespace {

int Dpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}
int S(int v) { return MulDiv(v, Dpi(), 96); }

// What the script saw of one showing of the splash.
struct SplashRun {
  double Started = 0;    // ShowWelcomeSplash called
  double Appeared = -1;  // first seen visible
  double Clicked = -1;   // double click sent
  double Closed = 0;     // the splash started hiding
  struct Change {
    double At;  // after Appeared
    std::wstring Loading;
    LRESULT Pictures;
  };
  std::vector<Change> Changes;
};

class WelcomeSplashWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstallWin32Ports();
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const TString dir = T(tmp) + u"ds-welcome-test";
    const TString file = dir + u"\\Strings.ini";
    Fs().CreateDirectory(dir);
    // The maker's own brand, row 1, in a UTF-16LE strings file.
    const TString ini =
        u"[Settings]\r\nSetupIni=Setup.ini\r\nOEMCOmpanyIndex=1\r\n"
        u"[OEMCOmpany]\r\nName.1=Tessaron\r\nLogo.1=BM_LOGO_TESSARON\r\nColor.1=800080\r\n"
        u"MainTitle.1=Welcome to use Tessaron printers\r\n"
        u"Name.5=Other Brand\r\nMainTitle.5=Other title\r\n"
        u"[DialogText]\r\nLoading=Loading\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : ini) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    ASSERT_TRUE(Fs().WriteFile(file, bytes));
    g_LangOptions.LoadFromFile(file);
  }

  static TString T(const wchar_t* s) { return TString(reinterpret_cast<const char16_t*>(s)); }

  // Shows the splash; `onSight` runs once when it is first seen, `onChange`
  // after each change of the loading text.
  SplashRun Show(const std::function<void(HWND, SplashRun&)>& onSight,
                 const std::function<void(HWND, SplashRun&)>& onChange = {}) {
    SplashRun run;
    std::wstring last;
    HideWatch hide(kWelcomeSplashClass);
    run.Started = NowMs();
    RunScripted([] { ShowWelcomeSplash(nullptr, BrandColor(g_strInstaller.OEMColor)); },
                [&](double now) {
                  HWND h = FindWindowW(kWelcomeSplashClass, nullptr);
                  if (!h || !IsWindowVisible(h)) return;
                  if (run.Appeared < 0) {
                    run.Appeared = now;
                    if (onSight) onSight(h, run);
                  }
                  std::wstring text = ItemText(h, kWelcomeLoadingId);
                  if (text != last) {
                    last = text;
                    run.Changes.push_back({now - run.Appeared, text, SendMessageW(h, kWelcomeQueryPictures, 0, 0)});
                    if (onChange) onChange(h, run);
                  }
                  if (now - run.Appeared > 10000) DestroyWindow(h);  // never hang the suite
                });
    run.Closed = hide.HiddenAt();
    return run;
  }

  static POINT FirstPictureCentre(HWND h) {
    POINT p = {S(1 + 16 + 50), S(125 + 10 + 36)};
    ClientToScreen(h, &p);
    return p;
  }
};

TEST_F(WelcomeSplashWine, EmbeddedPicturesDecodeWithTheCrossBuiltLibjpeg) {
  for (int i = 1; i <= 5; ++i) {
    TJpegImage img = LoadWelcomePicture(GetModuleHandleW(nullptr), i);
    EXPECT_EQ(img.Width, 200);
    EXPECT_EQ(img.Height, 144);
  }
  // Orange label printer (#f28c28) in B, G, R, A order.
  TJpegImage label = LoadWelcomePicture(GetModuleHandleW(nullptr), 4);
  const std::uint8_t* px = &label.Pixels[(80u * 200u + 60u) * 4u];
  EXPECT_NEAR(px[0], 0x28, 12);
  EXPECT_NEAR(px[1], 0x8c, 12);
  EXPECT_NEAR(px[2], 0xf2, 12);
  EXPECT_EQ(px[3], 255);
  EXPECT_THROW(LoadWelcomePicture(GetModuleHandleW(nullptr), 6), Exception);
}

TEST_F(WelcomeSplashWine, CorruptDataFailsCleanlyThroughLibjpegsErrorJump) {
  HRSRC r = FindResourceW(nullptr, L"JPG_WELCOME_1", MAKEINTRESOURCEW(10));
  ASSERT_TRUE(r);
  std::string good(static_cast<const char*>(LockResource(LoadResource(nullptr, r))), SizeofResource(nullptr, r));
  for (int round = 0; round < 50; ++round) {  // the jump must not leak or corrupt anything
    try {
      DecodeJpeg(good.substr(0, good.size() / 2));
      ADD_FAILURE() << "a truncated picture decoded";
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find("Premature end of JPEG file"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(DecodeJpeg("not a picture at all"), Exception);
  EXPECT_EQ(DecodeJpeg(good).Width, 200);
}

TEST_F(WelcomeSplashWine, MakersSplashShowsPicturesLeftToRightAndClosesAfterAbout4700ms) {
  HWND seen = nullptr;
  bool shot = false;
  std::wstring title, caption, shotError;
  DWORD exStyle = 0, style = 0;
  BYTE alpha = 0;
  RECT client = {}, window = {};
  SIZE titleSize = {};
  RECT titleBox = {};
  HCURSOR cursor = nullptr;
  SplashRun run = Show(
      [&](HWND h, SplashRun&) {
        seen = h;
        title = ItemText(h, kWelcomeTitleId);
        HWND label = GetDlgItem(h, kWelcomeTitleId);
        GetClientRect(label, &titleBox);
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &titleSize);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        wchar_t buf[64] = {};
        GetWindowTextW(h, buf, 64);
        caption = buf;
        exStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
        style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
        DWORD flags = 0;
        GetLayeredWindowAttributes(h, nullptr, &alpha, &flags);
        GetClientRect(h, &client);
        GetWindowRect(h, &window);
        cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(h, GCLP_HCURSOR));
      },
      [&](HWND h, SplashRun& r) {
        if (shot || r.Changes.back().Loading != L"Loading .....") return;
        shot = true;
        std::wstring dir = ScreenshotFolder();
        if (dir.empty()) return;
        RECT area;
        GetWindowRect(h, &area);
        InflateRect(&area, 12, 12);
        shotError = SaveScreenPng(area, dir + L"\\splash.png");
      });

  ASSERT_TRUE(seen);
  EXPECT_EQ(title, L"Welcome to use Tessaron printers");
  EXPECT_LE(titleSize.cx, titleBox.right) << "the whole title fits on the label's one line";
  EXPECT_GE(titleSize.cy, S(14));
  EXPECT_EQ(caption, L"Welcome");
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_EQ(alpha, 221);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_EQ(client.right, S(620));
  EXPECT_EQ(client.bottom, S(289));
  EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  EXPECT_EQ(cursor, LoadCursorW(nullptr, IDC_APPSTARTING));
  EXPECT_FALSE(IsWindow(seen)) << "the splash is destroyed when it returns";
  EXPECT_EQ(shotError, L"");

  // The loading text grows one full stop per tick while the pictures appear.
  const wchar_t* texts[] = {L"Loading", L"Loading .", L"Loading ..", L"Loading ...", L"Loading ....", L"Loading ....."};
  const double due[] = {0, 200, 1100, 2000, 2900, 3800};
  const LRESULT visible[] = {0x01, 0x01, 0x03, 0x07, 0x0F, 0x1F};
  ASSERT_EQ(run.Changes.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(run.Changes[i].Loading, texts[i]);
    EXPECT_EQ(run.Changes[i].Pictures, visible[i] | 0x1F00) << "visible pictures | decoded pictures << 8";
    EXPECT_NEAR(run.Changes[i].At, due[i], 250);
  }
  const double shown = run.Closed - run.Appeared;
  std::printf("splash: appeared %.0f ms after the call, closed %.0f ms after it appeared (%.0f ms after the call)\n",
              run.Appeared - run.Started, shown, run.Closed - run.Started);
  RecordProperty("splash_shown_ms", static_cast<int>(shown));
  EXPECT_NEAR(shown, 4700, 400);
}

TEST_F(WelcomeSplashWine, DoubleClickOnTheFirstPictureAtTheStartClosesItEarly) {
  SplashRun run = Show([&](HWND h, SplashRun& r) {
    DoubleClickAt(FirstPictureCentre(h));
    r.Clicked = NowMs();
  });
  ASSERT_GE(run.Clicked, 0);
  ASSERT_FALSE(run.Changes.empty());
  EXPECT_EQ(run.Changes.back().Loading, L"Loading .....") << "every tick still runs, only faster";
  EXPECT_EQ(run.Changes.back().Pictures, 0x1F1F);
  const double shown = run.Closed - run.Appeared;
  std::printf(
      "splash, double click at once: clicked %.0f ms after it appeared, closed %.0f ms after the click, "
      "%.0f ms after it appeared\n",
      run.Clicked - run.Appeared, run.Closed - run.Clicked, shown);
  RecordProperty("splash_dblclick_at_start_ms", static_cast<int>(shown));
  EXPECT_GT(shown, 200);
  EXPECT_LT(shown, 800);
}

TEST_F(WelcomeSplashWine, DoubleClickAfterTheFirstTickClosesItAbout450msAfterItAppeared) {
  SplashRun run = Show({}, [&](HWND h, SplashRun& r) {
    if (r.Clicked >= 0 || r.Changes.back().Loading != L"Loading .") return;
    DoubleClickAt(FirstPictureCentre(h));
    r.Clicked = NowMs();
  });
  ASSERT_GE(run.Clicked, 0);
  EXPECT_EQ(run.Changes.back().Loading, L"Loading .....");
  const double shown = run.Closed - run.Appeared;
  std::printf(
      "splash, double click after the first tick: clicked %.0f ms after it appeared, closed %.0f ms after "
      "the click, %.0f ms after it appeared\n",
      run.Clicked - run.Appeared, run.Closed - run.Clicked, shown);
  RecordProperty("splash_dblclick_after_first_tick_ms", static_cast<int>(shown));
  EXPECT_NEAR(shown, 450, 250);
}

}  // namespace
