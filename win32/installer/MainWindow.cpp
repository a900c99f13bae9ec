#include "win32/installer/MainWindow.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "installer/DibFile.h"
#include "installer/PackedData.h"
#include "platform/IResources.h"
#include "sysutil/BoxText.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/CommonControls.h"

#include "win32/installer/SearchingWindow.h"
#include "win32/installer/WelcomeWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"TFormMain";
constexpr UINT WM_FIRST_ACTIVATE = WM_APP + 1;
constexpr UINT_PTR kTmrInstallingHints = 1;
constexpr UINT_PTR kTmrSetup64Error = 2;
constexpr int kDesignWidth = 640, kDesignHeight = 469, kTitleHeight = 99, kStatusHeight = 19;
constexpr int kIdBase = 100;

int Id(TMainControl c) { return kIdBase + static_cast<int>(c); }

bool IsLink(TMainControl c) {
  return c == TMainControl::lblReadGuide || c == TMainControl::lblReadQuickGuide || c == TMainControl::lblReadManual;
}

}  // namespace

TMainWindow::TMainWindow(HINSTANCE instance) : m_Instance(instance), m_Form(*this) {
  m_Ctl[static_cast<int>(TMainControl::PnlTitle)].Design = {0, 0, kDesignWidth, kTitleHeight};
  m_Ctl[static_cast<int>(TMainControl::imgLogo)].Design = {12, 9, 12 + 194, 9 + 64};
  m_Ctl[static_cast<int>(TMainControl::lblMainTitle)].Design = {248, 9, 248 + 399, 9 + 52};
  m_Ctl[static_cast<int>(TMainControl::lblReadGuide)].Design = {248, 67, 248 + 100, 67 + 20};
  m_Ctl[static_cast<int>(TMainControl::lblReadQuickGuide)].Design = {359, 67, 359 + 110, 67 + 20};
  m_Ctl[static_cast<int>(TMainControl::lblReadManual)].Design = {484, 67, 484 + 100, 67 + 20};
  m_Ctl[static_cast<int>(TMainControl::PnlPrinters)].Design = {0, kTitleHeight, kDesignWidth,
                                                               kDesignHeight - kStatusHeight};
  m_Ctl[static_cast<int>(TMainControl::grpPrinters)].Design = {6, kTitleHeight + 12, 6 + 627, kTitleHeight + 12 + 282};
  m_Ctl[static_cast<int>(TMainControl::lvPrinters)].Design = {12, kTitleHeight + 35, 12 + 614, kTitleHeight + 35 + 253};
  m_Ctl[static_cast<int>(TMainControl::edtInfos)].Design = {12, kTitleHeight + 300, 12 + 335, kTitleHeight + 324};
  m_Ctl[static_cast<int>(TMainControl::btnStart)].Design = {377, kTitleHeight + 300, 377 + 113, kTitleHeight + 335};
  m_Ctl[static_cast<int>(TMainControl::btnExit)].Design = {512, kTitleHeight + 300, 512 + 113, kTitleHeight + 335};
  m_Ctl[static_cast<int>(TMainControl::statBarInfo)].Design = {0, kDesignHeight - kStatusHeight, kDesignWidth,
                                                               kDesignHeight};
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
  RECT r{0, 0, S(kDesignWidth), S(kDesignHeight)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + std::max(0L, (work.right - work.left - w) / 2);
  const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);

  if (!CreateAttached(exStyle, kClassName, L"", style, x, y, w, h, nullptr)) return nullptr;
  m_Form.FormCreate();
  if (!m_Terminating) {
    ShowWindow(m_Hwnd, SW_SHOW);
    UpdateWindow(m_Hwnd);
  }
  return m_Hwnd;
}

void TMainWindow::CreateControls() {
  HFONT base = Font(L"Tahoma", 11, FW_NORMAL);
  HFONT printers = Font(L"Tahoma", 13, FW_NORMAL);
  m_TitleBrush = CreateSolidBrush(RGB(255, 255, 255));
  m_InfoBrush = CreateSolidBrush(GetSysColor(COLOR_INFOBK));

  auto make = [&](TMainControl c, const wchar_t* cls, const wchar_t* textValue, DWORD style, DWORD ex, HFONT font) {
    return C(c).Hwnd = CreateChild(cls, Id(c), C(c).Design, style, font, textValue, ex);
  };

  make(TMainControl::imgLogo, L"STATIC", L"", WS_VISIBLE | SS_BITMAP | SS_NOTIFY, 0, base);
  make(TMainControl::lblMainTitle, L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, Font(L"Tahoma", 21, FW_BOLD));
  HFONT linkFont = Font(L"Tahoma", 16, FW_NORMAL);
  make(TMainControl::lblReadGuide, L"STATIC", L"Install Guide", WS_VISIBLE | SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0,
       linkFont);
  make(TMainControl::lblReadQuickGuide, L"STATIC", L"Quick Guide", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, linkFont);
  make(TMainControl::lblReadManual, L"STATIC", L"User Manual", WS_VISIBLE | SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0,
       linkFont);
  HWND grp = make(TMainControl::grpPrinters, L"BUTTON", L"Select Printer", WS_VISIBLE | BS_GROUPBOX, 0,
                  Font(L"Tahoma", 16, FW_NORMAL));
  {  // without visual styles, so that the branding colour reaches the caption
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    win::SystemLibrary uxtheme(L"uxtheme.dll");
    if (auto setTheme = uxtheme.Entry<SetWindowThemeFn>("SetWindowTheme")) setTheme(grp, L"", L"");
  }
  HWND lv = make(TMainControl::lvPrinters, WC_LISTVIEWW, L"",
                 WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE,
                 WS_EX_CLIENTEDGE, printers);
  make(TMainControl::edtInfos, L"EDIT", L"", WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
       Font(L"MS Sans Serif", 13, FW_BOLD));
  make(TMainControl::btnStart, L"BUTTON", L"Install", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, printers);
  make(TMainControl::btnExit, L"BUTTON", L"E&xit", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, printers);
  HWND status = make(TMainControl::statBarInfo, STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, 0, base);
  int parts[1] = {-1};  // one panel across the whole bar
  SendMessageW(status, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

  const int icon = S(32);
  const win::CommonControlsApi& cc = win::CommonControls();
  m_Images = cc.ImageList_Create ? cc.ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 1, 1) : nullptr;
  HICON printer = static_cast<HICON>(LoadImageW(m_Instance, L"ICO_PRINTER", IMAGE_ICON, icon, icon, 0));
  if (m_Images) cc.ImageList_ReplaceIcon(m_Images, -1, printer);
  DestroyIcon(printer);
  ListView_SetImageList(lv, m_Images, LVSIL_NORMAL);

  // Hover effects and the hand cursor of the links and the logo.
  for (TMainControl c : {TMainControl::imgLogo, TMainControl::lblReadGuide, TMainControl::lblReadQuickGuide,
                         TMainControl::lblReadManual})
    if (cc.SetWindowSubclass)
      cc.SetWindowSubclass(C(c).Hwnd, &TMainWindow::LinkProc, 1, reinterpret_cast<DWORD_PTR>(this));

  // Labels size themselves to their design-time captions.
  for (TMainControl c : {TMainControl::lblReadGuide, TMainControl::lblReadQuickGuide, TMainControl::lblReadManual})
    SetCaption(c, Caption(c));

  m_Tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_NOANIMATE | TTS_NOFADE, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_Hwnd, nullptr, m_Instance, nullptr);
  for (TMainControl c : {TMainControl::imgLogo, TMainControl::lblReadGuide, TMainControl::lblReadQuickGuide,
                         TMainControl::lblReadManual}) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = m_Hwnd;
    ti.uId = reinterpret_cast<UINT_PTR>(C(c).Hwnd);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(m_Tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  SendMessageW(m_Tooltip, TTM_SETMAXTIPWIDTH, 0, S(500));
  Layout();
}

void TMainWindow::Layout() {
  RECT rc;
  GetClientRect(m_Hwnd, &rc);
  const int dx = rc.right - S(kDesignWidth), dy = rc.bottom - S(kDesignHeight);
  auto place = [&](TMainControl c, bool stretchX, bool stretchY, bool moveX, bool moveY) {
    const Control& ctl = C(c);
    if (!ctl.Hwnd) return;
    int x = S(ctl.Design.left) + (moveX ? dx : 0), y = S(ctl.Design.top) + (moveY ? dy : 0);
    int w = S(ctl.Design.right - ctl.Design.left) + (stretchX ? dx : 0);
    int h = S(ctl.Design.bottom - ctl.Design.top) + (stretchY ? dy : 0);
    SetWindowPos(ctl.Hwnd, nullptr, x, y, std::max(w, 0), std::max(h, 0), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(TMainControl::grpPrinters, true, true, false, false);
  place(TMainControl::lvPrinters, true, true, false, false);
  place(TMainControl::edtInfos, true, false, false, true);
  place(TMainControl::btnStart, false, false, true, true);
  place(TMainControl::btnExit, false, false, true, true);
  if (C(TMainControl::statBarInfo).Hwnd) SendMessageW(C(TMainControl::statBarInfo).Hwnd, WM_SIZE, 0, 0);
  if (C(TMainControl::lvPrinters).Hwnd) SendMessageW(C(TMainControl::lvPrinters).Hwnd, LVM_ARRANGE, LVA_DEFAULT, 0);
}

TMainControl TMainWindow::ControlOf(HWND h) const {
  for (int i = 0; i < kControls; ++i)
    if (m_Ctl[i].Hwnd == h) return static_cast<TMainControl>(i);
  return TMainControl::PnlTitle;
}

LRESULT CALLBACK TMainWindow::LinkProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TMainWindow*>(data);
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, self->m_Busy ? IDC_WAIT : IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (self->m_Hover != h) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, h, 0};
        TrackMouseEvent(&t);
        self->m_Hover = h;
      }
      self->ApplyLabelHover(h, true);
      break;
    case WM_MOUSELEAVE:
      self->m_Hover = nullptr;
      self->ApplyLabelHover(h, false);
      break;
    default:
      break;
  }
  return win::CommonControls().DefSubclassProc(h, msg, wp, lp);
}

void TMainWindow::ApplyLabelHover(HWND h, bool inside) {
  TMainControl c = ControlOf(h);
  if (c == TMainControl::imgLogo) {
    if (inside) m_Form.imgLogoMouseMove();
    return;
  }
  if (inside)
    m_Form.LblMouseMove(c);
  else
    m_Form.LblMouseLeave(c);
}

LRESULT TMainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      mm->ptMinTrackSize = {S(400), S(320)};
      return 0;
    }
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT rc;
      GetClientRect(m_Hwnd, &rc);
      RECT title = rc;
      title.bottom = S(kTitleHeight);
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
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      TMainControl c = ControlOf(reinterpret_cast<HWND>(lp));
      const Control& ctl = C(c);
      SetTextColor(dc, ctl.HasColor ? ctl.Color : GetSysColor(COLOR_WINDOWTEXT));
      if (c == TMainControl::edtInfos) {
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        return reinterpret_cast<LRESULT>(m_InfoBrush);
      }
      if (c == TMainControl::grpPrinters) {
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(m_TitleBrush);
    }
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
    case DM_GETDEFID:
      return MAKELRESULT(Id(TMainControl::btnStart), DC_HASDEFID);
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
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      if (id == Id(TMainControl::btnExit) && code == BN_CLICKED) {
        PostMessageW(m_Hwnd, WM_CLOSE, 0, 0);
      } else if (id == Id(TMainControl::btnStart) && code == BN_CLICKED) {
        m_Form.btnStartClick();
      } else if (code == STN_CLICKED) {
        if (id == Id(TMainControl::lblReadGuide)) m_Form.lblReadGuideClick();
        if (id == Id(TMainControl::lblReadQuickGuide)) m_Form.lblReadQuickGuideClick();
        if (id == Id(TMainControl::lblReadManual)) m_Form.lblReadManualClick();
        if (id == Id(TMainControl::imgLogo)) m_Form.imgLogoClick();
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->hwndFrom == C(TMainControl::lvPrinters).Hwnd && hdr->code == LVN_ITEMCHANGED) {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(lp);
        if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && nm->iItem >= 0)
          m_Form.lvPrintersSelectItem(nm->iItem, (nm->uNewState & LVIS_SELECTED) != 0);
        m_Form.lvPrintersChange();
      }
      if (hdr->hwndFrom == C(TMainControl::lvPrinters).Hwnd && hdr->code == NM_DBLCLK &&
          reinterpret_cast<NMITEMACTIVATE*>(lp)->iItem >= 0)
        m_Form.lvPrintersDblClick();
      break;
    }
    case WM_TIMER:
      if (wp == kTmrInstallingHints) m_Form.tmrInstallingHintsTimer();
      if (wp == kTmrSetup64Error) m_Form.tmrSetup64ErrorTimer();
      return 0;
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

bool TMainWindow::PreTranslate(MSG& msg) {
  if (!m_Hwnd || !IsWindow(m_Hwnd)) return false;
  HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (top != m_Hwnd) return false;
  return IsDialogMessageW(m_Hwnd, &msg) != FALSE;
}

// IControlsForm -------------------------------------------------------------

void TMainWindow::SetFormCaption(const TString& caption) { SetWindowTextW(m_Hwnd, W(caption)); }
int TMainWindow::ComponentCount() const { return static_cast<int>(std::size(kMainComponents)); }
TString TMainWindow::ComponentName(int index) const { return kMainComponents[index].Name; }
TControlKind TMainWindow::ComponentKind(int index) const { return kMainComponents[index].Kind; }
void TMainWindow::SetComponentCaption(int index, const TString& text) {
  if (kMainComponents[index].Control >= 0) SetCaption(static_cast<TMainControl>(kMainComponents[index].Control), text);
}
void TMainWindow::SetComponentHint(int index, const TString& text) {
  if (kMainComponents[index].Control >= 0) SetHint(static_cast<TMainControl>(kMainComponents[index].Control), text);
}

// IMainView -----------------------------------------------------------------

void TMainWindow::SetAlphaBlend(bool on) {
  LONG_PTR ex = GetWindowLongPtrW(m_Hwnd, GWL_EXSTYLE);
  if (on) {
    SetWindowLongPtrW(m_Hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(m_Hwnd, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    RedrawWindow(m_Hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TMainWindow::SetAlphaBlendValue(std::uint8_t alpha) {
  LONG_PTR ex = GetWindowLongPtrW(m_Hwnd, GWL_EXSTYLE);
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(m_Hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(m_Hwnd, 0, alpha, LWA_ALPHA);
}

void TMainWindow::SetCaption(TMainControl c, const TString& caption) {
  Control& ctl = C(c);
  if (c == TMainControl::statBarInfo) {
    SetStatusText(caption);
    return;
  }
  if (!ctl.Hwnd) return;
  SetWindowTextW(ctl.Hwnd, W(caption));
  if (IsLink(c)) {
    // Auto-sized labels: the width follows the caption.
    HDC dc = GetDC(ctl.Hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(ctl.Hwnd, WM_GETFONT, 0, 0)));
    SIZE sz{};
    GetTextExtentPoint32W(dc, W(caption), static_cast<int>(caption.size()), &sz);
    SelectObject(dc, old);
    ReleaseDC(ctl.Hwnd, dc);
    ctl.Design.right = ctl.Design.left + Unscaled(sz.cx) + 2;
    ctl.Design.bottom = ctl.Design.top + Unscaled(sz.cy) + 2;
    SetWindowPos(ctl.Hwnd, nullptr, 0, 0, S(ctl.Design.right - ctl.Design.left), S(ctl.Design.bottom - ctl.Design.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(ctl.Hwnd, nullptr, TRUE);
}

TString TMainWindow::Caption(TMainControl c) const {
  if (c == TMainControl::statBarInfo) return StatusText();
  return C(c).Hwnd ? WindowText(C(c).Hwnd) : TString();
}

void TMainWindow::SetHint(TMainControl c, const TString& hint) {
  C(c).Hint = hint;
  UpdateTooltip(c);
}

void TMainWindow::UpdateTooltip(TMainControl c) {
  if (!m_Tooltip || !(c == TMainControl::imgLogo || IsLink(c))) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = m_Hwnd;
  ti.uId = reinterpret_cast<UINT_PTR>(C(c).Hwnd);
  std::wstring textValue(reinterpret_cast<const wchar_t*>(C(c).Hint.c_str()));
  ti.lpszText = textValue.data();
  SendMessageW(m_Tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

TString TMainWindow::Hint(TMainControl c) const { return C(c).Hint; }

void TMainWindow::SetEnabled(TMainControl c, bool enabled) {
  if (C(c).Hwnd) EnableWindow(C(c).Hwnd, enabled);
}

bool TMainWindow::Enabled(TMainControl c) const { return C(c).Hwnd && IsWindowEnabled(C(c).Hwnd); }

void TMainWindow::SetFontColor(TMainControl c, std::uint32_t color) {
  C(c).Color = color;
  C(c).HasColor = true;
  if (C(c).Hwnd) InvalidateRect(C(c).Hwnd, nullptr, TRUE);
}

int TMainWindow::Left(TMainControl c) const { return C(c).Design.left; }
int TMainWindow::Width(TMainControl c) const { return C(c).Design.right - C(c).Design.left; }

void TMainWindow::SetLeft(TMainControl c, int left) {
  Control& ctl = C(c);
  const int w = ctl.Design.right - ctl.Design.left;
  ctl.Design.left = left;
  ctl.Design.right = left + w;
  if (ctl.Hwnd)
    SetWindowPos(ctl.Hwnd, nullptr, S(left), S(ctl.Design.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TMainWindow::LoadLogoBitmap(const TString& resourceName) {
  // The logos are stored as packed bitmap files.
  std::string stored, file;
  dib::TLayout at;
  if (!Res().LoadRCData(resourceName, stored) || !packed::Unpack(stored, file) || !dib::Parse(file, at)) return false;
  std::vector<std::uint32_t> header((at.InfoSize + 3) / 4);  // aligned for GDI
  std::memcpy(header.data(), file.data() + at.InfoOffset, at.InfoSize);
  void* pixels = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS, &pixels,
                                 nullptr, 0);
  if (!bmp) return false;
  std::memcpy(pixels, file.data() + at.BitsOffset, at.BitsSize);
  BITMAP info{};
  GetObjectW(bmp, sizeof(info), &info);
  if (m_Logo) DeleteObject(m_Logo);
  m_Logo = bmp;
  Control& ctl = C(TMainControl::imgLogo);
  ctl.Design.right = ctl.Design.left + Unscaled(info.bmWidth);
  ctl.Design.bottom = ctl.Design.top + Unscaled(info.bmHeight);
  SendMessageW(ctl.Hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
  SetWindowPos(ctl.Hwnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void TMainWindow::SetListItems(const std::vector<TString>& captions) {
  HWND lv = C(TMainControl::lvPrinters).Hwnd;
  // The list is drawn once when it is full, not after every model.
  SendMessageW(lv, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(lv);
  ListView_SetItemCount(lv, static_cast<int>(captions.size()));
  for (const TString& caption : captions) {
    std::wstring textValue(reinterpret_cast<const wchar_t*>(caption.c_str()));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(lv);
    item.pszText = textValue.data();
    item.iImage = 0;
    ListView_InsertItem(lv, &item);
  }
  SendMessageW(lv, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(lv, nullptr, TRUE);
}

int TMainWindow::ListCount() const { return ListView_GetItemCount(C(TMainControl::lvPrinters).Hwnd); }

TString TMainWindow::ListItemCaption(int index) const {
  wchar_t buf[2048] = {};
  ListView_GetItemText(C(TMainControl::lvPrinters).Hwnd, index, 0, buf, 2048);
  return T(buf);
}

void TMainWindow::SelectListItem(int index) {
  HWND lv = C(TMainControl::lvPrinters).Hwnd;
  ListView_SetItemState(lv, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(lv, index, FALSE);
}

int TMainWindow::SelectedIndex() const {
  return ListView_GetNextItem(C(TMainControl::lvPrinters).Hwnd, -1, LVNI_SELECTED);
}

void TMainWindow::SetStatusText(const TString& textValue) {
  SendMessageW(C(TMainControl::statBarInfo).Hwnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(textValue)));
}

TString TMainWindow::StatusText() const {
  HWND sb = C(TMainControl::statBarInfo).Hwnd;
  int n = LOWORD(SendMessageW(sb, SB_GETTEXTLENGTHW, 0, 0));
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  SendMessageW(sb, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buf.data()));
  return T(buf.c_str());
}

void TMainWindow::SetInstallingHintsTimer(bool on) {
  if (on)
    SetTimer(m_Hwnd, kTmrInstallingHints, 500, nullptr);
  else
    KillTimer(m_Hwnd, kTmrInstallingHints);
}

void TMainWindow::SetSetup64ErrorTimer(bool on) {
  if (on)
    SetTimer(m_Hwnd, kTmrSetup64Error, 5000, nullptr);
  else
    KillTimer(m_Hwnd, kTmrSetup64Error);
}

void TMainWindow::SetVisible(bool visible) { ShowWindow(m_Hwnd, visible ? SW_SHOW : SW_HIDE); }
bool TMainWindow::Visible() const { return IsWindowVisible(m_Hwnd) != FALSE; }

void TMainWindow::SetBusyCursor(bool busy) {
  m_Busy = busy;
  POINT pt;
  // The cursor changes at once when it is over the window, not only when it moves.
  if (GetCursorPos(&pt) && GetAncestor(WindowFromPoint(pt), GA_ROOT) == m_Hwnd)
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TMainWindow::FocusControl(TMainControl c) {
  if (IsWindowVisible(m_Hwnd)) SetFocus(C(c).Hwnd);
}

void TMainWindow::ShowSearchingDialog() {
  if (!m_Searching) m_Searching = CreateSearchingDialog(m_Hwnd);
  if (m_Searching) ShowSearchingDialogModal(m_Searching, m_Hwnd);
}

void TMainWindow::ShowWelcomeSplash(std::uint32_t titleColor) { ::ShowWelcomeSplash(m_Hwnd, titleColor); }

void TMainWindow::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void TMainWindow::Sleep(std::uint32_t ms) { ::Sleep(ms); }

int TMainWindow::ShowMessageBox(const TString& textValue, const TString& caption, std::uint32_t flags) {
  // Owned by the application, as the standard message boxes are.
  return ::MessageBoxW(m_Hwnd && IsWindowVisible(m_Hwnd) ? m_Hwnd : nullptr, W(boxtext::FitForBox(textValue)),
                       W(caption), flags | MB_SETFOREGROUND);
}

void TMainWindow::ShowErrorBox(const TString& message) { ShowStandardError(message); }

void TMainWindow::Terminate() {
  m_Terminating = true;
  PostQuitMessage(0);
}

THandle TMainWindow::WindowHandle() const { return reinterpret_cast<THandle>(m_Hwnd); }
