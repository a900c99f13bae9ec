#include "win32/installer/SearchingWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "installer/uSearching.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/CommonControls.h"
#include "win32/installer/WindowBase.h"

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

// Lives as long as its window: it deletes itself when the window is gone.
class SearchingWindow final : public TWindowBase, public ISearchingView {
 public:
  static HWND Create(HWND owner);
  static SearchingWindow* From(HWND hwnd);
  void RunModal(HWND centreOn);

  void SetCaption(const TString& t) override { ::SetWindowTextW(m_Hwnd, W(t)); }
  void SetSearchText(const TString& t) override { ::SetWindowTextW(Item(kSearchingTextId), W(t)); }
  void SetNotFoundText(const TString& t) override { ::SetWindowTextW(Item(kSearchingNotFoundId), W(t)); }
  void SetButtonCaptions(const TString& reSearch, const TString& cancel) override {
    ::SetWindowTextW(Item(kSearchingReSearchId), W(reSearch));
    ::SetWindowTextW(Item(IDCANCEL), W(cancel));
  }
  void SetProgress(int percent) override { ::SendMessageW(Item(kSearchingProgressId), PBM_SETPOS, percent, 0); }
  void CloseModal() override { EndModal(); }

 private:
  SearchingWindow() = default;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreTranslate(MSG& msg) override { return ::IsDialogMessageW(m_Hwnd, &msg) != FALSE; }
  void OnDetached() override {
    if (m_OwnsItself) delete this;
  }
  void CreateControls();
  HWND Item(int id) const { return ::GetDlgItem(m_Hwnd, id); }
  void CentreOn(HWND other);

  TFormSearching m_Form{*this};
  bool m_OwnsItself = false;
};

SearchingWindow* SearchingWindow::From(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  if (std::wstring_view(name) != kSearchingDialogClass) return nullptr;
  return dynamic_cast<SearchingWindow*>(reinterpret_cast<TWindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
}

HWND SearchingWindow::Create(HWND owner) {
  static bool registered = false;
  if (!registered) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    if (win::CommonControls().InitCommonControlsEx) win::CommonControls().InitCommonControlsEx(&icc);
    registered = true;
  }
  WNDCLASSEXW wc = {};
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kSearchingDialogClass;
  RegisterClassOnce(wc);
  auto* self = new SearchingWindow();
  RECT r = {0, 0, self->S(kClientWidth), self->S(kClientHeight)};
  ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  HWND hwnd = self->CreateAttached(kExStyle, kSearchingDialogClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                   r.right - r.left, r.bottom - r.top, owner);
  if (!hwnd) {
    delete self;  // never attached, or detached again before creation ended
    return nullptr;
  }
  self->m_OwnsItself = true;
  self->CreateControls();
  self->m_Form.FormCreate();
  return hwnd;
}

void SearchingWindow::CreateControls() {
  HFONT searchFont = Font(L"Tahoma", 16, FW_BOLD);
  HFONT textFont = Font(L"Tahoma", 13, FW_NORMAL);
  CreateChild(L"STATIC", kSearchingTextId, kSearchRect, WS_VISIBLE | SS_CENTER | SS_NOPREFIX, searchFont);
  CreateChild(PROGRESS_CLASSW, kSearchingProgressId, kProgressRect, WS_VISIBLE, nullptr);
  ::SendMessageW(Item(kSearchingProgressId), PBM_SETRANGE32, 0, 100);
  CreateChild(L"STATIC", kSearchingNotFoundId, kNotFoundRect, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, textFont);
  CreateChild(L"BUTTON", kSearchingReSearchId, kReSearchRect, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, textFont);
  CreateChild(L"BUTTON", IDCANCEL, kCancelRect, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, textFont);
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
  m_Form.FormShow();
  CentreOn(centreOn);
  TWindowBase::RunModal([this] {
    ::ShowWindow(m_Hwnd, SW_SHOW);
    ::SetForegroundWindow(m_Hwnd);
    ::SetFocus(Item(IDCANCEL));
  });
}

void SearchingWindow::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return;
  if (id == IDCANCEL) m_Form.btnCancelSearchClick();
  if (id == kSearchingReSearchId) m_Form.btnReSearchClick();
}

LRESULT SearchingWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
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
      return Default(msg, wp, lp);
  }
}

}  // namespace

HWND CreateSearchingDialog(HWND owner) { return SearchingWindow::Create(owner); }

void ShowSearchingDialogModal(HWND dialog, HWND centreOn) {
  if (SearchingWindow* self = dialog ? SearchingWindow::From(dialog) : nullptr) self->RunModal(centreOn);
}
