#include "fakes/FakeMainView.h"

FakeMainView::FakeMainView() {
  // The window's design-time geometry and captions.
  for (const TControlSpec& spec : kMainDesign)
    m_Ctl[spec.Control] = {spec.Caption, u"", true, 0, false, spec.Left, spec.Width()};
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
