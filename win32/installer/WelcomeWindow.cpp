#include "win32/installer/WelcomeWindow.h"

#include <array>
#include <string>

#include "installer/uWelcome.h"
#include "sysutil/Exception.h"
#include "sysutil/Trace.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/WindowBase.h"

namespace {

constexpr UINT_PTR kShowTimerId = 1;
constexpr COLORREF kSkyBlue = 0xF0CAA6;
constexpr BYTE kAlpha = 221;

// Design layout in pixels at 96 DPI.
constexpr int kClientWidth = 620, kClientHeight = 289;
constexpr RECT kTitleRect = {8, 30, 8 + 604, 30 + 41};
constexpr RECT kLoadingRect = {431, 251, 431 + 185, 251 + 29};
constexpr RECT kPanelRect = {1, 125, 1 + 619, 125 + 93};
constexpr int kPictureLefts[TfrmWelcome::kPictureCount] = {16, 136, 256, 376, 496};
constexpr int kPictureTop = 10, kPictureWidth = 100, kPictureHeight = 72;
constexpr int kTitlePixels = 35, kSmallestTitlePixels = 14;

class WelcomeWindow final : public TWindowBase, public IWelcomeView {
 public:
  WelcomeWindow(HWND owner, unsigned titleColor);
  ~WelcomeWindow() override;
  void RunModal();

  void ShowPicture(int index) override;
  void SetTitle(const TString& text) override;
  void SetTitleColor(std::uint32_t color) override;
  void SetLoadingText(const TString& text) override { ::SetWindowTextW(m_Loading, W(text)); }
  void SetTimerInterval(std::uint32_t ms) override { ::SetTimer(m_Hwnd, kShowTimerId, ms, nullptr); }
  void StopTimer() override { ::KillTimer(m_Hwnd, kShowTimerId); }
  void Close() override { EndModal(); }

 private:
  struct Picture {
    TJpegImage Image;
    bool Loaded = false;
    bool Visible = false;
  };

  void OnTimer(UINT_PTR id) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  RECT PictureRect(int i) const;
  void Paint(HDC dc);

  HWND m_Title = nullptr;
  HWND m_Loading = nullptr;
  HFONT m_TitleFont = nullptr;  // replaced when a long title needs a smaller one
  HBRUSH m_Back = ::CreateSolidBrush(kSkyBlue);
  COLORREF m_TitleColor;
  std::array<Picture, TfrmWelcome::kPictureCount> m_Pictures;
  TfrmWelcome m_Form{*this};
};

WelcomeWindow::WelcomeWindow(HWND owner, unsigned titleColor) : m_TitleColor(titleColor) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  for (int i = 0; i < TfrmWelcome::kPictureCount; ++i) {
    try {
      m_Pictures[i].Image = LoadWelcomePicture(inst, i + 1);
      m_Pictures[i].Loaded = true;
    } catch (const Exception& e) {
      // A picture that cannot be shown leaves its box empty; the splash goes
      // on, and only the record tells.
      trace::Error(u"Splash picture " + text::IntToStr(i + 1) + u" not shown: " + e.Message());
    }
  }

  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hInstance = inst;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_APPSTARTING);
  wc.lpszClassName = kWelcomeSplashClass;
  RegisterClassOnce(wc);
  const int w = S(kClientWidth), h = S(kClientHeight);
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  if (!CreateAttached(WS_EX_TOPMOST | WS_EX_LAYERED, kWelcomeSplashClass, L"Welcome", WS_POPUP | WS_CLIPCHILDREN, x, y,
                      w, h, owner))
    return;
  ::SetLayeredWindowAttributes(m_Hwnd, 0, kAlpha, LWA_ALPHA);

  m_TitleFont = MakeFont(L"Tahoma", kTitlePixels, FW_BOLD);
  m_Title = CreateChild(L"STATIC", kWelcomeTitleId, kTitleRect, WS_VISIBLE | SS_NOPREFIX | SS_CENTER, m_TitleFont);
  m_Loading = CreateChild(L"STATIC", kWelcomeLoadingId, kLoadingRect, WS_VISIBLE | SS_NOPREFIX | SS_LEFT,
                          Font(L"Tahoma", 16, FW_NORMAL));

  m_Form.FormCreate();
  m_Form.SetTitleColor(titleColor);
}

WelcomeWindow::~WelcomeWindow() {
  if (m_Hwnd) {
    ::KillTimer(m_Hwnd, kShowTimerId);
    ::DestroyWindow(m_Hwnd);
  }
  if (m_TitleFont) ::DeleteObject(m_TitleFont);
  ::DeleteObject(m_Back);
}

RECT WelcomeWindow::PictureRect(int i) const {
  const int left = kPanelRect.left + kPictureLefts[i], top = kPanelRect.top + kPictureTop;
  return Scaled({left, top, left + kPictureWidth, top + kPictureHeight});
}

void WelcomeWindow::ShowPicture(int index) {
  if (index < 0 || index >= TfrmWelcome::kPictureCount || m_Pictures[index].Visible) return;
  m_Pictures[index].Visible = true;
  RECT r = PictureRect(index);
  ::InvalidateRect(m_Hwnd, &r, FALSE);
}

// The title keeps the label's fixed size; a title too long for one line at
// the design size is drawn smaller rather than cut off.
void WelcomeWindow::SetTitle(const TString& text) {
  RECT box;
  ::GetClientRect(m_Title, &box);
  HDC dc = ::GetDC(m_Title);
  for (int px = kTitlePixels; dc; --px) {
    HFONT font = MakeFont(L"Tahoma", px, FW_BOLD);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    if (size.cx <= box.right || px <= kSmallestTitlePixels) {
      ::SendMessageW(m_Title, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      if (m_TitleFont) ::DeleteObject(m_TitleFont);
      m_TitleFont = font;
      break;
    }
    ::DeleteObject(font);
  }
  if (dc) ::ReleaseDC(m_Title, dc);
  ::SetWindowTextW(m_Title, W(text));
}

void WelcomeWindow::SetTitleColor(std::uint32_t color) {
  m_TitleColor = color;
  ::InvalidateRect(m_Title, nullptr, TRUE);
}

void WelcomeWindow::RunModal() {
  if (!m_Hwnd) return;
  TWindowBase::RunModal([this] {
    ::ShowWindow(m_Hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(m_Hwnd);
  });
  if (m_Hwnd) ::KillTimer(m_Hwnd, kShowTimerId);
}

void WelcomeWindow::OnTimer(UINT_PTR id) {
  if (id == kShowTimerId && !ModalEnded()) m_Form.tmrShowTimer();
}

LRESULT WelcomeWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDBLCLK: {
      POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT first = PictureRect(0);
      if (m_Pictures[0].Visible && ::PtInRect(&first, pt)) m_Form.img1DblClick();
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      ::SetTextColor(dc, reinterpret_cast<HWND>(lp) == m_Title ? m_TitleColor : RGB(0, 0, 0));
      ::SetBkColor(dc, kSkyBlue);
      return reinterpret_cast<LRESULT>(m_Back);
    }
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(m_Hwnd, &ps);
      Paint(dc);
      ::EndPaint(m_Hwnd, &ps);
      return 0;
    }
    case WM_CLOSE:
      return 0;  // the splash closes itself
    case kWelcomeQueryPictures: {
      LRESULT bits = 0;
      for (int i = 0; i < TfrmWelcome::kPictureCount; ++i) {
        if (m_Pictures[i].Visible) bits |= LRESULT{1} << i;
        if (m_Pictures[i].Loaded) bits |= LRESULT{1} << (8 + i);
      }
      return bits;
    }
    default:
      return Default(msg, wp, lp);
  }
}

void WelcomeWindow::Paint(HDC target) {
  RECT client;
  ::GetClientRect(m_Hwnd, &client);
  // Drawn off screen first so that a new picture never flickers.
  HDC dc = ::CreateCompatibleDC(target);
  HBITMAP bmp = ::CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ old = ::SelectObject(dc, bmp);

  ::FillRect(dc, &client, m_Back);
  RECT panel = Scaled(kPanelRect);
  ::FillRect(dc, &panel, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::SetStretchBltMode(dc, HALFTONE);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  for (int i = 0; i < TfrmWelcome::kPictureCount; ++i) {
    const Picture& p = m_Pictures[i];
    if (!p.Visible || !p.Loaded) continue;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.Image.Width;
    bi.bmiHeader.biHeight = -p.Image.Height;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    RECT r = PictureRect(i);
    ::StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, p.Image.Width, p.Image.Height,
                    p.Image.Pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  }

  ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
}

}  // namespace

TJpegImage LoadWelcomePicture(HMODULE module, int number) {
  // IntToStr, not std::to_wstring: that one links the C runtime's wide
  // printf into the installer for this one name.
  const TString name = u"JPG_WELCOME_" + text::IntToStr(number);
  HRSRC res = ::FindResourceW(module, W(name), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
  const void* bytes = data ? ::LockResource(data) : nullptr;
  if (!bytes) throw Exception(u"splash picture resource missing: " + name);
  return DecodeJpeg(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(module, res)));
}

void ShowWelcomeSplash(HWND owner, unsigned titleColor) {
  WelcomeWindow splash(owner, titleColor);
  splash.RunModal();
}
