// The main window: draws the controls with the Win32 API and forwards events
// to TFormMain, which holds all decisions.
#pragma once

#include "win32/WinApi.h"

#include <commctrl.h>

#include <array>
#include <memory>

#include "installer/MainView.h"
#include "installer/uMain.h"
#include "win32/installer/WindowBase.h"

class TMainWindow final : public TWindowBase, public IMainView {
 public:
  explicit TMainWindow(HINSTANCE instance);
  ~TMainWindow() override;

  // Creates the window (running FormCreate) and shows it.
  HWND Create();
  TFormMain& Form() { return m_Form; }
  // Keyboard handling of the message loop (Tab, Enter, mnemonics).
  bool PreTranslate(MSG& msg);

  // IControlsForm
  void SetFormCaption(const TString& caption) override;
  int ComponentCount() const override;
  TString ComponentName(int index) const override;
  TControlKind ComponentKind(int index) const override;
  void SetComponentCaption(int index, const TString& text) override;
  void SetComponentHint(int index, const TString& text) override;

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

 private:
  static constexpr int kControls = static_cast<int>(TMainControl::statBarInfo) + 1;
  struct Control {
    HWND Hwnd = nullptr;
    RECT Design{};  // left, top, right, bottom in design pixels (client coordinates)
    TString Hint;
    COLORREF Color = 0;
    bool HasColor = false;
  };

  static LRESULT CALLBACK LinkProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void CreateControls();
  void Layout();
  void ApplyLabelHover(HWND h, bool inside);
  TMainControl ControlOf(HWND h) const;
  Control& C(TMainControl c) { return m_Ctl[static_cast<int>(c)]; }
  const Control& C(TMainControl c) const { return m_Ctl[static_cast<int>(c)]; }
  void UpdateTooltip(TMainControl c);

  HINSTANCE m_Instance;
  HWND m_Tooltip = nullptr;
  std::array<Control, kControls> m_Ctl{};
  HBITMAP m_Logo = nullptr;
  HIMAGELIST m_Images = nullptr;
  HBRUSH m_InfoBrush = nullptr;
  HBRUSH m_TitleBrush = nullptr;
  HWND m_Hover = nullptr;
  TFormMain m_Form;
  bool m_ActivatePosted = false;
  bool m_Terminating = false;
  bool m_Busy = false;
  HWND m_Searching = nullptr;  // created on first use, owned by this window
};
