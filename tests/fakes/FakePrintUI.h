// The print UI (rundll32 printui.dll,PrintUIEntry), a child program of the
// fake machine: /if installs a queue, /dl deletes one, /dd deletes a driver,
// each against the fake spooler; the command ends at once and prints nothing.
#pragma once

#include <set>

#include "fakes/FakeSpooler.h"

class FakePrintUI {
 public:
  explicit FakePrintUI(FakeSpooler& spooler) : m_Spooler(spooler) {}

  std::set<TString> Refuses;        // queue or driver names the print UI leaves in place
  std::function<void()> BeforeRun;  // runs when a command starts (a job arriving, say)

  // Applies one command line to the spooler, as the print UI would.
  void Run(const TString& commandLine);

 private:
  FakeSpooler& m_Spooler;
};
