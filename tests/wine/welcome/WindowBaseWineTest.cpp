// The windows' base under Wine: whatever a message handler throws ends in the
// standard error box (the application's title as caption, the program's own
// error with its message, the record line last), and the window and the
// program go on.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "ScriptedModal.h"
#include "sysutil/Exception.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/WindowBase.h"

namespace {

constexpr wchar_t kTitle[] = L"Demo Printer Installer";

class ThrowingWindow final : public TWindowBase {
 public:
  std::function<void()> Throw;
  ThrowingWindow() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"DSTestThrowingWindow";
    RegisterClassOnce(wc);
    CreateAttached(0, wc.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr);
  }
  ~ThrowingWindow() override {
    if (m_Hwnd) DestroyWindow(m_Hwnd);
  }

 private:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP) Throw();
    return Default(msg, wp, lp);
  }
};

HWND ThreadMessageBox() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM out) {
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        if (std::wstring(cls) != L"#32770" || !IsWindowVisible(h)) return TRUE;
        *reinterpret_cast<HWND*>(out) = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring TextOf(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return buf;
}

}  // namespace

TEST(WindowBaseWine, EveryExceptionOfAHandlerEndsInTheStandardErrorBox) {
  struct Case {
    const char* Name;
    std::function<void()> Throw;
    std::wstring Text;  // first in the box; empty: any generic text
  };
  const Case cases[] = {
      {"own error", [] { throw Exception(u"Setup.ini: no model"); }, L"Setup.ini: no model"},
      {"allocation failure", [] { throw std::bad_alloc(); }, L""},
      {"anything else", [] { throw 42; }, L""},
  };
  InstallWin32Ports();  // the generic texts follow the system's language; the record
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ThrowingWindow window;
    ASSERT_TRUE(window.Hwnd());
    window.Throw = c.Throw;
    std::wstring caption, text;
    const double start = NowMs();
    RunScripted([&] { SendMessageW(window.Hwnd(), WM_APP, 0, 0); },
                [&](double now) {
                  if (HWND box = ThreadMessageBox(); box && caption.empty()) {
                    caption = TextOf(box);
                    text = TextOf(GetDlgItem(box, 0xFFFF));
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                  }
                  if (now - start > 5000) PostMessageW(ThreadMessageBox(), WM_COMMAND, IDOK, 0);  // never hang
                });
    EXPECT_EQ(caption, kTitle);
    EXPECT_EQ(text.rfind(c.Text, 0), 0u) << std::string(text.begin(), text.end());
    EXPECT_NE(text.substr(text.rfind(L'\n') + 1).find(L"DriverSetup.log"), std::wstring::npos)
        << "the record line last";
    EXPECT_TRUE(IsWindow(window.Hwnd()));  // the window goes on
  }
}
