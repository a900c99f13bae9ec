// The real searching dialog under Wine: created hidden with its fixed texts,
// shown modally centred on the (hidden) main window, closed by Escape, the
// close box, Enter and either button; a screenshot (docs/screenshots/searching.png).
// clang-format off
#include "win32/WinApi.h"
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include "ScreenCapture.h"
#include "ScriptedModal.h"
#include "config/LangStrings.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/SearchingWindow.h"

namespace {

int S(int v) {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return MulDiv(v, dpi, 96);
}

class SearchingDialogWine : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Ports();  // the texts follow the system's language
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DSTestMainWindow";
    RegisterClassW(&wc);
    // Stands in for the main window, which the install hides while the dialog shows.
    main = CreateWindowExW(0, L"DSTestMainWindow", L"main", WS_OVERLAPPEDWINDOW, 200, 150, 700, 500, nullptr, nullptr,
                           wc.hInstance, nullptr);
    ASSERT_TRUE(main);
    dialog = CreateSearchingDialog(main);
    ASSERT_TRUE(dialog);
  }
  void TearDown() override { DestroyWindow(main); }  // takes the owned dialog with it

  // Shows the dialog modally; `act` runs once it is visible and has the
  // keyboard focus (Wine hands the focus over a little later), and should close it.
  // Returns the milliseconds from `act` to the dialog's hiding.
  double ShowAndClose(const std::function<void()>& act) {
    HideWatch hide(kSearchingDialogClass);
    bool acted = false;
    double start = NowMs(), actedAt = 0;
    RunScripted([&] { ShowSearchingDialogModal(dialog, main); },
                [&](double now) {
                  if (!acted && IsWindowVisible(dialog) && IsChild(dialog, GetFocus())) {
                    acted = true;
                    actedAt = NowMs();
                    act();
                  }
                  if (now - start > 5000) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // never hang the suite
                });
    // The install shows the dialog again only later; meanwhile Wine delivers
    // the focus changes of this closing, which would otherwise reach the next showing.
    PumpMessagesFor(300);
    return hide.HiddenAt() < 0 ? 1e9 : hide.HiddenAt() - actedAt;
  }

  HWND main = nullptr;
  HWND dialog = nullptr;
};

TEST_F(SearchingDialogWine, IsCreatedHiddenWithTheFixedTextsAndAFixedDialogFrame) {
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
  wchar_t caption[64] = {};
  GetWindowTextW(dialog, caption, 64);
  EXPECT_STREQ(caption, W(SystemUiText(TUiText::SearchingTitle)));
  EXPECT_EQ(ItemText(dialog, kSearchingTextId), W(SystemUiText(TUiText::SearchingText)));
  EXPECT_EQ(ItemText(dialog, kSearchingNotFoundId), W(SystemUiText(TUiText::SearchingNotFound)));
  EXPECT_EQ(ItemText(dialog, kSearchingReSearchId), W(SystemUiText(TUiText::SearchingReSearch)));
  EXPECT_EQ(ItemText(dialog, IDCANCEL), W(SystemUiText(TUiText::SearchingContinue)));
  EXPECT_EQ(SendDlgItemMessageW(dialog, kSearchingProgressId, PBM_GETPOS, 0, 0), 0);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, S(369));
  EXPECT_EQ(client.bottom, S(229));
  LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

TEST_F(SearchingDialogWine, ShowsModallyCentredOnTheHiddenMainWindowAndEscapeClosesIt) {
  RECT shownAt = {};
  bool mainDisabled = false;
  HWND focus = nullptr;
  std::wstring shotError;
  ShowAndClose([&] {
    GetWindowRect(dialog, &shownAt);
    mainDisabled = !IsWindowEnabled(main);
    focus = GetFocus();
    std::wstring dir = ScreenshotFolder();
    if (!dir.empty()) {
      RECT area = shownAt;
      InflateRect(&area, 12, 12);
      shotError = SaveScreenPng(area, dir + L"\\searching.png");
    }
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  });
  EXPECT_EQ(shotError, L"");
  EXPECT_NEAR((shownAt.left + shownAt.right) / 2, 200 + 700 / 2, 2);
  EXPECT_NEAR((shownAt.top + shownAt.bottom) / 2, 150 + 500 / 2, 2);
  EXPECT_TRUE(mainDisabled) << "modal: the main window takes no input meanwhile";
  EXPECT_EQ(focus, GetDlgItem(dialog, IDCANCEL));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(IsWindow(dialog)) << "hidden, not destroyed: it is shown again for the next install";
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(SearchingDialogWine, TheCloseBoxEnterAndBothButtonsCloseItToo) {
  struct Way {
    const char* Name;
    std::function<void(HWND)> Act;
  } ways[] = {
      {"close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Enter", [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); }},
      {"ReSearch", [](HWND d) { PostMessageW(GetDlgItem(d, kSearchingReSearchId), BM_CLICK, 0, 0); }},
      {"Cancel", [](HWND d) { PostMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }},
      {"Alt+R", [](HWND d) { PostMessageW(GetDlgItem(d, IDCANCEL), WM_SYSCHAR, L'r', 1 << 29); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.Name);
    double took = ShowAndClose([&] { way.Act(dialog); });
    EXPECT_LT(took, 500);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(main));
  }
  // The progress bar never moves: the dialog itself does not search.
  EXPECT_EQ(SendDlgItemMessageW(dialog, kSearchingProgressId, PBM_GETPOS, 0, 0), 0);
}

}  // namespace
