// What message boxes show of long texts: words and rows bounded, ordinary
// texts untouched.
#include <gtest/gtest.h>

#include <algorithm>

#include "sysutil/BoxText.h"
#include "sysutil/Text.h"

using namespace boxtext;

namespace {

TString Repeat(TStringView s, int n) {
  TString out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// The cells of what is drawn (blanks and line breaks left out).
std::size_t Width(TStringView s) {
  std::size_t w = 0;
  for (char16_t c : s)
    if (c != u' ' && c != u'\n') w += Cells(c);
  return w;
}

// The widest run the box cannot wrap (no blank, no line break, no
// full-width character inside) and the number of lines.
std::size_t WidestRun(TStringView s) {
  std::size_t widest = 0, run = 0;
  for (char16_t c : s) {
    if (c == u' ' || c == u'\n' || Cells(c) == 2) {
      run = 0;
    } else {
      run += Cells(c);
    }
    widest = std::max(widest, run);
  }
  return widest;
}
std::size_t Lines(TStringView s) { return std::count(s.begin(), s.end(), u'\n') + 1; }

TEST(BoxText, OrdinaryTextsAreShownAsTheyAre) {
  const TString texts[] = {
      u"",
      u"TS3200 配置文件出错，没有指定打印机硬件ID！",
      u"Cannot write the file C:\\Users\\someone\\AppData\\Local\\Temp\\tmp12\\Lang\\Strings.ini: Access is denied.",
      u"first line\r\nsecond line\nthird\tline",
      Repeat(u"一二三四五六七八九十", 20),          // wraps around full-width characters
      Repeat(u"word ", 300),                        // 1,500 cells: 19 rows of 80
      Repeat(u"x", kMaxRowCells),                   // a word exactly a row wide
      Repeat(u"line\r\n", kMaxRows - 1) + u"last",  // exactly the rows there are
      u"\U0001F600 outside the basic plane \U00020000",
  };
  for (const TString& t : texts) EXPECT_EQ(FitForBox(t), t) << text::ToUtf8(t);
}

TEST(BoxText, AHugeNameKeepsItsStartItsEndAndTheSentence) {
  const TString name = u"Begin" + Repeat(u"a", 10000) + u"End";
  const TString shown = FitForBox(name + u" 配置文件出错，没有指定打印机硬件ID！");
  EXPECT_EQ(shown.find(u"Begin"), 0u);
  EXPECT_NE(shown.find(u"End 配置文件出错，没有指定打印机硬件ID！"), TString::npos) << text::ToUtf8(shown);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), kEllipsis), 1);
  EXPECT_LE(WidestRun(shown), kMaxRowCells);
}

TEST(BoxText, TooManyRowsEndWithAnEllipsisWithinTheBounds) {
  struct Case {
    const char* what;
    TString text;
  };
  const Case cases[] = {
      {"many lines", Repeat(u"a line of the text\r\n", 500)},
      {"one line of many words", Repeat(u"word ", 5000)},
      {"many huge words", Repeat(Repeat(u"z", 300) + u" ", 100)},
      {"full-width text", Repeat(u"配置文件出错", 1000)},
      {"rows filled to the edge", Repeat(Repeat(u"y", kMaxRowCells) + u"\n", 50)},
      {"pairs outside the basic plane", Repeat(u"\U00020000", 2000)},
      // The ellipsis stays in the last row, which holds only blanks here.
      {"a last row of blanks", Repeat(Repeat(u"y", kMaxRowCells) + u"\n", kMaxRows - 1) + u"   " + Repeat(u"z", 80)},
  };
  for (const Case& c : cases) {
    const TString shown = FitForBox(c.text);
    EXPECT_EQ(shown.back(), kEllipsis) << c.what;
    EXPECT_LE(Lines(shown), kMaxRows) << c.what;
    EXPECT_LE(Width(shown), kMaxRows * kMaxRowCells) << c.what;
    EXPECT_LE(WidestRun(shown), kMaxRowCells) << c.what;
    // Nothing is invented: the shown text is the start of the text, up to
    // the shortened words and the closing ellipsis.
    EXPECT_EQ(c.text.substr(0, 10), shown.substr(0, 10)) << c.what;
    for (std::size_t i = 0; i < shown.size(); ++i)
      if (shown[i] >= 0xD800 && shown[i] <= 0xDBFF) {
        ASSERT_LT(i + 1, shown.size()) << c.what << ": a surrogate pair was split";
        EXPECT_TRUE(shown[i + 1] >= 0xDC00 && shown[i + 1] <= 0xDFFF) << c.what;
      }
  }
}

}  // namespace
