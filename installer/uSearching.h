// The searching dialog (TFormSearching), shown before the install of a model
// that asks for an online check. It tells the user that no connected printer
// was found and lets them go on; the install goes on whichever way it closes.
//
// btnReSearch closes the dialog as well: the install that follows starts the
// device detection afresh, which is the search the button asks for. pbSteps
// stays at 0: the dialog itself does not search, so it has no progress to show.
#pragma once

#include "sysutil/Text.h"

// How the dialog was closed. The install sequence goes on in every case.
enum class TSearchingResult { None, ReSearch, Cancel };

class ISearchingView {
 public:
  virtual ~ISearchingView() = default;
  virtual void SetCaption(const TString& text) = 0;
  virtual void SetSearchText(const TString& text) = 0;
  virtual void SetNotFoundText(const TString& text) = 0;  // shown in red
  virtual void SetButtonCaptions(const TString& reSearch, const TString& cancel) = 0;
  virtual void SetProgress(int percent) = 0;
  // Ends the modal showing and hides the dialog; it is shown again later.
  virtual void CloseModal() = 0;
};

class TFormSearching {
 public:
  explicit TFormSearching(ISearchingView& view) : m_View(view) {}

  // Fills the fixed texts; the window calls it once, when it is created.
  void FormCreate();
  // Before every modal showing: a fresh result and an empty progress bar.
  void FormShow();
  void btnReSearchClick() { Finish(TSearchingResult::ReSearch); }
  // The cancel button, Escape and the close box all end here.
  void btnCancelSearchClick() { Finish(TSearchingResult::Cancel); }

  TSearchingResult ModalResult() const { return m_Result; }

 private:
  void Finish(TSearchingResult result);

  ISearchingView& m_View;
  TSearchingResult m_Result = TSearchingResult::None;
};
