// The searching dialog window. Its behaviour is TFormSearching's
// (installer/uSearching.h); it is created once, hidden, and shown modally for
// every install that asks for an online check.
#pragma once

#include "win32/WinApi.h"

inline constexpr wchar_t kSearchingDialogClass[] = L"DSSearchingDialog";
inline constexpr int kSearchingTextId = 3201;      // lblSearch
inline constexpr int kSearchingProgressId = 3202;  // pbSteps
inline constexpr int kSearchingNotFoundId = 3203;  // lblNotFound
inline constexpr int kSearchingReSearchId = 3204;  // btnReSearch
// btnCancelSearch carries IDCANCEL, so Escape presses it.

// Creates the dialog hidden; it lives until it is destroyed with DestroyWindow
// (or its owner is).
HWND CreateSearchingDialog(HWND owner);

// Shows the dialog modally, centred on `centreOn` (the screen when null), and
// returns when the user closed it: Cancel, ReSearch, Escape or the close box.
void ShowSearchingDialogModal(HWND dialog, HWND centreOn);
