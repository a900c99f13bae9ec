// A static control (text or picture, created with SS_NOTIFY) that acts as a
// link: the hand cursor over it (the hourglass while its owner is busy),
// enter and leave events as the mouse comes and goes, its hint as a tool tip,
// and a click event. Its parent forwards the control's STN_CLICKED to Click().
// The link becomes a tool of the tool-tip window when the mouse first comes
// over it: a window that nobody points at makes no tool tip.
#pragma once

#include "win32/WinApi.h"

#include <functional>

#include "base/Types.h"

class TLinkLabel {
 public:
  struct Events {
    std::function<void(bool inside)> Hover;
    std::function<void()> Click;
    std::function<bool()> Busy;
    std::function<HWND()> Tooltip;  // the tool-tip window, made on first use
  };

  TLinkLabel() = default;
  TLinkLabel(const TLinkLabel&) = delete;
  TLinkLabel& operator=(const TLinkLabel&) = delete;

  // Takes over `control`; the tool-tip window's owner is the control's parent.
  void Attach(HWND control, Events events);
  HWND Hwnd() const { return m_Hwnd; }
  void SetTip(const TString& text);
  // The size of `caption` in the control's font, in screen pixels.
  SIZE TextSize(const TString& caption) const;
  void Click() const {
    if (m_Events.Click) m_Events.Click();
  }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  // Joins the tool tip and hands it the message that brought the mouse.
  void JoinTooltip(const MSG& first);

  HWND m_Hwnd = nullptr;
  WNDPROC m_Static = nullptr;  // the control's own procedure
  HWND m_Tooltip = nullptr;
  TString m_Tip;
  Events m_Events;
  bool m_Inside = false;
};
