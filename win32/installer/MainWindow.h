// The main window: creates its controls from the design table
// (installer/MainDesign.h) and lays them out by it, forwards events to
// TFormMain, which holds all decisions, and implements TFormMain's view.
// Its parts: MainWindow.cpp (creation and messages), MainWindowControls.cpp
// (the controls from the design table, layout, colours), MainWindowView.cpp
// (the view), LinkLabel (the links and the logo) and LogoBitmap.
#pragma once

#include "win32/WinApi.h"

#include <commctrl.h>

#include <array>
#include <memory>

#include "installer/MainDesign.h"
#include "installer/MainView.h"
#include "installer/uMain.h"
#include "win32/installer/LinkLabel.h"
#include "win32/installer/WindowBase.h"

class TMainWindow final : public TWindowBase, public IMainView {
 public:
  explicit TMainWindow(HINSTANCE instance);
  ~TMainWindow() override;

  // Creates the window (running FormCreate) and shows it.
  HWND Create();
  TFormMain& Form() { return m_Form; }
  // Keyboard handling of the message loop (Tab, Enter, mnemonics).
  bool PreTranslate(MSG& msg) override;

  // IControlsForm
  void SetFormCaption(const TString& caption) override;

  // IMainView
  void SetAlphaBlend(bool on) override;
  void SetAlphaBlendValue(std::uint8_t alpha) override;
  void SetCaption(TMainControl c, const TString& caption) override;
  TString Caption(TMainControl c) const override;
  void SetHint(TMainControl c, const TString& hint) override;
  TString Hint(TMainControl c) const override;
  void SetEnabled(TMainControl c, bool enabled) override;
  bool Enabled(TMainControl c) const override;
  void SetFontColor(TMainControl c, std::uint32_t color) override;
  int Left(TMainControl c) const override;
  int Width(TMainControl c) const override;
  void SetLeft(TMainControl c, int left) override;
  bool LoadLogoBitmap(const TString& resourceName) override;
  void SetListItems(const std::vector<TString>& captions) override;
  int ListCount() const override;
  TString ListItemCaption(int index) const override;
  void SelectListItem(int index) override;
  int SelectedIndex() const override;
  void SetStatusText(const TString& text) override;
  TString StatusText() const override;
  void SetInstallingHintsTimer(bool on) override;
  void SetSetup64ErrorTimer(bool on) override;
  void SetVisible(bool visible) override;
  bool Visible() const override;
  void SetBusyCursor(bool busy) override;
  void FocusControl(TMainControl c) override;
  void ShowSearchingDialog() override;
  void ShowWelcomeSplash(std::uint32_t titleColor) override;
  void ProcessMessages() override;
  void Sleep(std::uint32_t ms) override;
  int ShowMessageBox(const TString& text, const TString& caption, std::uint32_t flags) override;
  void ShowErrorBox(const TString& message) override;
  void Terminate() override;
  THandle WindowHandle() const override;
  bool WriteOutput(const TString& text) override;

 private:
  static constexpr int kControls = static_cast<int>(std::size(kMainDesign));
  static constexpr UINT_PTR kTmrInstallingHints = 1, kTmrSetup64Error = 2;
  struct Control {
    HWND Hwnd = nullptr;
    RECT Design{};  // left, top, right, bottom in design pixels (client coordinates)
    TString Hint;
    COLORREF Color = 0;
    bool HasColor = false;
    TLinkLabel Link;  // the links and the logo
  };

  // MainWindow.cpp: the messages.
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR& header) override;
  void OnTimer(UINT_PTR id) override;
  void OnSize(int width, int height) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void PaintBackground(HDC dc);

  // MainWindowControls.cpp: the controls from the design table.
  void CreateControls();
  void AttachLink(TMainControl c);
  HWND Tooltip();  // made when the mouse first comes over a link or the logo
  void Layout();
  void FitToCaption(TMainControl c, const TString& caption);  // a link's size follows its caption
  LRESULT ControlColors(HDC dc, HWND control);
  TMainControl ControlOf(HWND h) const;
  Control& C(TMainControl c) { return m_Ctl[static_cast<int>(c)]; }
  const Control& C(TMainControl c) const { return m_Ctl[static_cast<int>(c)]; }

  HINSTANCE m_Instance;
  HWND m_Tooltip = nullptr;
  std::array<Control, kControls> m_Ctl{};
  HBITMAP m_Logo = nullptr;
  HIMAGELIST m_Images = nullptr;
  HBRUSH m_InfoBrush = nullptr;
  HBRUSH m_TitleBrush = nullptr;
  TFormMain m_Form;
  bool m_ActivatePosted = false;
  bool m_Terminating = false;
  bool m_Busy = false;
  HWND m_Searching = nullptr;  // created on first use, owned by this window
};
