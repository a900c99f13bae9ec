// A static control (text or picture, created with SS_NOTIFY) that acts as a
// link: the hand cursor over it (the hourglass while its owner is busy),
// enter and leave events as the mouse comes and goes, its hint as a tool tip,
// and a click event. Its parent forwards the control's STN_CLICKED to Click().
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
  };

  TLinkLabel() = default;
  TLinkLabel(const TLinkLabel&) = delete;
  TLinkLabel& operator=(const TLinkLabel&) = delete;

  // Takes over `control`; its tool tip is a tool of `tooltip`, whose owner
  // is the control's parent.
  void Attach(HWND control, HWND tooltip, Events events);
  HWND Hwnd() const { return m_Hwnd; }
  void SetTip(const TString& text);
  // The size of `caption` in the control's font, in screen pixels.
  SIZE TextSize(const TString& caption) const;
  void Click() const {
    if (m_Events.Click) m_Events.Click();
  }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  HWND m_Hwnd = nullptr;
  HWND m_Tooltip = nullptr;
  Events m_Events;
  bool m_Inside = false;
};
