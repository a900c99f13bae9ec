#include "installer/InstallSession.h"

namespace {

constexpr std::uint32_t kStillActive = 259;  // STILL_ACTIVE

}  // namespace

void THostProcess::Watch(THandle process) {
  m_Process.Reset(process);
  m_View.SetSetup64ErrorTimer(true);
}

bool THostProcess::Running() const {
  std::uint32_t exitCode = 0;
  return m_Process && Proc().GetExitCodeProcess(m_Process.Get(), exitCode) && exitCode == kStillActive;
}

void THostProcess::Stop() {
  m_View.SetSetup64ErrorTimer(false);
  m_Process.Reset();
}

void TInstallSession::Enter(TInstallPhase phase) {
  const TInstallPhase from = std::exchange(m_Phase, phase);
  switch (phase) {
    case TInstallPhase::Asking:
      InstallInf.clear();  // each attempt starts from the package's own names
      return;
    case TInstallPhase::WaitingForHost:
      return;
    case TInstallPhase::Running:
      m_View.SetEnabled(TMainControl::btnStart, false);
      m_View.SetEnabled(TMainControl::btnExit, false);
      m_View.SetEnabled(TMainControl::lvPrinters, false);
      m_View.SetBusyCursor(true);
      m_Progress = TInstallProgress::IPInstalling;
      m_View.SetInstallingHintsTimer(true);
      return;
    case TInstallPhase::Idle:
      // The searching dialog hides the window while the user is asked; a
      // failure there must not leave it hidden. Nothing else was locked yet.
      if (!m_View.Visible() && !m_KeepHidden) m_View.SetVisible(true);
      if (from == TInstallPhase::Asking) return;
      m_Host.Stop();
      m_Progress = TInstallProgress::IPInstalled;
      m_View.SetEnabled(TMainControl::btnStart, true);
      m_View.SetEnabled(TMainControl::btnExit, true);
      m_View.SetEnabled(TMainControl::lvPrinters, true);
      m_View.SetBusyCursor(false);
      return;
  }
}
