// One install of the main window: its phase, changed in one place together
// with the window's state for it; the 64-bit host with its watchdog; and the
// retry an outcome asks for, which the running sequence takes up once the
// attempt before it has ended.
#pragma once

#include <optional>

#include "installer/MainView.h"
#include "platform/IProcess.h"

enum class TInstallProgress { IPPrepareed = 0, IPInstalling = 1, IPInstalled = 2 };

// Idle -> Asking (prompts, old-driver removal, searching dialog) -> Running
// (controls locked, hints on) -> Idle, or -> WaitingForHost (the 64-bit host
// works on its own; its message or the watchdog ends the install) -> Idle.
enum class TInstallPhase { Idle, Asking, Running, WaitingForHost };

// The 64-bit host of an install: its process and the watchdog timer that
// looks after it, held and let go together.
class THostProcess {
 public:
  explicit THostProcess(IMainView& view) : m_View(view) {}
  // Takes the started host's process and switches the watchdog on.
  void Watch(THandle process);
  // The host still runs: its state can be read and it has not exited.
  bool Running() const;
  // Watchdog off, process closed.
  void Stop();
  THandle Get() const { return m_Process.Get(); }

 private:
  IMainView& m_View;
  TProcessHandle m_Process;
};

class TInstallSession {
 public:
  TInstallSession(IMainView& view, TInstallProgress& progress, THostProcess& host)
      : m_View(view), m_Progress(progress), m_Host(host) {}

  TInstallPhase Phase() const { return m_Phase; }
  // The one place the phase changes. Running locks the window and marks it
  // installing; Idle after Running or WaitingForHost (or after an outcome
  // that arrives on its own) lets the host go and gives the window back.
  void Enter(TInstallPhase phase);

  // A run without the window keeps it hidden when the install ends too.
  void KeepWindowHidden(bool hidden) { m_KeepHidden = hidden; }

  // The sequence: a retry asked for while it runs is taken up by its loop.
  bool InSequence() const { return m_InSequence; }
  void SetInSequence(bool on) { m_InSequence = on; }
  void AskRetry(bool tryOnline) { m_Retry = tryOnline; }
  std::optional<bool> TakeRetry() { return std::exchange(m_Retry, std::nullopt); }

  // The full path of the INF this attempt installs from (empty: the
  // package's own name, relative to the driver folder).
  TString InstallInf;

 private:
  IMainView& m_View;
  TInstallProgress& m_Progress;
  THostProcess& m_Host;
  TInstallPhase m_Phase = TInstallPhase::Idle;
  bool m_InSequence = false;
  bool m_KeepHidden = false;
  std::optional<bool> m_Retry;
};
