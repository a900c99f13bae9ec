// What a message box shows of a text. A box grows with its text: a word it
// cannot wrap (a name of thousands of characters) makes it wider than the
// screen, many lines make it taller, and its button ends up off-screen. The
// text is cut with an ellipsis so that the box fits a 1024x768 screen; the
// caller keeps the full text for its record.
#pragma once

#include <cstddef>

#include "base/Types.h"

namespace boxtext {

// A row holds at most this many cells: a CJK or other full-width character
// takes two, every other character one (about 560 pixels of the box font,
// 960 for a row of the widest Latin letters). Tabs take eight.
inline constexpr std::size_t kMaxRowCells = 80;
// At most this many rows, counting the rows that word wrapping makes of long
// lines (about 320 pixels).
inline constexpr std::size_t kMaxRows = 20;

inline constexpr char16_t kEllipsis = u'\u2026';

// The text as the box should show it. A word (a run of characters between
// blanks and full-width characters) wider than a row keeps its start and
// its end around an ellipsis; when the text, wrapped into rows of
// kMaxRowCells cells at blanks and around full-width characters, needs more
// than kMaxRows rows, it ends after the last row with an ellipsis. A text
// within the bounds is returned as it is.
TString FitForBox(TStringView text);

// The cells a character takes in a row (0 for a carriage return or the second
// half of a surrogate pair).
std::size_t Cells(char16_t c);

}  // namespace boxtext
