#include <gtest/gtest.h>

#include <algorithm>

#include "config/InstallInfos.h"
#include "config/LangStrings.h"
#include "fakes/FakeMainView.h"
#include "fakes/Packed.h"
#include "fakes/ScopedMachine.h"
#include "installer/SingleInstance.h"
#include "installer/uMain.h"

namespace {

const TString kTemp = u"C:\\Users\\me\\AppData\\Local\\Temp\\";

TString StringsFile(int row, const TString& extra = u"") {
  return u"[Settings]\nSetupIni=Setup.ini\nOEMCOmpanyIndex=" + text::IntToStr(row) +
         u"\n[OEMCOmpany]\nName.1=Tessaron\nLogo.1=BM_LOGO_TESSARON\nLogoURL.1=http://t.example/\n"
         u"MainTitle.1=Welcome\nColor.1=00FF00\nName.5=Meridex\nLogo.5=BM_LOGO_MERIDEX\nMainTitle.5=Meridex "
         u"title\nColor.5=nothex\n[Controls.Installer]\nProgramTitle=Setup title\nbtnStart=Install\n"
         u"grpPrinters=Select printer :\nedtInfos=Hints :\n[DialogText]\nClickInstallToStart=Click Install.\n"
         u"SelectAPrinterDriver=Select one.\nInstalling=Installing\nInstallEnd=Done\n" +
         extra;
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.sys.TempPath = kTemp;
    m.fs.AddDir(kTemp);
    m.fs.AddFile(u"C:\\Pkg\\DriverSetup.exe");
    m.fs.AddFile(u"C:\\Pkg\\Drivers\\A.inf");
    m.fs.AddFile(u"C:\\Pkg\\Docs\\guide.txt");
    res.Data[u"RC_STRINGS_INI_EN"] = Packed(Utf16File(StringsFile(5)));
    res.Data[u"RC_STRINGS_INI_CN"] = Packed(Utf16File(StringsFile(5, u"[Zh]\nLang=CN\n")));
    res.Data[u"RC_STRINGS_INI_CHT"] = Packed(Utf16File(StringsFile(5, u"[Zh]\nLang=CHT\n")));
    res.Data[u"INST2KDLL"] = Packed(std::string("MZ32\0bytes", 10));
    res.Data[u"INST2K64DLL"] = Packed("MZ64");
    res.Data[u"PRNSETUP64EXE"] = Packed("MZexe");
    view.OnSelect = [this](int i, bool sel) { form.lvPrintersSelectItem(i, sel); };
  }

  void Package(const TString& sections) { m.fs.AddFile(u"C:\\Work\\Setup.ini", Utf16File(sections)); }
  static TString Model(const TString& key, const TString& extra = u"") {
    return u"[" + key + u"]\nPrinterName=" + key +
           u" model\nPrinterHWID=HW\nDriverDir=\\Drivers\nINF.2K=A.inf\n"
           u"INF.X64=A.inf\nFunctionDescribe.EN=" +
           key + u" describes\n" + extra;
  }

  ScopedMachine m;
  FakeResources& res = m.res;
  FakeShell& shell = m.shell;
  FakeMainView view;
  TFormMain form{view};
};

TEST_F(MainFormTest, StartUpPreparesWorkspaceStringsAndModels) {
  Package(Model(u"A") + Model(u"B"));
  form.FormCreate();
  ASSERT_TRUE(view.Errors.empty()) << text::ToUtf8(view.Errors[0]);
  EXPECT_TRUE(view.AlphaValues.empty());  // no splash for this brand: opaque from the start
  EXPECT_FALSE(view.AlphaBlend);
  EXPECT_EQ(form.m_iSelect, -1);
  EXPECT_EQ(form.m_iWinVer, 61);
  EXPECT_EQ(m.sys.LastVersionStructSize, 276u);

  EXPECT_EQ(form.m_strTempDir, kTemp + u"tmp1A2B");
  EXPECT_FALSE(m.fs.FileExists(kTemp + u"tmp1A2B.tmp")) << "the workspace holds the name";
  EXPECT_EQ(form.m_strLangIni, kTemp + u"tmp1A2B\\Lang\\Strings.ini");
  EXPECT_EQ(Packed(m.fs.Contents(form.m_strLangIni)), res.Data[u"RC_STRINGS_INI_EN"]);
  EXPECT_EQ(m.fs.Contents(form.m_strInst2kDll), std::string("MZ32\0bytes", 10));
  EXPECT_EQ(m.fs.Contents(kTemp + u"tmp1A2B\\inst2k64.dll"), "MZ64");
  EXPECT_EQ(m.fs.Contents(form.m_strPrnSetup64Exe), "MZexe");
  // The components stay locked against replacement while the program runs.
  EXPECT_TRUE(m.fs.IsLocked(form.m_strInst2kDll));
  EXPECT_TRUE(m.fs.IsLocked(form.m_strInst2k64Dll));
  EXPECT_TRUE(m.fs.IsLocked(form.m_strPrnSetup64Exe));

  EXPECT_EQ(view.FormCaption, u"Setup title");
  EXPECT_EQ(view.LoadedLogo, u"BM_LOGO_MERIDEX");
  EXPECT_EQ(form.m_strManufactor, u"Meridex");
  EXPECT_EQ(view.Caption(TMainControl::lblMainTitle), u"Meridex title");
  EXPECT_EQ(form.m_strSetupIni, u"C:\\Work\\Setup.ini");
  EXPECT_EQ(g_InstallInfos.Count(), 2);
  EXPECT_FALSE(view.Terminated);

  // The start's record lines (its facts, the strings, the package, the model
  // count and each model), the record opened once for all of them.
  const std::string record = m.record.Text();
  EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 6) << record;
  EXPECT_LT(record.find("A model"), record.find("B model"));
  EXPECT_EQ(m.record.Opens, 1);
  EXPECT_FALSE(m.record.Keep);
}

TEST_F(MainFormTest, LanguagePicksTheStringsResource) {
  const std::pair<std::uint16_t, const char16_t*> cases[] = {{0x0404, u"CHT"}, {0x0C04, u"CHT"}, {0x1404, u"CHT"},
                                                             {0x0804, u"CN"},  {0x1004, u"CN"},  {0x0411, u"EN"}};
  for (auto [lang, code] : cases) {
    m.sys.LangID = lang;
    FakeMainView v;
    TFormMain f(v);
    f.FormCreate();
    EXPECT_EQ(Packed(m.fs.Contents(f.m_strLangIni)), res.Data[TString(u"RC_STRINGS_INI_") + code]) << lang;
  }
}

TEST_F(MainFormTest, MissingPackageDescriptionNamesTheFullPathAndEnds) {
  m.sys.LangID = 0x0404;  // the box's own language: word for word
  m.sys.CurrentDir = u"D:\\Elsewhere";
  m.fs.CurrentDir = u"D:\\Elsewhere";
  m.fs.AddDir(u"D:\\Elsewhere");
  Package(Model(u"A"));  // lies in C:\Work, not in the current folder
  form.FormCreate();
  ASSERT_EQ(view.Boxes.size(), 1u);
  EXPECT_EQ(view.Boxes[0].Text, u"指定的配置文件（D:\\Elsewhere\\Setup.ini）不存在，程序將退出！");
  EXPECT_EQ(view.Boxes[0].Caption, u"出錯了");
  EXPECT_EQ(view.Boxes[0].Flags & 0xF0, mb::IconError);
  EXPECT_TRUE(view.Terminated);
  EXPECT_EQ(g_InstallInfos.Count(), 0);
  EXPECT_TRUE(m.fs.DirectoryExists(form.m_strTempDir));  // created all the same
}

TEST_F(MainFormTest, StartUpErrorsAreShownAndStopTheRemainingSteps) {
  res.Data.erase(u"INST2K64DLL");
  Package(Model(u"A"));
  form.FormCreate();
  ASSERT_EQ(view.Errors.size(), 1u);
  EXPECT_NE(view.Errors[0].find(u"INST2K64DLL"), TString::npos);
  EXPECT_TRUE(m.fs.FileExists(form.m_strInst2kDll));
  EXPECT_EQ(view.LoadedLogo, u"");  // branding never ran
  EXPECT_EQ(g_InstallInfos.Count(), 0);

  FakeMainView v1;
  TFormMain f1(v1);
  res.Data[u"INST2K64DLL"] = "MZ64";  // stored as it is, not packed
  f1.FormCreate();
  ASSERT_EQ(v1.Errors.size(), 1u);
  EXPECT_NE(v1.Errors[0].find(u"INST2K64DLL"), TString::npos);
  EXPECT_FALSE(m.fs.FileExists(f1.m_strInst2k64Dll));

  FakeMainView v2;
  TFormMain f2(v2);
  m.sys.TempNameFails = true;
  f2.FormCreate();
  ASSERT_EQ(v2.Errors.size(), 1u);
  EXPECT_EQ(f2.m_strTempDir, u"");
}

TEST_F(MainFormTest, FaultySectionIsReportedAndOnlyCompleteModelsAreListed) {
  m.sys.LangID = 0x0804;
  Package(Model(u"A") + u"[B]\nPrinterName=B model\n" + Model(u"C"));
  form.FormCreate();
  ASSERT_EQ(view.Errors.size(), 1u);
  EXPECT_TRUE(view.Errors[0].starts_with(u"B 配置文件出错，没有指定打印机硬件ID！\r\n"))
      << text::ToUtf8(view.Errors[0]);
  form.FormActivate();
  EXPECT_EQ(view.ListItems, (std::vector<TString>{u"A model"}));
  EXPECT_EQ(form.m_iSelect, 0);
}

TEST_F(MainFormTest, TwoInstallersGetTwoWorkspaces) {
  Package(Model(u"A"));
  form.FormCreate();
  FakeMainView v2;
  TFormMain f2(v2);
  m.sys.NextTempNumber = 0x1A2B;  // the first installer's name, free again once its reservation is gone
  f2.FormCreate();
  EXPECT_NE(form.m_strTempDir, f2.m_strTempDir);
  EXPECT_TRUE(m.fs.DirectoryExists(f2.m_strTempDir));
  EXPECT_FALSE(m.fs.FileExists(kTemp + u"tmp1A2B.tmp"));
  EXPECT_FALSE(m.fs.FileExists(f2.m_strTempDir + u".tmp"));
}

TEST_F(MainFormTest, ASecondInstallerShowsTheFirstAndEnds) {
  ASSERT_TRUE(single::ClaimInstall(u"Main"));
  m.sys.WindowClasses.insert(u"Main");
  EXPECT_FALSE(single::ClaimInstall(u"Main"));
  EXPECT_EQ(m.sys.BroughtToFront, std::vector<TString>{u"Main"});
}

TEST_F(MainFormTest, CleanUpRemovesTheWorkspaceButNeverFollowsLinks) {
  Package(Model(u"A"));
  form.FormCreate();
  const TString ws = form.m_strTempDir;
  m.fs.AddFile(u"C:\\Important\\keep.txt", "precious");
  m.fs.AddLink(ws + u"\\Lang\\escape");  // a junction to C:\Important
  m.fs.AddFile(ws + u"\\sub\\deep\\file.bin", "x");
  form.FormDestroy();
  EXPECT_FALSE(m.fs.DirectoryExists(ws));
  EXPECT_EQ(m.fs.Contents(u"C:\\Important\\keep.txt"), "precious");
}

TEST_F(MainFormTest, CleanUpSkipsWhatCannotBeDeleted) {
  Package(Model(u"A"));
  form.FormCreate();
  const TString ws = form.m_strTempDir;
  m.fs.Undeletable.insert(FakeFileSystem::Key(ws + u"\\inst2k.dll"));
  form.FormDestroy();
  EXPECT_TRUE(m.fs.FileExists(ws + u"\\inst2k.dll"));
  EXPECT_FALSE(m.fs.FileExists(ws + u"\\PrnSetup64.exe"));
  EXPECT_FALSE(m.fs.DirectoryExists(ws + u"\\Lang"));
}

TEST_F(MainFormTest, BrandingColoursAndPlacesTheTitle) {
  Package(Model(u"A"));
  view.LogoWidth = 400;  // a very wide logo
  form.FormCreate();
  for (auto c : {TMainControl::edtInfos, TMainControl::lblMainTitle, TMainControl::grpPrinters})
    EXPECT_EQ(view.Ctl(c).Color, 0x800080u);  // "nothex" is no colour: purple
  // After the logo, at the design's places and widths.
  const int title = MainDesign(TMainControl::imgLogo).Left + 400 + 20;
  const int quick = title + MainDesign(TMainControl::lblReadGuide).Width() + 5;
  EXPECT_EQ(view.Left(TMainControl::lblMainTitle), title);
  EXPECT_EQ(view.Left(TMainControl::lblReadGuide), title);
  EXPECT_EQ(view.Left(TMainControl::lblReadQuickGuide), quick);
  EXPECT_EQ(view.Left(TMainControl::lblReadManual), quick + MainDesign(TMainControl::lblReadQuickGuide).Width() + 5);
}

TEST_F(MainFormTest, MakersBrandShowsTheSplashAndFadesIn) {
  res.Data[u"RC_STRINGS_INI_EN"] = Packed(Utf16File(StringsFile(1)));
  Package(Model(u"A") + Model(u"B"));
  form.FormCreate();
  EXPECT_EQ(view.AlphaValues, std::vector<int>{0});  // transparent until the splash is over
  EXPECT_TRUE(view.AlphaBlend);
  view.Events.clear();
  view.AlphaValues.clear();
  form.FormActivate();
  ASSERT_EQ(view.Splashes, std::vector<std::uint32_t>{0x00FF00});
  EXPECT_EQ(view.AlphaValues, (std::vector<int>{40, 70, 100, 130, 150, 170, 190, 200, 210, 230, 240, 250}));
  EXPECT_EQ(view.Events[0], u"splash");
  EXPECT_EQ(view.Events[1], u"alpha 40");
  EXPECT_EQ(view.Events[2], u"sleep 60");
  EXPECT_EQ(view.Events[3], u"messages");
  EXPECT_FALSE(view.AlphaBlend);
  EXPECT_EQ(view.ListItems, (std::vector<TString>{u"A model", u"B model"}));
  form.FormActivate();  // at most once
  EXPECT_EQ(view.Splashes.size(), 1u);
  EXPECT_EQ(view.ListItems.size(), 2u);
}

TEST_F(MainFormTest, OtherBrandsAreOpaqueAtOnce) {
  Package(Model(u"A"));
  form.FormCreate();
  view.AlphaValues.clear();
  form.FormActivate();
  EXPECT_TRUE(view.Splashes.empty());
  EXPECT_TRUE(view.AlphaValues.empty());
  EXPECT_FALSE(view.AlphaBlend);
}

TEST_F(MainFormTest, SelectionShowsTheModelAndEnablesExistingLinks) {
  Package(Model(u"A", u"InstallGuide.EN=C:\\Pkg\\Docs\\guide.txt\nUserManual.EN=C:\\Pkg\\Docs\\none.txt\n") +
          Model(u"B", u"InstallGuide.EN=..\\Pkg\\Docs\\guide.txt\n"));
  form.FormCreate();
  form.FormActivate();
  EXPECT_EQ(form.m_iSelect, 0);
  EXPECT_EQ(view.Status, u"A describes");
  EXPECT_EQ(view.Caption(TMainControl::grpPrinters), u"Select printer :A model");
  EXPECT_EQ(view.Caption(TMainControl::edtInfos), u"Hints :Click Install.");
  EXPECT_TRUE(view.Enabled(TMainControl::btnStart));
  EXPECT_TRUE(view.Enabled(TMainControl::lblReadGuide));
  EXPECT_FALSE(view.Enabled(TMainControl::lblReadQuickGuide));  // empty
  EXPECT_FALSE(view.Enabled(TMainControl::lblReadManual));      // does not exist
  EXPECT_EQ(view.Hint(TMainControl::lblReadManual), u"C:\\Pkg\\Docs\\none.txt");

  view.SelectListItem(1);  // relative to the current folder C:\Work
  EXPECT_TRUE(view.Enabled(TMainControl::lblReadGuide));
  EXPECT_EQ(view.Caption(TMainControl::grpPrinters), u"Select printer :B model");

  view.Selected = -1;
  form.lvPrintersSelectItem(1, false);
  EXPECT_EQ(form.m_iSelect, -1);
  EXPECT_EQ(view.Status, u"");
  EXPECT_EQ(view.Caption(TMainControl::grpPrinters), u"Select printer :");
  EXPECT_EQ(view.Caption(TMainControl::edtInfos), u"Hints :Select one.");
  EXPECT_FALSE(view.Enabled(TMainControl::btnStart));
  EXPECT_FALSE(view.Enabled(TMainControl::lblReadGuide));
  EXPECT_EQ(view.Hint(TMainControl::lblReadGuide), u"");
}

TEST_F(MainFormTest, EmptyPackageSelectsNothing) {
  Package(u"");
  form.FormCreate();
  form.FormActivate();
  EXPECT_TRUE(view.ListItems.empty());
  EXPECT_EQ(form.m_iSelect, -1);
  EXPECT_TRUE(view.Enabled(TMainControl::btnStart));
  form.lblReadGuideClick();
  EXPECT_TRUE(shell.Opened.empty());
}

TEST_F(MainFormTest, LinksAndLogoGoToTheShellAndHoverShowsTheirTargets) {
  res.Data[u"RC_STRINGS_INI_EN"] = Packed(Utf16File(StringsFile(1)));
  Package(Model(u"A", u"InstallGuide.EN=Docs\\g.txt\nQuickGuide.EN=q.txt\nUserManual.EN=m.txt\n"));
  form.FormCreate();
  form.FormActivate();
  form.lblReadGuideClick();
  form.lblReadQuickGuideClick();
  form.lblReadManualClick();
  form.imgLogoClick();
  ASSERT_EQ(shell.Opened.size(), 4u);
  EXPECT_EQ(shell.Opened[0], (std::pair<THandle, TString>{0x4242, u"Docs\\g.txt"}));
  EXPECT_EQ(shell.Opened[1].second, u"q.txt");
  EXPECT_EQ(shell.Opened[2].second, u"m.txt");
  EXPECT_EQ(shell.Opened[3].second, u"http://t.example/");

  form.imgLogoMouseMove();
  EXPECT_EQ(view.Hint(TMainControl::imgLogo), u"http://t.example/");
  EXPECT_EQ(view.Status, u"http://t.example/");
  form.LblMouseMove(TMainControl::lblReadGuide);
  EXPECT_EQ(view.Ctl(TMainControl::lblReadGuide).Color, 0xFF0000u);
  EXPECT_EQ(view.Status, u"Docs\\g.txt");
  form.LblMouseLeave(TMainControl::lblReadGuide);
  EXPECT_EQ(view.Ctl(TMainControl::lblReadGuide).Color, 0u);
  EXPECT_EQ(view.Status, u"");
}

TEST_F(MainFormTest, LogoWithoutLinkDoesNothing) {
  Package(Model(u"A"));
  form.FormCreate();
  view.Status = u"before";
  form.imgLogoClick();
  form.imgLogoMouseMove();
  EXPECT_TRUE(shell.Opened.empty());
  EXPECT_EQ(view.Status, u"before");
}

TEST_F(MainFormTest, StatusAnimationCountsOnAcrossInstalls) {
  Package(Model(u"A"));
  form.FormCreate();
  std::vector<TString> seen;
  form.Session().Enter(TInstallPhase::Running);
  view.HintsTimer = true;
  for (int i = 0; i < 9; ++i) {
    form.tmrInstallingHintsTimer();
    seen.push_back(view.Status);
  }
  EXPECT_EQ(seen[0], u"Installing ");
  EXPECT_EQ(seen[1], u"Installing .");
  EXPECT_EQ(seen[6], u"Installing ......");
  EXPECT_EQ(seen[7], u"Installing ");
  EXPECT_EQ(seen[8], u"Installing .");
  form.Session().Enter(TInstallPhase::Idle);
  form.tmrInstallingHintsTimer();
  EXPECT_EQ(view.Status, u"Done");
  EXPECT_FALSE(view.HintsTimer);
  form.Session().Enter(TInstallPhase::Running);  // the next install goes on counting
  form.tmrInstallingHintsTimer();
  EXPECT_EQ(view.Status, u"Installing ..");
}

}  // namespace
