#include "win32/installer/SearchingWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "installer/uSearching.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/CommonControls.h"

namespace {

// Design layout in pixels at 96 DPI.
constexpr int kClientWidth = 369, kClientHeight = 229;
constexpr RECT kSearchRect = {0, 0, 369, 25};
constexpr RECT kProgressRect = {8, 32, 8 + 347, 32 + 49};
constexpr RECT kNotFoundRect = {8, 87, 8 + 347, 87 + 93};
constexpr RECT kReSearchRect = {8, 186, 8 + 165, 186 + 36};
constexpr RECT kCancelRect = {190, 186, 190 + 165, 186 + 36};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

class SearchingWindow final : public ISearchingView {
 public:
  static HWND Create(HWND owner);
  static SearchingWindow* From(HWND hwnd) {
    return reinterpret_cast<SearchingWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  void RunModal(HWND centreOn);

  void SetCaption(const TString& t) override { ::SetWindowTextW(m_Hwnd, W(t)); }
  void SetSearchText(const TString& t) override { ::SetWindowTextW(Item(kSearchingTextId), W(t)); }
  void SetNotFoundText(const TString& t) override { ::SetWindowTextW(Item(kSearchingNotFoundId), W(t)); }
  void SetButtonCaptions(const TString& reSearch, const TString& cancel) override {
    ::SetWindowTextW(Item(kSearchingReSearchId), W(reSearch));
    ::SetWindowTextW(Item(IDCANCEL), W(cancel));
  }
  void SetProgress(int percent) override { ::SendMessageW(Item(kSearchingProgressId), PBM_SETPOS, percent, 0); }
  void CloseModal() override { m_Done = true; }

 private:
  explicit SearchingWindow(HWND hwnd) : m_Hwnd(hwnd) {}
  ~SearchingWindow();
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  HWND Item(int id) const { return ::GetDlgItem(m_Hwnd, id); }
  int S(int v) const { return ::MulDiv(v, m_Dpi, 96); }
  HWND Control(const wchar_t* cls, int id, const RECT& r, DWORD style, HFONT font);
  HFONT Font(int pixels, int weight) const {
    return ::CreateFontW(-S(pixels), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
  }
  void CentreOn(HWND other);

  HWND m_Hwnd;
  int m_Dpi = 96;
  HFONT m_SearchFont = nullptr;
  HFONT m_TextFont = nullptr;
  TFormSearching m_Form{*this};
  bool m_Done = false;
};

HWND SearchingWindow::Create(HWND owner) {
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  static ATOM atom = 0;
  if (!atom) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    if (win::CommonControls().InitCommonControlsEx) win::CommonControls().InitCommonControlsEx(&icc);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &SearchingWindow::WndProc;
    wc.hInstance = inst;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kSearchingDialogClass;
    atom = ::RegisterClassExW(&wc);
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  RECT r = {0, 0, ::MulDiv(kClientWidth, dpi, 96), ::MulDiv(kClientHeight, dpi, 96)};
  ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  HWND hwnd = ::CreateWindowExW(kExStyle, kSearchingDialogClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                r.right - r.left, r.bottom - r.top, owner, nullptr, inst, nullptr);
  if (!hwnd) return nullptr;
  SearchingWindow* self = From(hwnd);
  self->m_Dpi = dpi > 0 ? dpi : 96;
  self->CreateControls();
  self->m_Form.FormCreate();
  return hwnd;
}

SearchingWindow::~SearchingWindow() {
  if (m_SearchFont) ::DeleteObject(m_SearchFont);
  if (m_TextFont) ::DeleteObject(m_TextFont);
}

HWND SearchingWindow::Control(const wchar_t* cls, int id, const RECT& r, DWORD style, HFONT font) {
  HWND h = ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, S(r.left), S(r.top), S(r.right - r.left),
                             S(r.bottom - r.top), m_Hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (font) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

void SearchingWindow::CreateControls() {
  m_SearchFont = Font(16, FW_BOLD);
  m_TextFont = Font(13, FW_NORMAL);
  Control(L"STATIC", kSearchingTextId, kSearchRect, SS_CENTER | SS_NOPREFIX, m_SearchFont);
  Control(PROGRESS_CLASSW, kSearchingProgressId, kProgressRect, 0, nullptr);
  ::SendMessageW(Item(kSearchingProgressId), PBM_SETRANGE32, 0, 100);
  Control(L"STATIC", kSearchingNotFoundId, kNotFoundRect, SS_LEFT | SS_NOPREFIX, m_TextFont);
  Control(L"BUTTON", kSearchingReSearchId, kReSearchRect, WS_TABSTOP | BS_PUSHBUTTON, m_TextFont);
  Control(L"BUTTON", IDCANCEL, kCancelRect, WS_TABSTOP | BS_DEFPUSHBUTTON, m_TextFont);
}

void SearchingWindow::CentreOn(HWND other) {
  RECT me, around;
  ::GetWindowRect(m_Hwnd, &me);
  HMONITOR monitor = ::MonitorFromWindow(other ? other : m_Hwnd, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  ::GetMonitorInfoW(monitor, &mi);
  if (!other || !::GetWindowRect(other, &around)) around = mi.rcWork;
  const int w = me.right - me.left, h = me.bottom - me.top;
  int x = around.left + (around.right - around.left - w) / 2;
  int y = around.top + (around.bottom - around.top - h) / 2;
  // Keep the whole dialog on the screen, even over a window partly off it.
  x = std::max<int>(mi.rcWork.left, std::min<int>(x, mi.rcWork.right - w));
  y = std::max<int>(mi.rcWork.top, std::min<int>(y, mi.rcWork.bottom - h));
  ::SetWindowPos(m_Hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SearchingWindow::RunModal(HWND centreOn) {
  const HWND hwnd = m_Hwnd;  // `this` goes with the window if the window is destroyed meanwhile
  m_Done = false;
  m_Form.FormShow();
  CentreOn(centreOn);
  HWND owner = ::GetWindow(hwnd, GW_OWNER);
  const bool ownerEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd, SW_SHOW);
  ::SetForegroundWindow(hwnd);
  ::SetFocus(::GetDlgItem(hwnd, IDCANCEL));
  MSG msg;
  while (::IsWindow(hwnd) && !m_Done) {
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT belongs to the outer loop
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (::IsDialogMessageW(hwnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // The owner gets the activation back before the dialog hides.
  if (ownerEnabled && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  if (::IsWindow(hwnd)) ::ShowWindow(hwnd, SW_HIDE);
}

LRESULT CALLBACK SearchingWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new SearchingWindow(hwnd)));
  SearchingWindow* self = From(hwnd);
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->m_Done = true;
    delete self;
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT SearchingWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDCANCEL) m_Form.btnCancelSearchClick();
        if (LOWORD(wp) == kSearchingReSearchId) m_Form.btnReSearchClick();
      }
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case WM_CLOSE:  // the close box
      m_Form.btnCancelSearchClick();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      bool red = reinterpret_cast<HWND>(lp) == Item(kSearchingNotFoundId);
      ::SetTextColor(dc, red ? RGB(255, 0, 0) : ::GetSysColor(COLOR_WINDOWTEXT));
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
      return ::DefWindowProcW(m_Hwnd, msg, wp, lp);
  }
}

}  // namespace

HWND CreateSearchingDialog(HWND owner) { return SearchingWindow::Create(owner); }

void ShowSearchingDialogModal(HWND dialog, HWND centreOn) {
  if (SearchingWindow* self = dialog ? SearchingWindow::From(dialog) : nullptr) self->RunModal(centreOn);
}
