#include "win32/installer/LinkLabel.h"

#include <commctrl.h>

#include <string>

#include "win32/adapters/WinText.h"

// The control's own procedure is replaced, and the link found through the
// control's user data: both are read from the window itself. The common
// controls' subclass chain would look its data up in a window property, at
// the system's expense for every message the control gets.
void TLinkLabel::Attach(HWND control, Events events) {
  m_Hwnd = control;
  m_Events = std::move(events);
  ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_Static = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TLinkLabel::Proc)));
}

void TLinkLabel::JoinTooltip(const MSG& first) {
  m_Tooltip = m_Events.Tooltip ? m_Events.Tooltip() : nullptr;
  if (!m_Tooltip) return;
  std::wstring tip(W(m_Tip));
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = ::GetParent(m_Hwnd);
  ti.uId = reinterpret_cast<UINT_PTR>(m_Hwnd);
  ti.lpszText = tip.data();
  ::SendMessageW(m_Tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  // The tool tip watches the link's mouse messages from the next one on.
  MSG relay = first;
  ::SendMessageW(m_Tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

void TLinkLabel::SetTip(const TString& text) {
  m_Tip = text;
  if (!m_Tooltip || !m_Hwnd) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = ::GetParent(m_Hwnd);
  ti.uId = reinterpret_cast<UINT_PTR>(m_Hwnd);
  std::wstring value(W(text));
  ti.lpszText = value.data();
  ::SendMessageW(m_Tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

SIZE TLinkLabel::TextSize(const TString& caption) const {
  // A memory context of the screen measures as the control's own would,
  // without asking the system for the control's visible region.
  SIZE size{};
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(m_Hwnd, WM_GETFONT, 0, 0)));
  ::GetTextExtentPoint32W(dc, W(caption), static_cast<int>(caption.size()), &size);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return size;
}

LRESULT CALLBACK TLinkLabel::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TLinkLabel*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self || !self->m_Static)
    return ::CallWindowProcW(reinterpret_cast<WNDPROC>(::GetClassLongPtrW(h, GCLP_WNDPROC)), h, msg, wp, lp);
  switch (msg) {
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, self->m_Events.Busy && self->m_Events.Busy() ? IDC_WAIT : IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (!self->m_Tooltip) {
        MSG first{};
        first.hwnd = h;
        first.message = msg;
        first.wParam = wp;
        first.lParam = lp;
        first.time = static_cast<DWORD>(::GetMessageTime());
        const DWORD pos = ::GetMessagePos();
        first.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        self->JoinTooltip(first);
      }
      if (!self->m_Inside) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, h, 0};
        ::TrackMouseEvent(&t);
        self->m_Inside = true;
      }
      if (self->m_Events.Hover) self->m_Events.Hover(true);
      break;
    case WM_MOUSELEAVE:
      self->m_Inside = false;
      if (self->m_Events.Hover) self->m_Events.Hover(false);
      break;
    default:
      break;
  }
  return ::CallWindowProcW(self->m_Static, h, msg, wp, lp);
}
