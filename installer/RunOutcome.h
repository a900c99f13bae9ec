// How a run of the installer ended, and the exit code deployment tools read
// for it (the codes of Windows Installer, which they understand by default).
#pragma once

enum class TRunOutcome {
  Succeeded,       // 0
  RestartNeeded,   // 3010: done; a restart completes it
  RestartStarted,  // 1641: done; Windows restarts now
  Busy,            // 1618: another install runs on this machine
  Cancelled,       // 1602: the user said no, or closed the window without an install
  Failed,          // 1603
  BadCommandLine,  // 1639
};

constexpr int ExitCodeOf(TRunOutcome outcome) {
  switch (outcome) {
    case TRunOutcome::Succeeded:
      return 0;
    case TRunOutcome::RestartNeeded:
      return 3010;
    case TRunOutcome::RestartStarted:
      return 1641;
    case TRunOutcome::Busy:
      return 1618;
    case TRunOutcome::Cancelled:
      return 1602;
    case TRunOutcome::BadCommandLine:
      return 1639;
    case TRunOutcome::Failed:
      break;
  }
  return 1603;
}
