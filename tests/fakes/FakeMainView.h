// A recording stand-in for the main window: keeps every control's state and
// answers message boxes from a script.
#pragma once

#include <optional>

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "installer/MainDesign.h"
#include "installer/MainView.h"
#include "sysutil/Exception.h"

class FakeMainView : public IMainView {
 public:
  struct Control {
    TString Caption, Hint;
    bool Enabled = true;
    std::uint32_t Color = 0;
    bool HasColor = false;
    int Left = 0, Width = 0;
  };
  struct Box {
    TString Text, Caption;
    std::uint32_t Flags;
  };

  FakeMainView();

  // Recorded state.
  TString FormCaption = u"(unset)";
  bool AlphaBlend = false;
  std::vector<int> AlphaValues;
  std::vector<TString> ListItems;
  int Selected = -1;
  TString Status;
  bool HintsTimer = false;
  bool WatchdogTimer = false;
  bool Shown = true;
  bool BusyCursor = false;
  std::optional<TMainControl> Focused;
  int SearchingShown = 0;
  bool SearchingFails = false;
  bool HiddenDuringSearch = false;
  std::vector<std::uint32_t> Splashes;
  std::vector<Box> Boxes;
  std::vector<TString> Errors;
  bool Terminated = false;
  TString LoadedLogo;
  int LogoWidth = MainDesign(TMainControl::imgLogo).Width();
  std::vector<TString> Events;  // "alpha N", "sleep N", "messages", "splash"
  std::deque<int> Answers;      // message-box answers, mb::IdOk when empty
  std::function<void(int, bool)> OnSelect;

  Control& Ctl(TMainControl c) { return m_Ctl[c]; }

  // IControlsForm
  void SetFormCaption(const TString& caption) override { FormCaption = caption; }

  // IMainView
  void SetAlphaBlend(bool on) override { AlphaBlend = on; }
  void SetAlphaBlendValue(std::uint8_t alpha) override;
  void SetCaption(TMainControl c, const TString& caption) override { m_Ctl[c].Caption = caption; }
  TString Caption(TMainControl c) const override { return m_Ctl.at(c).Caption; }
  void SetHint(TMainControl c, const TString& hint) override { m_Ctl[c].Hint = hint; }
  TString Hint(TMainControl c) const override { return m_Ctl.at(c).Hint; }
  void SetEnabled(TMainControl c, bool enabled) override { m_Ctl[c].Enabled = enabled; }
  bool Enabled(TMainControl c) const override { return m_Ctl.at(c).Enabled; }
  void SetFontColor(TMainControl c, std::uint32_t color) override {
    m_Ctl[c].Color = color;
    m_Ctl[c].HasColor = true;
  }
  int Left(TMainControl c) const override { return m_Ctl.at(c).Left; }
  int Width(TMainControl c) const override { return m_Ctl.at(c).Width; }
  void SetLeft(TMainControl c, int left) override { m_Ctl[c].Left = left; }
  bool LoadLogoBitmap(const TString& resourceName) override;
  void SetListItems(const std::vector<TString>& captions) override { ListItems = captions; }
  int ListCount() const override { return static_cast<int>(ListItems.size()); }
  TString ListItemCaption(int index) const override { return ListItems.at(static_cast<size_t>(index)); }
  void SelectListItem(int index) override;
  int SelectedIndex() const override { return Selected; }
  void SetStatusText(const TString& text) override { Status = text; }
  TString StatusText() const override { return Status; }
  void SetInstallingHintsTimer(bool on) override { HintsTimer = on; }
  void SetSetup64ErrorTimer(bool on) override { WatchdogTimer = on; }
  void SetVisible(bool visible) override { Shown = visible; }
  bool Visible() const override { return Shown; }
  void SetBusyCursor(bool busy) override { BusyCursor = busy; }
  void FocusControl(TMainControl c) override { Focused = c; }
  void ShowSearchingDialog() override {
    ++SearchingShown;
    HiddenDuringSearch = !Shown;
    if (SearchingFails) throw Exception(u"searching");
  }
  void ShowWelcomeSplash(std::uint32_t titleColor) override;
  void ProcessMessages() override { Events.push_back(u"messages"); }
  void Sleep(std::uint32_t ms) override { Events.push_back(u"sleep " + text::IntToStr(ms)); }
  int ShowMessageBox(const TString& text, const TString& caption, std::uint32_t flags) override;
  void ShowErrorBox(const TString& message) override { Errors.push_back(message); }
  void Terminate() override { Terminated = true; }
  THandle WindowHandle() const override { return 0x4242; }
  bool WriteOutput(const TString& text) override {
    Output += text;
    return true;
  }
  TString Output;  // what went to the console

 private:
  std::map<TMainControl, Control> m_Ctl;
};
