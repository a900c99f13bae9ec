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
#include "sysutil/Trace.h"

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
    m_Outcome = TRunOutcome::Failed;
    m_Dialogs.Error(WithRecordLine(e.Message()));
    if (m_Dialogs.Unattended() || m_Command.Command == TRunCommand::Uninstall) FinishUnattended();
  }
}

void TFormMain::StartUp() {
  // The start's lines (its facts, the strings, the package and each model)
  // come in a row: the record stays open until the start is done.
  trace::THold record;
  m_iWinVer = GetWindowsVersion();
  m_bWow64 = IsWow64();
  TraceStartFacts();
  m_iSelect = -1;
  m_slPrintersO.clear();
  m_slPrintersN.clear();

  TString tempPath;
  if (!Sys().GetTempPathLong(tempPath))
    throw Exception(text::Format(SystemUiText(TUiText::StartTempName), {tempPath}) + SystemReason());
  m_strTempDir = workspace::CreateUnique(tempPath);
  if (m_strTempDir.empty())
    throw Exception(text::Format(SystemUiText(TUiText::StartCreateFolder), {tempPath}) + SystemReason());
  if (!workspace::ForceDirectories(m_strTempDir + u"\\Lang"))
    throw Exception(text::Format(SystemUiText(TUiText::StartCreateFolder), {m_strTempDir + u"\\Lang"}) +
                    SystemReason());

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
  trace::Msg(u"Strings file " + suffix.substr(1) + (g_LangOptions.HasFile() ? u" loaded" : u" not readable"));
  ApplyOEMBranding();
  // The maker's brand fades the window in after its splash: it starts
  // transparent. Every other brand shows it opaque at once.
  if (ShowsSplash()) {
    m_View.SetAlphaBlendValue(0);
    m_View.SetAlphaBlend(true);
  }

  m_strSetupIni = paths::ExpandFileName(g_LangOptions.GetOptionString(u"Settings", u"SetupIni", u"Setup.Ini"));
  trace::Msg(u"Package description " + m_strSetupIni);
  if (!Fs().FileExists(m_strSetupIni)) {
    trace::Error(u"The package description does not exist");
    m_Outcome = TRunOutcome::Failed;
    m_Dialogs.Tell(text::Format(SystemUiText(TUiText::SetupIniMissing), {m_strSetupIni}),
                   SystemUiText(TUiText::SetupIniMissingCaption), mb::Ok | mb::IconError);
    m_bFinished = true;
    m_View.Terminate();
  }
  g_InstallInfos.LoadFromFile(m_strSetupIni);
}

void TFormMain::TraceStartFacts() {
  ISystem& sys = Sys();
  std::uint32_t major = 0, minor = 0;
  sys.GetVersionExW(276, major, minor);
  trace::Fmt(
      u"DriverSetup %s starts: %s, Windows %u.%u, WOW64 %d, system language 0x%.4x, UI language 0x%.4x, "
      u"code page %u",
      {kProgramVersion, sys.GetModuleFileName(), major, minor, int(m_bWow64), unsigned(sys.GetSystemDefaultLangID()),
       unsigned(sys.GetUserDefaultUILanguage()), sys.GetACP()});
}

void TFormMain::WriteResource(const TString& name, const TString& path, bool component) {
  std::string bytes;
  if (!Res().LoadRCData(name, bytes))
    throw Exception(text::Format(SystemUiText(TUiText::StartResourceMissing), {name}));
  // The components and the strings files are stored packed.
  std::string unpacked;
  if (!packed::Unpack(bytes, unpacked))
    throw Exception(text::Format(SystemUiText(TUiText::StartResourceDamaged), {name}));
  bool ok;
  if (component) {
    // The components are loaded or started from here later: keep them open
    // so that nobody can swap them in the meantime.
    TFileLock lock;
    ok = Fs().WriteFileLocked(path, unpacked, lock.Receive());
    if (ok) m_ComponentLocks.push_back(std::move(lock));
  } else {
    ok = Fs().WriteFile(path, unpacked);
  }
  if (!ok) throw Exception(text::Format(SystemUiText(TUiText::StartWriteFile), {path}) + SystemReason());
}

bool TFormMain::ShowsSplash() const {
  // A run without a person shows no splash: nobody waits for it.
  if (m_Command.Unattended() || m_Command.Command != TRunCommand::Install) return false;
  return text::ContainsTextAscii(text::UpperAscii(m_strManufactor), u"TESSARON");
}

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
