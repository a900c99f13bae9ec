#include "sysutil/BoxText.h"

namespace boxtext {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
// Lines may be broken before and after a full-width character.
bool IsWide(char16_t c) { return Cells(c) == 2; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::size_t Width(TStringView s) {
  std::size_t w = 0;
  for (char16_t c : s) w += Cells(c);
  return w;
}

// The longest start of `word` of at most `cells` cells, not splitting a
// surrogate pair.
TStringView Head(TStringView word, std::size_t cells) {
  std::size_t used = 0, i = 0;
  while (i < word.size()) {
    const std::size_t n = (i + 1 < word.size() && IsLowSurrogate(word[i + 1])) ? 2 : 1;
    const std::size_t w = Width(word.substr(i, n));
    if (used + w > cells) break;
    used += w;
    i += n;
  }
  return word.substr(0, i);
}

// The longest end of `word` of at most `cells` cells.
TStringView Tail(TStringView word, std::size_t cells) {
  std::size_t used = 0, i = word.size();
  while (i > 0) {
    const std::size_t n = (i >= 2 && IsLowSurrogate(word[i - 1])) ? 2 : 1;
    const std::size_t w = Width(word.substr(i - n, n));
    if (used + w > cells) break;
    used += w;
    i -= n;
  }
  return word.substr(i);
}

// A word (a run without blanks, such as a path or a name) cannot be wrapped:
// one wider than a row keeps its start and its end around an ellipsis.
TString Shorten(TStringView word) {
  const std::size_t head = (kMaxRowCells - 1) / 2;
  return TString(Head(word, head)) + kEllipsis + TString(Tail(word, kMaxRowCells - 1 - head));
}

// Builds the shown text row by row.
class Layout {
 public:
  // False once the rows are used up (the text has ended with an ellipsis).
  bool Word(TStringView word) {
    TString cut;
    std::size_t w = Width(word);
    if (w > kMaxRowCells) {
      cut = Shorten(word);
      word = cut;
      w = Width(word);
    }
    if (m_Col > 0 && m_Col + w > kMaxRowCells && !NewRow()) return false;
    m_Out += word;
    m_Col += w;
    return true;
  }
  void Blank(char16_t c) {
    m_Out += c;
    m_Col += Cells(c);  // a wrap swallows blanks at the end of a row
  }
  bool LineBreak(TStringView breakChars) {
    if (!NewRow()) return false;
    m_Out += breakChars;
    m_RowStart = m_Out.size();
    return true;
  }
  TString Take() { return std::move(m_Out); }

 private:
  bool NewRow() {
    if (m_Rows < kMaxRows) {
      ++m_Rows;
      m_Col = 0;
      m_RowStart = m_Out.size();
      return true;
    }
    End();
    return false;
  }
  // The ellipsis closes the last row, without blanks before it and without
  // making the row wider than the others; what earlier rows show stays.
  void End() {
    while (m_Out.size() > m_RowStart && IsBlank(m_Out.back())) Pop();
    while (m_Out.size() > m_RowStart && m_Col + 1 > kMaxRowCells) Pop();
    m_Out += kEllipsis;
  }
  void Pop() {
    std::size_t n = (m_Out.size() >= 2 && IsLowSurrogate(m_Out.back())) ? 2 : 1;
    const std::size_t w = Width(TStringView(m_Out).substr(m_Out.size() - n));
    m_Col = m_Col > w ? m_Col - w : 0;
    m_Out.resize(m_Out.size() - n);
  }

  TString m_Out;
  std::size_t m_Rows = 1, m_Col = 0;
  std::size_t m_RowStart = 0;  // where the last row begins in m_Out
};

}  // namespace

std::size_t Cells(char16_t c) {
  if (c == u'\r' || IsLowSurrogate(c)) return 0;
  if (c == u'\t') return 8;
  if (c >= 0xD800 && c <= 0xDBFF) return 2;  // outside the basic plane: mostly ideographs and symbols
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                    (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                    (c >= 0xFFE0 && c <= 0xFFE6);
  return wide ? 2 : 1;
}

TString FitForBox(TStringView text) {
  Layout layout;
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u'\n' || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) {
      const std::size_t n = c == u'\r' ? 2 : 1;
      if (!layout.LineBreak(text.substr(i, n))) break;
      i += n;
    } else if (IsBlank(c)) {
      layout.Blank(c);
      ++i;
    } else if (IsWide(c)) {
      const std::size_t n = (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ? 2 : 1;
      if (!layout.Word(text.substr(i, n))) break;
      i += n;
    } else {
      std::size_t j = i;
      while (j < text.size() && !IsBlank(text[j]) && !IsWide(text[j]) && text[j] != u'\n' &&
             !(text[j] == u'\r' && j + 1 < text.size() && text[j + 1] == u'\n'))
        ++j;
      if (!layout.Word(text.substr(i, j - i))) break;
      i = j;
    }
  }
  return layout.Take();
}

}  // namespace boxtext
