#include "fakes/FakeMainView.h"

FakeMainView::FakeMainView() {
  // Design-time geometry and captions of the window.
  m_Ctl[TMainControl::imgLogo] = {u"", u"", true, 0, false, 12, 194};
  m_Ctl[TMainControl::lblMainTitle] = {u"", u"", true, 0, false, 248, 399};
  m_Ctl[TMainControl::lblReadGuide] = {u"Install Guide", u"", true, 0, false, 248, 86};
  m_Ctl[TMainControl::lblReadQuickGuide] = {u"Quick Guide", u"", true, 0, false, 359, 80};
  m_Ctl[TMainControl::lblReadManual] = {u"User Manual", u"", true, 0, false, 484, 81};
  m_Ctl[TMainControl::grpPrinters] = {u"Select Printer", u"", true, 0, false, 6, 627};
  m_Ctl[TMainControl::edtInfos] = {u"", u"", true, 0, false, 12, 335};
  m_Ctl[TMainControl::btnStart] = {u"Install", u"", true, 0, false, 377, 113};
  m_Ctl[TMainControl::btnExit] = {u"E&xit", u"", true, 0, false, 512, 113};
  for (auto c :
       {TMainControl::PnlTitle, TMainControl::PnlPrinters, TMainControl::lvPrinters, TMainControl::statBarInfo})
    m_Ctl[c] = {};
}

int FakeMainView::ComponentCount() const { return static_cast<int>(std::size(kMainComponents)); }
TString FakeMainView::ComponentName(int i) const { return kMainComponents[i].Name; }
TControlKind FakeMainView::ComponentKind(int i) const { return kMainComponents[i].Kind; }
void FakeMainView::SetComponentCaption(int i, const TString& t) {
  if (kMainComponents[i].Control >= 0) SetCaption(static_cast<TMainControl>(kMainComponents[i].Control), t);
}
void FakeMainView::SetComponentHint(int i, const TString& t) {
  if (kMainComponents[i].Control >= 0) SetHint(static_cast<TMainControl>(kMainComponents[i].Control), t);
}

void FakeMainView::SetAlphaBlendValue(std::uint8_t alpha) {
  AlphaValues.push_back(alpha);
  Events.push_back(u"alpha " + text::IntToStr(alpha));
}

bool FakeMainView::LoadLogoBitmap(const TString& resourceName) {
  LoadedLogo = resourceName;
  m_Ctl[TMainControl::imgLogo].Width = LogoWidth;
  return true;
}

void FakeMainView::SelectListItem(int index) {
  int old = Selected;
  Selected = index;
  if (OnSelect && old >= 0 && old != index) OnSelect(old, false);
  if (OnSelect) OnSelect(index, true);
}

void FakeMainView::ShowWelcomeSplash(std::uint32_t titleColor) {
  Splashes.push_back(titleColor);
  Events.push_back(u"splash");
}

int FakeMainView::ShowMessageBox(const TString& text, const TString& caption, std::uint32_t flags) {
  Boxes.push_back({text, caption, flags});
  if (Answers.empty()) return mb::IdOk;
  int a = Answers.front();
  Answers.pop_front();
  return a;
}
