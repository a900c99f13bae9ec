// The print UI (rundll32 printui.dll,PrintUIEntry), a child program of the
// fake machine: /if installs a queue, /ia a driver, /dl deletes a queue, /dd a driver,
// each against the fake spooler; the command ends at once and prints nothing.
#pragma once

#include <set>

#include "fakes/FakeSpooler.h"

class FakePrintUI {
 public:
  explicit FakePrintUI(FakeSpooler& spooler) : m_Spooler(spooler) {}

  std::set<TString> Refuses;        // queue or driver names the print UI leaves in place
  std::function<void()> BeforeRun;  // runs when a command starts (a job arriving, say)
  int DriverInstalls = 0;           // /ia commands that installed the driver

  // Applies one command line to the spooler, as the print UI would.
  void Run(const TString& commandLine);

 private:
  FakeSpooler& m_Spooler;
};
