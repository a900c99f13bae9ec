#include "installer/uWelcome.h"

#include "config/LangStrings.h"

void TfrmWelcome::FormCreate() {
  m_iTimes = 0;
  m_iInteve = kDefaultInterval;
  m_View.ShowPicture(0);
  m_View.SetTitle(
      g_LangOptions.GetOptionString(u"OEMCOmpany", u"MainTitle." + text::IntToStr(g_strInstaller.CompanyIndex), u""));
  m_View.SetLoadingText(g_strInstaller.Loading);
  m_View.SetTimerInterval(kFirstTickMs);
}

void TfrmWelcome::tmrShowTimer() {
  if (m_iTimes == kPictureCount) {
    m_iTimes = 0;
    m_View.StopTimer();
    m_View.Close();
    return;
  }
  if (m_iTimes >= 1 && m_iTimes < kPictureCount) m_View.ShowPicture(m_iTimes);
  m_View.SetLoadingText(g_strInstaller.Loading + u" " + TString(static_cast<size_t>(m_iTimes) + 1, u'.'));
  m_View.SetTimerInterval(static_cast<std::uint32_t>(m_iInteve));
  ++m_iTimes;
}

void TfrmWelcome::img1DblClick() {
  m_iInteve = kFastInterval;
  m_View.SetTimerInterval(kFastInterval);
}
