// What the main window's logic needs of its window. The Win32 window draws the
// controls and forwards events to TFormMain; tests use a recording fake.
#pragma once

#include <cstdint>
#include <iterator>
#include <vector>

#include "base/MessageBoxFlags.h"
#include "config/ControlsForm.h"
#include "platform/Port.h"
#include "sysutil/Text.h"

enum class TMainControl {
  PnlTitle,
  imgLogo,
  lblMainTitle,
  lblReadGuide,
  lblReadQuickGuide,
  lblReadManual,
  PnlPrinters,
  grpPrinters,
  lvPrinters,
  edtInfos,
  btnStart,
  btnExit,
  statBarInfo,
};

// The main window's components in component order, with their kinds; the
// non-visual ones (image list, timers) have no control.
struct TMainComponent {
  const char16_t* Name;
  TControlKind Kind;
  int Control;  // a TMainControl, or -1
};
inline constexpr TMainComponent kMainComponents[] = {
    {u"PnlTitle", TControlKind::OtherControl, static_cast<int>(TMainControl::PnlTitle)},
    {u"imgLogo", TControlKind::OtherControl, static_cast<int>(TMainControl::imgLogo)},
    {u"lblMainTitle", TControlKind::Label, static_cast<int>(TMainControl::lblMainTitle)},
    {u"lblReadGuide", TControlKind::Label, static_cast<int>(TMainControl::lblReadGuide)},
    {u"lblReadQuickGuide", TControlKind::Label, static_cast<int>(TMainControl::lblReadQuickGuide)},
    {u"lblReadManual", TControlKind::Label, static_cast<int>(TMainControl::lblReadManual)},
    {u"PnlPrinters", TControlKind::OtherControl, static_cast<int>(TMainControl::PnlPrinters)},
    {u"grpPrinters", TControlKind::GroupBox, static_cast<int>(TMainControl::grpPrinters)},
    {u"lvPrinters", TControlKind::OtherControl, static_cast<int>(TMainControl::lvPrinters)},
    {u"edtInfos", TControlKind::Edit, static_cast<int>(TMainControl::edtInfos)},
    {u"btnStart", TControlKind::Button, static_cast<int>(TMainControl::btnStart)},
    {u"btnExit", TControlKind::Button, static_cast<int>(TMainControl::btnExit)},
    {u"statBarInfo", TControlKind::OtherControl, static_cast<int>(TMainControl::statBarInfo)},
    {u"ilPrinter", TControlKind::NonVisual, -1},
    {u"tmrSetup64Error", TControlKind::NonVisual, -1},
    {u"tmrInstallingHints", TControlKind::NonVisual, -1},
};

class IMainView : public IControlsForm {
 public:
  // The components are kMainComponents; their captions and hints are those
  // of their controls.
  int ComponentCount() const final { return static_cast<int>(std::size(kMainComponents)); }
  TString ComponentName(int index) const final { return kMainComponents[index].Name; }
  TControlKind ComponentKind(int index) const final { return kMainComponents[index].Kind; }
  void SetComponentCaption(int index, const TString& text) final {
    if (kMainComponents[index].Control >= 0)
      SetCaption(static_cast<TMainControl>(kMainComponents[index].Control), text);
  }
  void SetComponentHint(int index, const TString& text) final {
    if (kMainComponents[index].Control >= 0) SetHint(static_cast<TMainControl>(kMainComponents[index].Control), text);
  }

  // Layered-window transparency of the main window.
  virtual void SetAlphaBlend(bool on) = 0;
  virtual void SetAlphaBlendValue(std::uint8_t alpha) = 0;

  virtual void SetCaption(TMainControl c, const TString& caption) = 0;
  virtual TString Caption(TMainControl c) const = 0;
  virtual void SetHint(TMainControl c, const TString& hint) = 0;
  virtual TString Hint(TMainControl c) const = 0;
  virtual void SetEnabled(TMainControl c, bool enabled) = 0;
  virtual bool Enabled(TMainControl c) const = 0;
  virtual void SetFontColor(TMainControl c, std::uint32_t color) = 0;  // 0x00BBGGRR
  virtual int Left(TMainControl c) const = 0;                          // design pixels
  virtual int Width(TMainControl c) const = 0;
  virtual void SetLeft(TMainControl c, int left) = 0;
  // Loads a bitmap resource of the program into imgLogo, which takes its size.
  virtual bool LoadLogoBitmap(const TString& resourceName) = 0;

  // The model list. Selecting an item raises the selection event.
  // Puts these captions in the list in place of what it held, in one go.
  virtual void SetListItems(const std::vector<TString>& captions) = 0;
  virtual int ListCount() const = 0;
  virtual TString ListItemCaption(int index) const = 0;
  virtual void SelectListItem(int index) = 0;
  virtual int SelectedIndex() const = 0;  // -1 = none

  virtual void SetStatusText(const TString& text) = 0;
  virtual TString StatusText() const = 0;
  virtual void SetInstallingHintsTimer(bool on) = 0;
  // The watchdog of the 64-bit host: tmrSetup64Error, every 5000 ms while on.
  virtual void SetSetup64ErrorTimer(bool on) = 0;

  // The main window itself.
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void SetBusyCursor(bool busy) = 0;  // the hourglass over the window
  virtual void FocusControl(TMainControl c) = 0;
  // The searching dialog, shown modally; returns when it closed.
  virtual void ShowSearchingDialog() = 0;

  // The welcome splash, shown modally; returns when it closed.
  virtual void ShowWelcomeSplash(std::uint32_t titleColor) = 0;
  // Serve pending window messages (timers, painting).
  virtual void ProcessMessages() = 0;
  virtual void Sleep(std::uint32_t ms) = 0;

  virtual int ShowMessageBox(const TString& text, const TString& caption, std::uint32_t flags) = 0;
  // The application's standard error box.
  virtual void ShowErrorBox(const TString& message) = 0;
  // Ask the application to leave its message loop at the first opportunity.
  virtual void Terminate() = 0;
  virtual THandle WindowHandle() const = 0;
  // Text for the console the program was started from (or its redirected
  // output); false when there is none.
  virtual bool WriteOutput(const TString& text) = 0;
};
