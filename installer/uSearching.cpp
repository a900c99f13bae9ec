#include "installer/uSearching.h"

void TFormSearching::FormCreate() {
  m_View.SetCaption(searching_texts::kCaption);
  m_View.SetSearchText(searching_texts::kSearch);
  m_View.SetNotFoundText(searching_texts::kNotFound);
  m_View.SetButtonCaptions(searching_texts::kReSearch, searching_texts::kCancelSearch);
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
