#include "win32/installer/MainWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/installer/CommonControls.h"

namespace {

constexpr wchar_t kClassName[] = L"TFormMain";
constexpr UINT WM_FIRST_ACTIVATE = WM_APP + 1;
// What the command line asks for, once the window exists.
constexpr UINT WM_RUN_COMMAND = WM_APP + 2;

}  // namespace

TMainWindow::TMainWindow(HINSTANCE instance) : m_Instance(instance), m_Form(*this) {
  for (const TControlSpec& spec : kMainDesign) C(spec.Control).Design = {spec.Left, spec.Top, spec.Right, spec.Bottom};
}

TMainWindow::~TMainWindow() {
  if (m_Hwnd) DestroyWindow(m_Hwnd);
  if (m_Logo) DeleteObject(m_Logo);
  if (m_Images) win::CommonControls().ImageList_Destroy(m_Images);
  if (m_InfoBrush) DeleteObject(m_InfoBrush);
  if (m_TitleBrush) DeleteObject(m_TitleBrush);
}

HWND TMainWindow::Create() {
  WNDCLASSEXW wc{};
  wc.hInstance = m_Instance;
  wc.hIcon = LoadIconW(m_Instance, L"MAINICON");
  wc.hIconSm = static_cast<HICON>(
      LoadImageW(m_Instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassOnce(wc);

  const DWORD style = WS_OVERLAPPEDWINDOW;
  const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  RECT r{0, 0, S(kMainDesignWidth), S(kMainDesignHeight)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + std::max(0L, (work.right - work.left - w) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);

  if (!CreateAttached(exStyle, kClassName, L"", style, x, y, w, h, nullptr)) return nullptr;
  m_Form.FormCreate();
  if (!m_Terminating) {
    // A run without a person, a removal or a listing keeps the window hidden.
    if (m_Form.ShowsWindow()) {
      ShowWindow(m_Hwnd, SW_SHOW);
      UpdateWindow(m_Hwnd);
    }
    PostMessageW(m_Hwnd, WM_RUN_COMMAND, 0, 0);
  }
  return m_Hwnd;
}

bool TMainWindow::PreTranslate(MSG& msg) {
  if (!m_Hwnd || !IsWindow(m_Hwnd)) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (top != m_Hwnd) return false;
  return IsDialogMessageW(m_Hwnd, &msg) != FALSE;
}

void TMainWindow::OnCommand(int id, int code, HWND) {
  if (id == MainControlId(TMainControl::btnExit) && code == BN_CLICKED) {
    PostMessageW(m_Hwnd, WM_CLOSE, 0, 0);
  } else if (id == MainControlId(TMainControl::btnStart) && code == BN_CLICKED) {
    m_Form.btnStartClick();
  } else if (code == STN_CLICKED) {
    const int index = id - kMainControlIdBase;
    if (index >= 0 && index < kControls) m_Ctl[index].Link.Click();
  }
}

LRESULT TMainWindow::OnNotify(NMHDR& hdr) {
  if (hdr.hwndFrom != C(TMainControl::lvPrinters).Hwnd) return 0;
  if (hdr.code == LVN_ITEMCHANGED) {
    const auto& nm = reinterpret_cast<const NMLISTVIEW&>(hdr);
    if ((nm.uChanged & LVIF_STATE) && ((nm.uOldState ^ nm.uNewState) & LVIS_SELECTED) && nm.iItem >= 0)
      m_Form.lvPrintersSelectItem(nm.iItem, (nm.uNewState & LVIS_SELECTED) != 0);
    m_Form.lvPrintersChange();
  }
  if (hdr.code == NM_DBLCLK && reinterpret_cast<const NMITEMACTIVATE&>(hdr).iItem >= 0) m_Form.lvPrintersDblClick();
  return 0;
}

void TMainWindow::OnTimer(UINT_PTR id) {
  if (id == kTmrInstallingHints) m_Form.tmrInstallingHintsTimer();
  if (id == kTmrSetup64Error) m_Form.tmrSetup64ErrorTimer();
}

void TMainWindow::OnSize(int, int) { Layout(); }

LRESULT TMainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {S(kMainMinWidth), S(kMainMinHeight)};
      return 0;
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_CTLCOLORSTATIC:
      return ControlColors(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !m_ActivatePosted) {
        m_ActivatePosted = true;
        PostMessageW(m_Hwnd, WM_FIRST_ACTIVATE, 0, 0);
      }
      break;
    case WM_FIRST_ACTIVATE:
      m_Form.FormActivate();
      // Arrow keys move through the models right away.
      if (IsWindowVisible(m_Hwnd)) SetFocus(C(TMainControl::lvPrinters).Hwnd);
      return 0;
    case WM_RUN_COMMAND:
      m_Form.RunCommand();
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(MainControlId(TMainControl::btnStart), DC_HASDEFID);
    case TFormMain::kMsgInstallFail:
    case TFormMain::kMsgInstallSucc:
      // The host sends these with WParam 0; the dialog manager's messages
      // of the same numbers carry a control ID there.
      if (wp == 0) m_Form.HostMessage(msg, static_cast<std::uint32_t>(lp));
      return 0;
    case WM_SETCURSOR:
      if (m_Busy && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      DestroyWindow(m_Hwnd);
      return 0;
    case WM_DESTROY:
      m_Form.FormDestroy();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

// The white title band with its dividing line, and the dialog face below.
void TMainWindow::PaintBackground(HDC dc) {
  RECT rc;
  GetClientRect(m_Hwnd, &rc);
  RECT title = rc;
  title.bottom = S(kMainTitleHeight);
  FillRect(dc, &title, m_TitleBrush);
  RECT rest = rc;
  rest.top = title.bottom;
  FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, title.bottom - 1, nullptr);
  LineTo(dc, rc.right, title.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(pen);
}
