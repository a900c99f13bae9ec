// The main window's behaviour after start-up: first activation, the model
// list, the links and the status-bar animation.
#include "config/LangStrings.h"
#include "installer/uMain.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "sysutil/Paths.h"

void TFormMain::FormActivate() {
  if (m_bActivated) return;
  m_bActivated = true;

  if (ShowsSplash()) {
    m_View.ShowWelcomeSplash(BrandColor(g_strInstaller.OEMColor));
    for (std::uint8_t alpha : kFadeSteps) {
      m_View.SetAlphaBlendValue(alpha);
      m_View.Sleep(60);
      m_View.ProcessMessages();
    }
  }
  m_View.SetAlphaBlend(false);

  // A faulty section stopped the loading at start: the models after it were
  // never read and the faulty one only in part, so only complete models are
  // offered.
  TRInstallInfo info;
  std::vector<TString> names;
  for (int i = 0; i < g_InstallInfos.CompleteCount(); ++i) {
    g_InstallInfos.GetItem(i, info);
    names.push_back(info.PrinterName);
  }
  m_View.SetListItems(names);
  // The model the command line named, else the first.
  if (m_View.ListCount() > 0)
    m_View.SelectListItem(m_iPreselect >= 0 && m_iPreselect < m_View.ListCount() ? m_iPreselect : 0);
  m_iSelect = m_View.SelectedIndex();
}

void TFormMain::lvPrintersSelectItem(int index, bool selected) {
  m_iSelect = selected ? index : m_View.SelectedIndex();
  const TMainControl links[] = {TMainControl::lblReadGuide, TMainControl::lblReadQuickGuide,
                                TMainControl::lblReadManual};
  if (m_iSelect >= 0) {
    TRInstallInfo info;
    g_InstallInfos.GetItem(m_iSelect, info);
    m_View.SetStatusText(info.FunctionDescribe);
    m_View.SetHint(TMainControl::lblReadGuide, info.InstallGuide);
    m_View.SetHint(TMainControl::lblReadQuickGuide, info.QuickGuide);
    m_View.SetHint(TMainControl::lblReadManual, info.UserManual);
    m_View.SetEnabled(TMainControl::btnStart, true);
    m_View.SetCaption(TMainControl::grpPrinters,
                      m_View.Hint(TMainControl::grpPrinters) + m_View.ListItemCaption(m_iSelect));
    m_View.SetCaption(TMainControl::edtInfos, m_View.Hint(TMainControl::edtInfos) + g_strInstaller.ClickInstallToStart);
  } else {
    m_View.SetStatusText(u"");
    for (auto l : links) m_View.SetHint(l, u"");
    m_View.SetEnabled(TMainControl::btnStart, false);
    m_View.SetCaption(TMainControl::grpPrinters, m_View.Hint(TMainControl::grpPrinters));
    m_View.SetCaption(TMainControl::edtInfos,
                      m_View.Hint(TMainControl::edtInfos) + g_strInstaller.SelectAPrinterDriver);
  }
  for (auto l : links) {
    TString file = m_View.Hint(l);
    m_View.SetEnabled(l, !file.empty() && Fs().FileExists(paths::ExpandFileName(file)));
  }
}

void TFormMain::lvPrintersChange() { m_iSelect = m_View.SelectedIndex(); }

void TFormMain::OpenLink(const TString& file) { ShellPort().ShellOpen(m_View.WindowHandle(), file); }

void TFormMain::OpenDocument(TString TRInstallInfo::*document) {
  if (m_iSelect < 0 || m_iSelect >= g_InstallInfos.Count()) return;
  TRInstallInfo info;
  g_InstallInfos.GetItem(m_iSelect, info);
  OpenLink(info.*document);
}

void TFormMain::lblReadGuideClick() { OpenDocument(&TRInstallInfo::InstallGuide); }
void TFormMain::lblReadQuickGuideClick() { OpenDocument(&TRInstallInfo::QuickGuide); }
void TFormMain::lblReadManualClick() { OpenDocument(&TRInstallInfo::UserManual); }

void TFormMain::imgLogoClick() {
  if (!m_strLogoURL.empty()) OpenLink(m_strLogoURL);
}

void TFormMain::imgLogoMouseMove() {
  if (m_strLogoURL.empty()) return;
  m_View.SetHint(TMainControl::imgLogo, m_strLogoURL);
  m_View.SetStatusText(m_strLogoURL);
}

void TFormMain::LblMouseMove(TMainControl label) {
  m_View.SetFontColor(label, 0xFF0000);
  m_View.SetStatusText(m_View.Hint(label));
}

void TFormMain::LblMouseLeave(TMainControl label) {
  m_View.SetFontColor(label, 0);
  m_View.SetStatusText(u"");
}

void TFormMain::tmrInstallingHintsTimer() {
  if (m_InstallingProgress == TInstallProgress::IPInstalling) {
    m_View.SetStatusText(g_strInstaller.Installing + u" " + TString(static_cast<size_t>(m_iHintsCounter), u'.'));
    if (++m_iHintsCounter > 6) m_iHintsCounter = 0;
    return;
  }
  m_View.SetInstallingHintsTimer(false);
  m_View.SetStatusText(g_strInstaller.InstallEnd);
}
