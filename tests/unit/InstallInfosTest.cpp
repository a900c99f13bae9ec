#include <gtest/gtest.h>

#include "config/InstallInfos.h"
#include "fakes/ScopedMachine.h"
#include "sysutil/Exception.h"

namespace {

class InstallInfosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.sys.ModuleFile = u"C:\\Pkg\\DriverSetup.exe";
    m.sys.LangID = 0x0804;  // the checks' texts in their own language
    m.fs.AddFile(u"C:\\Pkg\\DriverSetup.exe");
    m.fs.AddFile(u"C:\\Pkg\\Drivers\\A.inf");
    m.fs.AddFile(u"C:\\Pkg\\Drivers\\A64.inf");
    infos = TInstallInfos();
  }

  // Loads the text as Setup.ini and returns the raised message, if any.
  TString Load(const TString& ini) {
    m.fs.AddFile(u"C:\\Work\\Setup.ini", Utf16File(ini));
    try {
      infos.LoadFromFile(u"C:\\Work\\Setup.ini");
    } catch (const Exception& e) {
      return e.Message();
    }
    return {};
  }
  static TString Model(const TString& name, const TString& extra = u"") {
    return u"[" + name + u"]\nPrinterName=" + name + u" printer\nPrinterHWID=HW" + name +
           u"\nDriverDir=\\Drivers\nINF.2K=A.inf\nINF.X64=A64.inf\n" + extra;
  }
  TRInstallInfo Item(int i) {
    TRInstallInfo r;
    infos.GetItem(i, r);
    return r;
  }

  ScopedMachine m;
  TInstallInfos infos;
};

TEST_F(InstallInfosTest, MinimalModelGetsTheDocumentedDefaults) {
  EXPECT_EQ(Load(Model(u"M1")), u"");
  ASSERT_EQ(infos.Count(), 1);
  TRInstallInfo r = Item(0);
  EXPECT_EQ(r.PrinterName, u"M1 printer");
  EXPECT_EQ(r.UninstallerOnRestart, u"C:\\Pkg\\I386\\TSPrnUni.exe");
  EXPECT_EQ(r.PrintWidth, 110);
  EXPECT_EQ(r.PrinterType, u"Flat");
  EXPECT_EQ(r.DriverDir, u"C:\\Pkg\\Drivers");
  EXPECT_EQ(r.OfflineHWIDPre, u"SERENUM\\");
  EXPECT_EQ(r.FunctionDescribe, u"平推打印机");
  EXPECT_EQ(r.InstallGuide, u"ReadmeEN.txt");
  EXPECT_EQ(r.QuickGuide, u"");
  EXPECT_EQ(r.DefaultPort, u"USB");
  EXPECT_FALSE(r.ForceOnlineCheck || r.PromptCheck || r.AutoMode || r.QuiteMode || r.AlwaysSetDefault);
  EXPECT_EQ(r.PrintProcess, u"");
}

TEST_F(InstallInfosTest, EachCheckRaisesItsExactMessage) {
  struct Case {
    TString Ini, Message;
  };
  const Case cases[] = {
      {u"[S1]\nPrinterHWID=x\n", u"S1 配置文件出错，打印机名称不存在！"},
      {u"[S2]\nPrinterName=P\n", u"S2 配置文件出错，没有指定打印机硬件ID！"},
      {u"[S3]\nPrinterName=P\nPrinterHWID=H\n", u"S3 配置文件出错，指定的驱动程序文件夹不存在！"},
      {u"[S3b]\nPrinterName=P\nPrinterHWID=H\nDriverDir=*\n", u"S3b 配置文件出错，指定的驱动程序文件夹不存在！"},
      {u"[S3c]\nPrinterName=P\nPrinterHWID=H\nDriverDir=Drivers\n", u"S3c 配置文件出错，指定的驱动程序文件夹不存在！"},
      {u"[S4]\nPrinterName=P\nPrinterHWID=H\nDriverDir=\\Drivers\nINF.2K=A.inf\n",
       u"S4 配置文件出错，没有指定INF文件！"},
      {u"[S5]\nPrinterName=P\nPrinterHWID=H\nDriverDir=\\Drivers\nINF.2K=A.inf\nINF.X64=none.inf\n",
       u"S5 指定的INF文件不存在！"},
      {u"[S5b]\nPrinterName=P\nPrinterHWID=H\nDriverDir=\\Drivers\nINF.2K=none.inf\nINF.X64=A64.inf\n",
       u"S5b 指定的INF文件不存在！"},
  };
  for (const auto& c : cases) {
    infos = TInstallInfos();
    EXPECT_EQ(Load(c.Ini), c.Message) << text::ToUtf8(c.Ini);
  }
}

TEST_F(InstallInfosTest, FaultySectionLeavesEarlierModelsCompleteAndLaterOnesEmpty) {
  EXPECT_EQ(Load(Model(u"A") + u"[B]\nPrinterName=Bee\n" + Model(u"C")), u"B 配置文件出错，没有指定打印机硬件ID！");
  EXPECT_EQ(infos.Count(), 3);
  EXPECT_EQ(infos.CompleteCount(), 1);
  EXPECT_EQ(Item(0).INFX64, u"A64.inf");
  EXPECT_EQ(Item(1).PrinterName, u"Bee");
  EXPECT_EQ(Item(1).PrinterHWID, u"");
  EXPECT_EQ(Item(1).PrintWidth, 0);
  EXPECT_EQ(Item(2).PrinterName, u"");
}

TEST_F(InstallInfosTest, ValuesFollowTheProfileRules) {
  EXPECT_EQ(Load(Model(u"A", u"PrintWidth=0x50\nForceOnlineCheck=7\nQuiteMode=true\nAutoMode=\nPromptCheck=1\n") +
                 Model(u"B", u"PrintWidth=$50\nUninstallerOnRestart=Tools\\Uni.exe\n") +
                 Model(u"C", u"printwidth=abc\nDEFAULTPORT=ADDLOCAL:Port9\n")),
            u"");
  EXPECT_EQ(Item(0).PrintWidth, 80);
  EXPECT_TRUE(Item(0).ForceOnlineCheck);
  EXPECT_FALSE(Item(0).QuiteMode);
  EXPECT_FALSE(Item(0).AutoMode);
  EXPECT_TRUE(Item(0).PromptCheck);
  EXPECT_EQ(Item(1).PrintWidth, 80);
  EXPECT_EQ(Item(1).UninstallerOnRestart, u"C:\\Pkg\\Tools\\Uni.exe");
  EXPECT_EQ(Item(2).PrintWidth, 110);
  EXPECT_EQ(Item(2).DefaultPort, u"ADDLOCAL:Port9");
}

TEST_F(InstallInfosTest, LanguageSuffixSelectsTheKeysWithoutFallback) {
  const TString extra = u"FunctionDescribe.EN=english\nFunctionDescribe.SC=简体\nInstallGuide.TC=繁體.txt\n";
  struct Case {
    std::uint16_t Lang;
    TString Suffix, Describe, Guide;
  };
  const Case cases[] = {
      {0x0C04, u"TC", u"平推打印机", u"繁體.txt"}, {0x1404, u"TC", u"平推打印机", u"繁體.txt"},
      {0x0404, u"TC", u"平推打印机", u"繁體.txt"}, {0x1004, u"SC", u"简体", u"ReadmeEN.txt"},
      {0x0804, u"SC", u"简体", u"ReadmeEN.txt"},   {0x0411, u"EN", u"english", u"ReadmeEN.txt"},
  };
  for (const auto& c : cases) {
    g_SysLangID = c.Lang;
    infos = TInstallInfos();
    ASSERT_EQ(Load(Model(u"A", extra)), u"");
    EXPECT_EQ(TInstallInfos::GetLangSuffix(), c.Suffix);
    EXPECT_EQ(Item(0).FunctionDescribe, c.Describe) << c.Lang;
    EXPECT_EQ(Item(0).InstallGuide, c.Guide) << c.Lang;
  }
}

TEST_F(InstallInfosTest, GetItemOutOfRangeRaisesAndLeavesTheRecord) {
  ASSERT_EQ(Load(Model(u"A") + Model(u"B") + Model(u"C")), u"");
  TRInstallInfo r;
  r.PrinterName = u"keep";
  try {
    infos.GetItem(3, r);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"获取设置组的时候超出索引，最大为2，输入为3");
  }
  EXPECT_THROW(infos.GetItem(-1, r), Exception);
  EXPECT_EQ(r.PrinterName, u"keep");
}

TEST_F(InstallInfosTest, StrayEmptyHeadersAreNoModels) {
  EXPECT_EQ(Load(Model(u"A") + u"[]\nPrinterName=lost\n[  ]\n" + Model(u"B")), u"");
  ASSERT_EQ(infos.Count(), 2);
  EXPECT_EQ(Item(0).PrinterName, u"A printer");
  EXPECT_EQ(Item(1).PrinterName, u"B printer");
}

TEST_F(InstallInfosTest, EmptyOrMissingFileLoadsNothing) {
  EXPECT_EQ(Load(u"; nothing here\n"), u"");
  EXPECT_EQ(infos.Count(), 0);
  infos.LoadFromFile(u"C:\\Work\\none.ini");
  EXPECT_EQ(infos.Count(), 0);
}

}  // namespace
