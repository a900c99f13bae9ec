#include <gtest/gtest.h>

#include "fakes/TestMachine.h"
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

TEST(Text, Utf8RoundTripIncludesSurrogatePairs) {
  TString s = u"Tessaron 打印机 \U0001F5A8";
  EXPECT_EQ(text::FromUtf8(text::ToUtf8(s)), s);
}

TEST(Text, ReplacesEscapeSequenceWithoutRegardToCase) {
  EXPECT_EQ(text::ReplaceAllTextAscii(u"A\\r\\nB\\R\\NC\\n", u"\\r\\n", u"\r\n"), u"A\r\nB\r\nC\\n");
}

class ProfileFileTest : public ::testing::Test {
 protected:
  TestMachine m;
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
