#include <gtest/gtest.h>

#include "fakes/ScopedMachine.h"
#include "sysutil/ProfileFile.h"
#include "sysutil/Text.h"

using text::Format;

TEST(Text, CaseFoldingTouchesOnlyAsciiLetters) {
  EXPECT_EQ(text::UpperAscii(u"model x é ß ä 打印"), u"MODEL X é ß ä 打印");
  EXPECT_TRUE(text::SameTextAscii(u"Lpt1:", u"LPT1:"));
  EXPECT_FALSE(text::SameTextAscii(u"é", u"É"));
  EXPECT_TRUE(text::StartsWithTextAscii(u"Model X (Copy 1)", u"MODEL X"));
  EXPECT_FALSE(text::StartsWithTextAscii(u"Mod", u"Model"));
}

TEST(Text, FormatsUiStrings) {
  EXPECT_EQ(Format(u"Printer driver (%s) has been installed to %s.", {u"A", u"USB001"}),
            u"Printer driver (A) has been installed to USB001.");
  EXPECT_EQ(Format(u"(code: 0x%.8x)", {0xE000020Bu}), u"(code: 0xe000020b)");
  EXPECT_EQ(Format(u"max %d, got %d", {2, -3}), u"max 2, got -3");
  EXPECT_EQ(Format(u"100%% %s", {}), u"100% ");
  EXPECT_EQ(Format(u"%5d|%-3s|%05d", {42, u"a", 7}), u"   42|a  |00007");
}

TEST(Text, ParsesProfileIntegers) {
  std::int32_t v = 0;
  EXPECT_TRUE(text::TryParseInt(u"0x50", v));
  EXPECT_EQ(v, 80);
  EXPECT_TRUE(text::TryParseInt(u"$50", v));
  EXPECT_EQ(v, 80);
  EXPECT_TRUE(text::TryParseInt(u"0X1f", v));
  EXPECT_EQ(v, 31);
  EXPECT_TRUE(text::TryParseInt(u" -12 ", v));
  EXPECT_EQ(v, -12);
  for (const char16_t* bad : {u"", u"abc", u"true", u"12a", u"0x", u"$", u"99999999999"})
    EXPECT_FALSE(text::TryParseInt(bad, v)) << text::ToUtf8(bad);
}

TEST(Text, IntegerLimitsParseWithoutOverflow) {
  struct Case {
    const char16_t* Text;
    bool Ok;
    std::int64_t Value;
  };
  const Case cases[] = {
      {u"-2147483648", true, -2147483648LL},
      {u"-$80000000", true, -2147483648LL},
      {u"-0x80000000", true, -2147483648LL},
      {u"2147483647", true, 2147483647},
      {u"$FFFFFFFF", true, -1},
      {u"-$FFFFFFFF", true, 1},
      {u"-$1", true, -1},
      {u"2147483648", false, 0},
      {u"-2147483649", false, 0},
      {u"$100000000", false, 0},
      {u"\x01\x35", false, 0},
      {u"\t5\x1a", true, 5},
  };
  for (const Case& c : cases) {
    std::int32_t v = 12345;
    ASSERT_EQ(text::TryParseInt(c.Text, v), c.Ok) << text::ToUtf8(c.Text);
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << text::ToUtf8(c.Text);
    }
  }
}

TEST(Text, FormatPadsAfterTheSignAndRefusesHugeWidths) {
  struct Case {
    const char16_t* Fmt;
    long long Arg;
    const char16_t* Expect;
  };
  const Case cases[] = {
      {u"%05d", -1, u"-0001"},
      {u"%5d", -1, u"   -1"},
      {u"%-5d|", -1, u"-1   |"},
      {u"%03d", -2147483648LL, u"-2147483648"},
      {u"%.3d", -7, u"-007"},
      {u"%08X", 0xE000020BLL, u"E000020B"},
      // Beyond what a box can show: written as is, the next directive gets the next argument.
      {u"%1025d|%d", 1, u"%1025d|2"},
      {u"%-2147483658d|%d", 1, u"%-2147483658d|2"},
      {u"%.99999999999999999999s|%d", 1, u"%.99999999999999999999s|2"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.Fmt, {c.Arg, 2}), c.Expect) << text::ToUtf8(c.Fmt);
  EXPECT_EQ(Format(u"%1024d", {1}).size(), 1024u);
}

class ProfileFileTest : public ::testing::Test {
 protected:
  ScopedMachine m;
};

TEST_F(ProfileFileTest, ReadsUtf16FileByThePlatformRules) {
  m.fs.AddFile(u"C:\\a.ini", Utf16File(u"; comment\n[Settings]\n  SetupIni =  Setup.ini  \nQuoted=\"  x  \"\n"
                                       u"NoEquals\n[Model 一]\nName=打印机\nHex=$1F\nBool=7\nBad=true\n"
                                       u"[settings]\nSetupIni=second\n"));
  TProfileFile f;
  ASSERT_TRUE(f.Open(u"C:\\A.INI"));
  EXPECT_EQ(f.ReadSections(), (TStringList{u"Settings", u"Model 一", u"settings"}));
  EXPECT_EQ(f.ReadString(u"SETTINGS", u"setupini", u"d"), u"Setup.ini");
  EXPECT_EQ(f.ReadString(u"Settings", u"Quoted", u""), u"  x  ");
  EXPECT_EQ(f.ReadString(u"Settings", u"NoEquals", u"dflt"), u"dflt");
  EXPECT_EQ(f.ReadString(u"model 一", u"NAME", u""), u"打印机");
  EXPECT_EQ(f.ReadInteger(u"Model 一", u"Hex", 0), 31);
  EXPECT_TRUE(f.ReadBool(u"Model 一", u"Bool", false));
  EXPECT_FALSE(f.ReadBool(u"Model 一", u"Bad", false));
  EXPECT_EQ(f.ReadInteger(u"Model 一", u"Missing", 110), 110);
}

TEST_F(ProfileFileTest, CutsLongValuesAndReadsAnsiFiles) {
  std::string ansi = "[S]\r\nLong=" + std::string(3000, 'x') + "\r\nName=caf\xC3\xA9\r\n";
  m.fs.AddFile(u"C:\\b.ini", ansi);
  TProfileFile f;
  ASSERT_TRUE(f.Open(u"C:\\b.ini"));
  EXPECT_EQ(f.ReadString(u"S", u"Long", u"").size(), 2047u);
  EXPECT_EQ(f.ReadString(u"S", u"Name", u""), u"café");  // the fake's code page is UTF-8
  EXPECT_FALSE(f.Open(u"C:\\missing.ini"));
}
