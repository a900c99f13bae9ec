// The questions and messages of the installer. With the window they are
// message boxes; a run without a person (/quiet, /passive) answers each
// question by its policy and writes every text to the install record instead.
#pragma once

#include <cstdint>

#include "installer/MainView.h"

enum class TQuestion {
  Connect,          // the printer is connected and switched on: go on?
  RemoveOldDriver,  // an outdated driver of the model is removed first: go on?
  PrinterGone,      // the printer found before is gone: Yes online again, No offline, Cancel
  UpdateExisting,   // a queue of the model exists: Yes updates its driver, No adds a queue
  Uninstall,        // remove the model's queues and driver?
  RestartNow,       // restart Windows now to finish a removal?
};

// What a run without a person answers.
int UnattendedAnswer(TQuestion question);

class TUserDialogs {
 public:
  explicit TUserDialogs(IMainView& view) : m_View(view) {}
  void SetUnattended(bool on) { m_Unattended = on; }
  bool Unattended() const { return m_Unattended; }
  IMainView& View() { return m_View; }

  // A question's answer (mb::IdYes, IdNo, IdCancel).
  int Ask(TQuestion question, const TString& text, const TString& caption, std::uint32_t flags);
  // A message the user reads and confirms.
  void Tell(const TString& text, const TString& caption, std::uint32_t flags);
  // The application's standard error box.
  void Error(const TString& message);

 private:
  IMainView& m_View;
  bool m_Unattended = false;
};
