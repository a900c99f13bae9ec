#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "config/LangStrings.h"
#include "fakes/FakeMainView.h"
#include "fakes/ScopedMachine.h"
#include "install/InstallFunc.h"
#include "spooler/PrinterUtils.h"
#include "sysutil/Convert.h"
#include "sysutil/Exception.h"

namespace {

std::string ReadSource(const std::string& rel) {
  std::ifstream f(std::string(DS_SOURCE_DIR) + "/" + rel, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

class LangStringsTest : public ::testing::Test {
 protected:
  void Load(const std::string& bytes) {
    m.fs.AddFile(u"C:\\T\\Strings.ini", bytes);
    g_LangOptions.LoadFromFile(u"C:\\T\\Strings.ini");
  }
  ScopedMachine m;
};

TEST_F(LangStringsTest, BuiltInFilesAreUtf16WithCrLfAndSelectRowFive) {
  for (const char* lang : {"EN", "CN", "CHT"}) {
    std::string bytes = ReadSource(std::string("resources/Strings_") + lang + ".ini");
    ASSERT_GE(bytes.size(), 2u) << lang;
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << lang;
    TString t = DecodeTextFile(bytes);
    for (size_t i = 0; i < t.size(); ++i)
      if (t[i] == u'\n') {
        ASSERT_TRUE(i > 0 && t[i - 1] == u'\r') << lang << " lone LF at " << i;
      }
    SetUp();
    Load(bytes);
    EXPECT_EQ(g_strInstaller.CompanyIndex, 5) << lang;
    EXPECT_FALSE(g_strInstaller.OEMManufactor.empty()) << lang;
    EXPECT_EQ(g_LangOptions.GetOptionString(u"Settings", u"SetupIni", u"x"), u"Setup.ini");
    EXPECT_EQ(g_LangOptions.GetOptionString(u"OEMCOmpany", u"Name.1", u""), u"Tessaron");
    EXPECT_EQ(g_LangOptions.GetOptionString(u"OEMCOmpany", u"Logo.1", u""), u"BM_LOGO_TESSARON");
    EXPECT_EQ(g_LangOptions.GetOptionString(u"OEMCOmpany", u"Color.1", u""), u"800080");
    for (int row = 1; row <= 15; ++row) {
      bool present = !g_LangOptions.GetOptionString(u"OEMCOmpany", u"Name." + text::IntToStr(row), u"").empty();
      EXPECT_EQ(present, !(row == 14 && std::string(lang) == "CHT")) << lang << " row " << row;
    }
    EXPECT_FALSE(g_LangOptions.GetOptionString(u"Controls.Installer", u"ProgramTitle", u"").empty());
  }
}

TEST_F(LangStringsTest, EnglishFileCarriesTheExactTexts) {
  Load(ReadSource("resources/Strings_EN.ini"));
  const strInstaller& s = g_strInstaller;
  EXPECT_EQ(s.Installing, u"Installing");
  EXPECT_EQ(s.InstallEnd, u"Install end");
  EXPECT_EQ(s.ClickInstallToStart, u"Please click \"Install\" button.");
  EXPECT_EQ(s.InstallFailStr, u"Printer driver installation process failed: \r\n%s");
  EXPECT_EQ(s.InstallFailCode, u"Printer driver installation process failed (code: 0x%.8x)");
  EXPECT_EQ(
      s.BeforeInstallPrompt,
      u"Please use the cable to connect the printer, \r\npower on the printer and wait until it is already turned "
      u"on and then click “Yes”.");
  EXPECT_EQ(s.InstallOnline.substr(0, 30), u"Online installation failed! \r\n");
  EXPECT_EQ(g_LangOptions.GetOptionString(u"Controls.Installer", u"grpPrinters", u""), u"Select printer :");
  EXPECT_EQ(g_LangOptions.GetOptionString(u"Controls.Installer", u"lblReadManual", u""), u"User's manual");
}

TEST_F(LangStringsTest, ChineseFilesCarryTheExactTexts) {
  Load(ReadSource("resources/Strings_CN.ini"));
  // Simplified characters throughout (the Traditional 裝 was a mistake).
  EXPECT_EQ(g_strInstaller.Installing.find(u'裝'), TString::npos);
  EXPECT_EQ(g_strInstaller.InstallEnd.find(u'裝'), TString::npos);
  EXPECT_EQ(g_strInstaller.InstallSuccessStr, u"打印机驱动程序（%s）已成功安装到打印端口%s。");
  EXPECT_EQ(g_strInstaller.InstallFailStr, u"打印机驱动程序安装过程中出错：\r\n%s");
  SetUp();
  Load(ReadSource("resources/Strings_CHT.ini"));
  EXPECT_EQ(g_strInstaller.InstallEnd, u"安裝結束");
  EXPECT_EQ(g_strInstaller.Loading, u"正在載入");
  EXPECT_EQ(g_LangOptions.GetOptionString(u"Controls.Installer", u"edtInfos", u""), u"提示資訊：");
  EXPECT_EQ(g_LangOptions.GetOptionString(u"OEMCOmpany", u"MainTitle.1", u""), u"歡迎使用Tessaron印表機");
}

TEST_F(LangStringsTest, EveryKeyedTextIsInEachStringsFileAsCompiledIn) {
  const std::pair<const char*, TUiLanguage> files[] = {
      {"EN", TUiLanguage::English}, {"CN", TUiLanguage::SimplifiedChinese}, {"CHT", TUiLanguage::TraditionalChinese}};
  for (const auto& [lang, language] : files) {
    SetUp();
    Load(ReadSource(std::string("resources/Strings_") + lang + ".ini"));
    for (int i = 0; i < static_cast<int>(TUiText::Count); ++i) {
      const TUiText id = static_cast<TUiText>(i);
      if (TStringView(UiTextRow(id).Key).empty()) continue;
      SCOPED_TRACE(std::string(lang) + " " + text::ToUtf8(UiTextRow(id).Key));
      EXPECT_FALSE(g_LangOptions.GetOptionString(u"DialogText", UiTextRow(id).Key, u"").empty());
      EXPECT_EQ(LangText(id), UiText(id, language));
    }
  }
}

TEST_F(LangStringsTest, LanguageOfATextBeforeAndAfterTheStringsFileIsRead) {
  struct Row {
    std::uint16_t systemLanguage;
    const char* file;  // loaded before asking; null: none yet
    TUiLanguage expected;
  } rows[] = {{0x0804, nullptr, TUiLanguage::SimplifiedChinese},
              {0x1004, nullptr, TUiLanguage::SimplifiedChinese},
              {0x0C04, nullptr, TUiLanguage::TraditionalChinese},
              {0x0409, nullptr, TUiLanguage::English},
              {0x0411, nullptr, TUiLanguage::English},
              {0x0409, "CN", TUiLanguage::SimplifiedChinese},
              {0x0804, "EN", TUiLanguage::English}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.systemLanguage);
    SetUp();
    m.sys.LangID = r.systemLanguage;
    if (r.file) Load(ReadSource(std::string("resources/Strings_") + r.file + ".ini"));
    EXPECT_EQ(LangText(TUiText::BufferFolderName), UiText(TUiText::BufferFolderName, r.expected));
    // A text needed before the file is read follows the system whatever file is loaded.
    EXPECT_EQ(SystemUiText(TUiText::StartWriteFile), UiText(TUiText::StartWriteFile, UiLanguageOf(r.systemLanguage)));
  }
}

// The errors raised below the strings file's reader speak the system's language.
TEST_F(LangStringsTest, ErrorsOfThePortableLayersFollowTheSystemLanguage) {
  m.sys.LangID = 0x0804;
  m.spooler.MissingEntries.insert(TSpoolerEntry::XcvDataW);
  m.fs.AddFile(u"C:\\a.inf", "[Version]\r\nDriverVer=13/45/2012,1.0\r\n");
  m.fs.AddFile(u"C:\\b.inf", "[Version]\r\nDriverVer=01/01/2012,1.0\r\n");
  auto said = [](const std::function<void()>& raise) {
    try {
      raise();
    } catch (const Exception& e) {
      return e.Message();
    }
    return TString(u"<no error>");
  };
  auto zh = [](TUiText id) { return UiText(id, TUiLanguage::SimplifiedChinese); };
  EXPECT_EQ(said([] { StrToInt64(u"0x"); }), text::Format(zh(TUiText::InvalidInteger), {u"0x"}));
  EXPECT_EQ(said([] { AddLocalPort(u"X:"); }), zh(TUiText::XcvDataMissing));
  EXPECT_EQ(said([] { InfCompareVersion(u"C:\\a.inf", u"C:\\b.inf"); }),
            text::Format(zh(TUiText::DriverVerFormat), {u"13/45/2012", u"01/01/2012"}));
}

TEST_F(LangStringsTest, OemRowDefaultsAndIndexRules) {
  const TString rows = u"[OEMCOmpany]\nName.1=One\nLogo.1=BM_ONE\nColor.1=112233\nMainTitle.1=T1\nName.2=Two\n";
  Load(Utf16File(rows));  // no index: row 1
  EXPECT_EQ(g_strInstaller.CompanyIndex, 1);
  EXPECT_EQ(g_strInstaller.OEMManufactor, u"One");
  EXPECT_EQ(g_strInstaller.OEMBMLogo, u"BM_ONE");

  SetUp();
  Load(Utf16File(u"[Settings]\nOEMCOmpanyIndex=99\n" + rows));
  EXPECT_EQ(g_strInstaller.OEMManufactor, u"");
  EXPECT_EQ(g_strInstaller.OEMLogoUrl, u"");
  EXPECT_EQ(g_strInstaller.OEMMainTitle, u"");
  EXPECT_EQ(g_strInstaller.OEMBMLogo, u"BM_LOGO_TESSARON");
  EXPECT_EQ(g_strInstaller.OEMColor, u"800080");
  EXPECT_EQ(g_strInstaller.Loading, u"Loading");
  EXPECT_EQ(g_strInstaller.NoticeTitle, u"");

  SetUp();
  Load(Utf16File(u"[Settings]\nOEMCOmpanyIndex=two\n" + rows));
  EXPECT_EQ(g_strInstaller.CompanyIndex, 1);

  SetUp();
  Load(Utf16File(u"[Settings]\nOEMCOmpanyIndex=$2\n" + rows));
  EXPECT_EQ(g_strInstaller.OEMManufactor, u"Two");
}

TEST_F(LangStringsTest, EscapeSequenceBecomesALineBreakOnlyInDialogTexts) {
  Load(
      Utf16File(u"[DialogText]\nInstallRetry=A\\r\\nB\nRestartPrompt=A\\R\\NB\\nC\nLoading=L\\r\\nX\n"
                u"NoticeTitle=N\\r\\n\n[Controls.Installer]\nbtnStart=Go\\r\\nNow\n"));
  EXPECT_EQ(g_strInstaller.InstallRetry, u"A\r\nB");
  EXPECT_EQ(g_strInstaller.RestartPrompt, u"A\r\nB\\nC");
  EXPECT_EQ(g_strInstaller.Loading, u"L\\r\\nX");
  EXPECT_EQ(g_strInstaller.NoticeTitle, u"N\\r\\n");
  FakeMainView view;
  g_LangOptions.LoadControlsCaption(view, u"Controls.Installer");
  EXPECT_EQ(view.Caption(TMainControl::btnStart), u"Go\\r\\nNow");
}

TEST_F(LangStringsTest, MissingFileLoadsNothingAndReadsEmpty) {
  g_LangOptions.LoadFromFile(u"C:\\T\\none.ini");
  EXPECT_FALSE(g_LangOptions.HasFile());
  EXPECT_EQ(g_strInstaller.CompanyIndex, 0);
  EXPECT_EQ(g_strInstaller.OEMBMLogo, u"");
  EXPECT_EQ(g_LangOptions.GetOptionString(u"Settings", u"SetupIni", u"Setup.Ini"), u"");
}

TEST_F(LangStringsTest, ControlCaptionsFollowTheControlKind) {
  Load(
      Utf16File(u"[Controls.Installer]\nlvPrinters=ignored\nstatBarInfo=ignored\nedtInfos=Hints :\n"
                u"grpPrinters=Pick :\nlblReadGuide=Guide\nbtnExit=\ntmrInstallingHints=x\n"));
  FakeMainView view;
  g_LangOptions.LoadControlsCaption(view, u"Controls.Installer");
  EXPECT_EQ(view.FormCaption, u"");  // set even when absent
  EXPECT_EQ(view.Caption(TMainControl::lvPrinters), u"");
  EXPECT_EQ(view.Caption(TMainControl::statBarInfo), u"");
  EXPECT_EQ(view.Caption(TMainControl::edtInfos), u"Hints :");
  EXPECT_EQ(view.Hint(TMainControl::edtInfos), u"Hints :");
  EXPECT_EQ(view.Caption(TMainControl::grpPrinters), u"Pick :");
  EXPECT_EQ(view.Hint(TMainControl::grpPrinters), u"Pick :");
  EXPECT_EQ(view.Caption(TMainControl::lblReadGuide), u"Guide");
  EXPECT_EQ(view.Hint(TMainControl::lblReadGuide), u"");
  EXPECT_EQ(view.Caption(TMainControl::btnExit), u"E&xit");  // empty values are skipped
}

TEST(BrandColor, FallsBackToPurpleForAnythingButBareHex) {
  EXPECT_EQ(BrandColor(u"800080"), 0x800080u);
  EXPECT_EQ(BrandColor(u"ff0000"), 0xFF0000u);
  EXPECT_EQ(BrandColor(u"12"), 0x12u);
  for (const char16_t* bad : {u"", u"zz", u"$12", u"0x12", u"12 34", u"-1", u"12\x0b", u"\t12", u"12\x1a"})
    EXPECT_EQ(BrandColor(bad), 0x800080u);
}

}  // namespace
