// TFormMain's view: what the form asks of its window, passed to the controls.
#include "win32/installer/MainWindow.h"

#include <commctrl.h>

#include "sysutil/BoxText.h"
#include "win32/adapters/WinText.h"
#include "win32/installer/ConsoleOutput.h"
#include "win32/installer/LogoBitmap.h"
#include "win32/installer/SearchingWindow.h"
#include "win32/installer/WelcomeWindow.h"

// IControlsForm -------------------------------------------------------------

void TMainWindow::SetFormCaption(const TString& caption) { SetWindowTextW(m_Hwnd, W(caption)); }

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
  // The text it shows already (the design's caption, which the strings file
  // often repeats) would only be stored, measured and drawn again.
  if (!ctl.Hwnd || WindowText(ctl.Hwnd) == caption) return;
  SetWindowTextW(ctl.Hwnd, W(caption));
  if (MainDesign(c).Class == TDesignClass::Link) FitToCaption(c, caption);
  InvalidateRect(ctl.Hwnd, nullptr, TRUE);
}

void TMainWindow::FitToCaption(TMainControl c, const TString& caption) {
  // Auto-sized labels: the width follows the caption.
  Control& ctl = C(c);
  const SIZE sz = ctl.Link.TextSize(caption);
  ctl.Design.right = ctl.Design.left + Unscaled(sz.cx) + 2;
  ctl.Design.bottom = ctl.Design.top + Unscaled(sz.cy) + 2;
  SetWindowPos(ctl.Hwnd, nullptr, 0, 0, S(ctl.Design.right - ctl.Design.left), S(ctl.Design.bottom - ctl.Design.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TString TMainWindow::Caption(TMainControl c) const {
  if (c == TMainControl::statBarInfo) return StatusText();
  return C(c).Hwnd ? WindowText(C(c).Hwnd) : TString();
}

void TMainWindow::SetHint(TMainControl c, const TString& hint) {
  C(c).Hint = hint;
  C(c).Link.SetTip(hint);
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
  HBITMAP bmp = ::LoadLogoBitmap(resourceName);
  if (!bmp) return false;
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
    std::wstring textValue(W(caption));
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

bool TMainWindow::WriteOutput(const TString& text) { return WriteToConsole(text); }

THandle TMainWindow::WindowHandle() const { return reinterpret_cast<THandle>(m_Hwnd); }
