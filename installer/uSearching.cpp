#include "installer/uSearching.h"

#include "config/LangStrings.h"

void TFormSearching::FormCreate() {
  m_View.SetCaption(LangText(TUiText::SearchingTitle));
  m_View.SetSearchText(LangText(TUiText::SearchingText));
  m_View.SetNotFoundText(LangText(TUiText::SearchingNotFound));
  m_View.SetButtonCaptions(LangText(TUiText::SearchingReSearch), LangText(TUiText::SearchingContinue));
  m_View.SetProgress(0);
}

void TFormSearching::FormShow() {
  m_Result = TSearchingResult::None;
  m_View.SetProgress(0);
}

void TFormSearching::Finish(TSearchingResult result) {
  if (m_Result != TSearchingResult::None) return;  // already closing
  m_Result = result;
  m_View.CloseModal();
}
