// The one base of the installer's windows (the main window, the splash and
// the searching dialog): the window-procedure thunk with its exception
// policy, the modal loop, and the DPI and font helpers. Each window is a
// subclass that handles its own messages; its layout stays a table of
// design pixels at 96 DPI.
#pragma once

#include "win32/WinApi.h"

#include <vector>

#include "base/Types.h"

// Logical pixels per inch of the screen (96 when it cannot be read).
int ScreenDpi();
// The text of a window or control.
TString WindowText(HWND h);
// The program's standard error box: the application's title (the text of
// the window's top owner) as caption, owned by the window while it is visible.
void ShowStandardError(HWND window, const TString& message);
// Off: the standard error box only goes to the record (nobody would answer it).
void SetStandardErrorBoxes(bool shown);

class TWindowBase {
 public:
  TWindowBase(const TWindowBase&) = delete;
  TWindowBase& operator=(const TWindowBase&) = delete;
  virtual ~TWindowBase();

  HWND Hwnd() const { return m_Hwnd; }

  void ShowStandardError(const TString& message) const { ::ShowStandardError(m_Hwnd, message); }
  // A message of the loop before it is translated and dispatched: true when
  // the window took it (the dialog keys: Tab, Enter, Escape, mnemonics).
  virtual bool PreTranslate(MSG& /*msg*/) { return false; }

 protected:
  TWindowBase();

  // Registers a window class once, with the thunk as its procedure.
  static void RegisterClassOnce(WNDCLASSEXW wc);
  // CreateWindowExW with this object attached: from WM_NCCREATE on, the
  // window's messages reach its handlers.
  HWND CreateAttached(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                      int width, int height, HWND owner);

  // The window's messages, decoded. Whatever a handler throws ends at the
  // thunk: the program's own error is shown with its message in the standard
  // error box, anything else as an unexpected error; the message then gets
  // the default handling.
  // WM_COMMAND: a control's notification or a menu or accelerator command.
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  // WM_NOTIFY: the header of the control's notification record.
  virtual LRESULT OnNotify(NMHDR& /*header*/) { return 0; }
  virtual void OnTimer(UINT_PTR /*id*/) {}
  // WM_SIZE: the new size of the client area.
  virtual void OnSize(int /*width*/, int /*height*/) {}
  // Every other message; by default the system's handling.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(m_Hwnd, msg, wp, lp); }
  // After the window is gone (WM_NCDESTROY); the object may delete itself.
  virtual void OnDetached() {}

  // The modal loop: the owner is disabled, messages are served (each offered
  // to PreTranslate first) until EndModal() or until the window is gone;
  // WM_QUIT goes back to the outer loop. The owner gets the activation back
  // before the window hides. `show` shows the window once the owner is off.
  template <class Show>
  void RunModal(Show show) {
    const HWND owner = BeginModal();
    show();
    ModalLoop(owner);
  }
  void EndModal() { m_ModalDone = true; }
  bool ModalEnded() const { return m_ModalDone; }

  int Dpi() const { return m_Dpi; }
  // Design pixels (96 DPI) to screen pixels and back.
  int S(int designPixels) const { return ::MulDiv(designPixels, m_Dpi, 96); }
  int Unscaled(int screenPixels) const { return ::MulDiv(screenPixels, 96, m_Dpi); }
  RECT Scaled(const RECT& r) const { return {S(r.left), S(r.top), S(r.right), S(r.bottom)}; }
  // A child control (WS_CHILD is added) at a rectangle of design pixels,
  // with its font (none: the system's).
  HWND CreateChild(const wchar_t* className, int id, const RECT& design, DWORD style, HFONT font,
                   const wchar_t* text = L"", DWORD exStyle = 0);
  // A font of `pixels` design pixels; the caller deletes it.
  HFONT MakeFont(const wchar_t* face, int pixels, int weight) const;
  // The same, deleted with this object.
  HFONT Font(const wchar_t* face, int pixels, int weight);

  HWND m_Hwnd = nullptr;

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static void ReportCurrentException(HWND hwnd) noexcept;
  HWND BeginModal();
  void ModalLoop(HWND disabledOwner);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  int m_Dpi;
  std::vector<HFONT> m_Fonts;
  bool m_ModalDone = false;
};
