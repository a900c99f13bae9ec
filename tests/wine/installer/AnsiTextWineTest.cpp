// The one ANSI conversion against Wine's code pages: a character the code
// page lacks is reported, not replaced by a look-alike.
#include <gtest/gtest.h>

#include "win32/adapters/WinText.h"

TEST(AnsiText, ReportsEveryTextTheCodePageDoesNotCarryExactly) {
  const UINT acp = GetACP();
  if (acp != 1252 && acp != CP_UTF8) GTEST_SKIP() << "code page " << acp;
  struct Case {
    const char16_t* Text;
    bool ExactIn1252, ExactInUtf8;
  };
  const Case cases[] = {
      {u"C:\\Drivers\\demo.inf", true, true}, {u"caf\u00e9", true, true},
      {u"\u0141\u00f3d\u017a", false, true},                                // a best fit would give "Lodz"
      {u"\u6253\u5370\u673a", false, true},   {u"a\xd800z", false, false},  // a lone surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(text::ToUtf8(c.Text));
    bool exact = false;
    const std::string ansi = win::WideToAnsi(c.Text, exact);
    EXPECT_EQ(exact, acp == CP_UTF8 ? c.ExactInUtf8 : c.ExactIn1252);
    if (exact) {
      EXPECT_EQ(win::AnsiToWide(ansi), TString(c.Text));
    }
  }
}
