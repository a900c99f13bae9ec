#include "installer/uMain.h"

#include "config/LangStrings.h"
#include "installer/PackedData.h"
#include "installer/Workspace.h"
#include "platform/IFileSystem.h"
#include "platform/IResources.h"
#include "platform/ISystem.h"
#include "sysutil/Exception.h"
#include "sysutil/MyUtils.h"
#include "sysutil/Paths.h"

namespace {

TString SystemReason() {
  std::uint32_t err = Sys().GetLastError();
  return err ? u": " + Sys().SysErrorMessage(err) : TString();
}

}  // namespace

void TFormMain::FormCreate() {
  try {
    StartUp();
  } catch (const Exception& e) {
    // The remaining steps are skipped; the window still shows what was prepared.
    m_View.ShowErrorBox(e.Message());
  }
}

void TFormMain::StartUp() {
  m_iWinVer = GetWindowsVersion();
  m_bWow64 = IsWow64();
  m_iSelect = -1;
  m_slPrintersO.clear();
  m_slPrintersN.clear();

  TString tempPath;
  if (!Sys().GetTempPathLong(tempPath)) throw Exception(u"Cannot reserve a temporary name" + SystemReason());
  m_strTempDir = workspace::CreateUnique(tempPath);
  if (m_strTempDir.empty()) throw Exception(u"Cannot create a workspace folder in " + tempPath + SystemReason());
  if (!workspace::ForceDirectories(m_strTempDir + u"\\Lang"))
    throw Exception(u"Cannot create the folder " + m_strTempDir + u"\\Lang" + SystemReason());

  const TString suffix = GetSystemLangCode(u"_");
  m_strLangIni = m_strTempDir + u"\\Lang" + u"\\Strings.ini";
  WriteResource(u"RC_STRINGS_INI" + suffix, m_strLangIni, false);

  m_strInst2kDll = m_strTempDir + u"\\inst2k.dll";
  WriteResource(u"INST2KDLL", m_strInst2kDll, true);
  m_strInst2k64Dll = m_strTempDir + u"\\inst2k64.dll";
  WriteResource(u"INST2K64DLL", m_strInst2k64Dll, true);
  m_strPrnSetup64Exe = m_strTempDir + u"\\PrnSetup64.exe";
  WriteResource(u"PRNSETUP64EXE", m_strPrnSetup64Exe, true);

  g_LangOptions.LoadFromFile(m_strLangIni);
  ApplyOEMBranding();
  // The maker's brand fades the window in after its splash: it starts
  // transparent. Every other brand shows it opaque at once.
  if (ShowsSplash()) {
    m_View.SetAlphaBlendValue(0);
    m_View.SetAlphaBlend(true);
  }

  m_strSetupIni = paths::ExpandFileName(g_LangOptions.GetOptionString(u"Settings", u"SetupIni", u"Setup.Ini"));
  if (!Fs().FileExists(m_strSetupIni)) {
    m_View.ShowMessageBox(text::Format(u"指定的配置文件（%s）不存在，程序將退出！", {m_strSetupIni}), u"出錯了",
                          mb::Ok | mb::IconError);
    m_View.Terminate();
  }
  g_InstallInfos.LoadFromFile(m_strSetupIni);
}

void TFormMain::WriteResource(const TString& name, const TString& path, bool component) {
  std::string bytes;
  if (!Res().LoadRCData(name, bytes)) throw Exception(u"The program lacks its resource " + name + u".");
  bool ok;
  if (component) {
    // The components are stored packed, and loaded or started from here
    // later: keep them open so that nobody can swap them in the meantime.
    std::string unpacked;
    if (!packed::Unpack(bytes, unpacked)) throw Exception(u"The program's resource " + name + u" is damaged.");
    TFileLock lock;
    ok = Fs().WriteFileLocked(path, unpacked, lock.Receive());
    if (ok) m_ComponentLocks.push_back(std::move(lock));
  } else {
    ok = Fs().WriteFile(path, bytes);
  }
  if (!ok) throw Exception(u"Cannot write the file " + path + SystemReason());
}

bool TFormMain::ShowsSplash() const { return text::ContainsTextAscii(text::UpperAscii(m_strManufactor), u"TESSARON"); }

void TFormMain::ApplyOEMBranding() {
  const strInstaller& s = g_strInstaller;
  m_View.LoadLogoBitmap(s.OEMBMLogo);
  m_strManufactor = s.OEMManufactor;
  m_strLogoURL = s.OEMLogoUrl;

  const std::uint32_t color = BrandColor(s.OEMColor);
  m_View.SetFontColor(TMainControl::edtInfos, color);
  m_View.SetFontColor(TMainControl::lblMainTitle, color);
  m_View.SetFontColor(TMainControl::grpPrinters, color);
  m_View.SetCaption(TMainControl::lblMainTitle, s.OEMMainTitle);

  // Title and links from left to right; the hidden quick-guide label keeps
  // its place. The widths are those of the design-time captions.
  const int titleLeft = m_View.Left(TMainControl::imgLogo) + m_View.Width(TMainControl::imgLogo) + 20;
  m_View.SetLeft(TMainControl::lblMainTitle, titleLeft);
  m_View.SetLeft(TMainControl::lblReadGuide, titleLeft);
  const int quickLeft = titleLeft + m_View.Width(TMainControl::lblReadGuide) + 5;
  m_View.SetLeft(TMainControl::lblReadQuickGuide, quickLeft);
  m_View.SetLeft(TMainControl::lblReadManual, quickLeft + m_View.Width(TMainControl::lblReadQuickGuide) + 5);

  g_LangOptions.LoadControlsCaption(m_View, u"Controls.Installer");
}

void TFormMain::FormDestroy() {
  m_slPrintersO.clear();
  m_slPrintersN.clear();
  m_hPrnSetup64.Stop();
  m_ComponentLocks.clear();
  if (!m_strTempDir.empty()) workspace::DeleteTree(m_strTempDir);
}
