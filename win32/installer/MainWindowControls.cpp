// The main window's controls, made and laid out from the design table.
#include "win32/installer/MainWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "win32/SystemLibrary.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/CommonControls.h"

namespace {

struct TWinClass {
  const wchar_t* Name;  // nullptr: no control
  DWORD Style;
  DWORD ExStyle;
};

TWinClass WinClassOf(TDesignClass kind) {
  switch (kind) {
    case TDesignClass::Picture:
      return {L"STATIC", SS_BITMAP | SS_NOTIFY, 0};
    case TDesignClass::Label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case TDesignClass::Link:
      return {L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0};
    case TDesignClass::GroupBox:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case TDesignClass::IconList:
      return {WC_LISTVIEWW, WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE,
              WS_EX_CLIENTEDGE};
    case TDesignClass::InfoEdit:
      return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case TDesignClass::DefaultButton:
      return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case TDesignClass::Button:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case TDesignClass::StatusBar:
      return {STATUSCLASSNAMEW, SBARS_SIZEGRIP, 0};
    case TDesignClass::Panel:
      break;
  }
  return {nullptr, 0, 0};
}

// A group box without visual styles, so that the branding colour reaches its caption.
void WithoutTheme(HWND control) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  win::SystemLibrary uxtheme(L"uxtheme.dll");
  if (auto setTheme = uxtheme.Entry<SetWindowThemeFn>("SetWindowTheme")) setTheme(control, L"", L"");
}

}  // namespace

void TMainWindow::CreateControls() {
  m_TitleBrush = CreateSolidBrush(RGB(255, 255, 255));
  m_InfoBrush = CreateSolidBrush(GetSysColor(COLOR_INFOBK));

  // One font object for each font of the design.
  std::vector<std::pair<const TDesignFont*, HFONT>> fonts;
  auto fontOf = [&](const TDesignFont& f) -> HFONT {
    if (!f.Face) return nullptr;
    for (const auto& [spec, font] : fonts)
      if (TStringView(spec->Face) == f.Face && spec->Pixels == f.Pixels && spec->Bold == f.Bold) return font;
    HFONT font = Font(W(f.Face), f.Pixels, f.Bold ? FW_BOLD : FW_NORMAL);
    fonts.emplace_back(&f, font);
    return font;
  };

  for (const TControlSpec& spec : kMainDesign) {
    const TWinClass cls = WinClassOf(spec.Class);
    if (!cls.Name) continue;
    Control& ctl = C(spec.Control);
    ctl.Hwnd =
        CreateChild(cls.Name, MainControlId(spec.Control), ctl.Design, cls.Style | (spec.Visible ? WS_VISIBLE : 0),
                    fontOf(spec.Font), W(spec.Caption), cls.ExStyle);
    switch (spec.Class) {
      case TDesignClass::GroupBox:
        WithoutTheme(ctl.Hwnd);
        break;
      case TDesignClass::Picture:
        AttachLink(spec.Control);
        break;
      case TDesignClass::Link:
        AttachLink(spec.Control);
        FitToCaption(spec.Control, spec.Caption);
        break;
      case TDesignClass::StatusBar: {
        int parts[1] = {-1};  // one panel across the whole bar
        SendMessageW(ctl.Hwnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
        break;
      }
      default:
        break;
    }
  }

  const int icon = S(32);
  const win::CommonControlsApi& cc = win::CommonControls();
  m_Images = cc.ImageList_Create ? cc.ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 1, 1) : nullptr;
  HICON printer = static_cast<HICON>(LoadImageW(m_Instance, L"ICO_PRINTER", IMAGE_ICON, icon, icon, 0));
  if (m_Images) cc.ImageList_ReplaceIcon(m_Images, -1, printer);
  DestroyIcon(printer);
  ListView_SetImageList(C(TMainControl::lvPrinters).Hwnd, m_Images, LVSIL_NORMAL);
  Layout();
}

void TMainWindow::AttachLink(TMainControl c) {
  TLinkLabel::Events events;
  events.Busy = [this] { return m_Busy; };
  events.Tooltip = [this] { return Tooltip(); };
  switch (c) {
    case TMainControl::imgLogo:
      events.Hover = [this](bool inside) {
        if (inside) m_Form.imgLogoMouseMove();
      };
      events.Click = [this] { m_Form.imgLogoClick(); };
      break;
    case TMainControl::lblReadGuide:
      events.Click = [this] { m_Form.lblReadGuideClick(); };
      break;
    case TMainControl::lblReadQuickGuide:
      events.Click = [this] { m_Form.lblReadQuickGuideClick(); };
      break;
    case TMainControl::lblReadManual:
      events.Click = [this] { m_Form.lblReadManualClick(); };
      break;
    default:
      break;
  }
  if (!events.Hover)
    events.Hover = [this, c](bool inside) {
      if (inside)
        m_Form.LblMouseMove(c);
      else
        m_Form.LblMouseLeave(c);
    };
  C(c).Link.Attach(C(c).Hwnd, std::move(events));
}

HWND TMainWindow::Tooltip() {
  if (!m_Tooltip) {
    m_Tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_NOANIMATE | TTS_NOFADE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_Hwnd, nullptr, m_Instance, nullptr);
    if (m_Tooltip) SendMessageW(m_Tooltip, TTM_SETMAXTIPWIDTH, 0, S(500));
  }
  return m_Tooltip;
}

// Each control keeps its distance to the edges it is anchored to; those
// anchored only left and top stay where the form put them.
void TMainWindow::Layout() {
  RECT rc;
  GetClientRect(m_Hwnd, &rc);
  const int dx = rc.right - S(kMainDesignWidth), dy = rc.bottom - S(kMainDesignHeight);
  for (const TControlSpec& spec : kMainDesign) {
    const Control& ctl = C(spec.Control);
    if (!ctl.Hwnd || !(spec.Anchors & (akRight | akBottom))) continue;
    if (spec.Class == TDesignClass::StatusBar) {
      SendMessageW(ctl.Hwnd, WM_SIZE, 0, 0);  // the bar places itself at the bottom
      continue;
    }
    const bool left = spec.Anchors & akLeft, top = spec.Anchors & akTop;
    const bool right = spec.Anchors & akRight, bottom = spec.Anchors & akBottom;
    const int x = S(ctl.Design.left) + (right && !left ? dx : 0), y = S(ctl.Design.top) + (bottom && !top ? dy : 0);
    const int w = S(ctl.Design.right - ctl.Design.left) + (right && left ? dx : 0);
    const int h = S(ctl.Design.bottom - ctl.Design.top) + (bottom && top ? dy : 0);
    // A control already in its place is left alone: the window is laid out
    // when it is made and again when it gets its first size, the same one.
    RECT now;
    GetWindowRect(ctl.Hwnd, &now);
    MapWindowPoints(nullptr, m_Hwnd, reinterpret_cast<POINT*>(&now), 2);
    if (now.left == x && now.top == y && now.right - now.left == std::max(w, 0) &&
        now.bottom - now.top == std::max(h, 0))
      continue;
    SetWindowPos(ctl.Hwnd, nullptr, x, y, std::max(w, 0), std::max(h, 0), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (HWND lv = C(TMainControl::lvPrinters).Hwnd) SendMessageW(lv, LVM_ARRANGE, LVA_DEFAULT, 0);
}

LRESULT TMainWindow::ControlColors(HDC dc, HWND control) {
  const TMainControl c = ControlOf(control);
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

TMainControl TMainWindow::ControlOf(HWND h) const {
  for (int i = 0; i < kControls; ++i)
    if (m_Ctl[i].Hwnd == h) return static_cast<TMainControl>(i);
  return TMainControl::PnlTitle;
}
