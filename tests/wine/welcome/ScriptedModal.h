// Drives a modal window from inside its own message loop: a thread timer calls
// the script every few milliseconds while the modal call runs.
#pragma once

#include "win32/WinApi.h"

#include <functional>
#include <string>

// Milliseconds on the high-resolution clock.
double NowMs();

// Calls `modal` (which runs a modal loop on this thread) and, every ~10 ms
// while it runs, `step` with the current NowMs().
void RunScripted(const std::function<void()>& modal, const std::function<void(double now)>& step);

// Serves this thread's messages for `ms` milliseconds.
void PumpMessagesFor(double ms);

std::wstring ItemText(HWND dialog, int id);

// Notes the moment a window of class `cls` starts hiding (it is sent
// WM_SHOWWINDOW with FALSE), on this thread. Wine without a window manager then
// waits up to 2 s for one before ShowWindow returns, so the end of a modal
// call comes too late to tell how long the window was on the screen.
class HideWatch {
 public:
  explicit HideWatch(const wchar_t* cls);
  ~HideWatch();
  HideWatch(const HideWatch&) = delete;
  HideWatch& operator=(const HideWatch&) = delete;
  double HiddenAt() const;  // NowMs() of the first hiding, -1 before it
};

// A real double click (SendInput) at a point in screen coordinates.
void DoubleClickAt(POINT screen);
