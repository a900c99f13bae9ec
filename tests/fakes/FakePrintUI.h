// The print UI (rundll32 printui.dll,PrintUIEntry) as a child program of the
// fake machine: /if installs a queue, /dl deletes one, /dd deletes a driver,
// each against the fake spooler; the command ends at once and prints nothing.
#pragma once

#include <set>

#include "fakes/FakeSpooler.h"
#include "platform/IProcess.h"

class FakePrintUI : public IProcess {
 public:
  explicit FakePrintUI(FakeSpooler& spooler) : m_Spooler(spooler) {}

  bool StartFails = false;          // rundll32 does not start
  std::set<TString> Refuses;        // queue or driver names the print UI leaves in place
  std::function<void()> BeforeRun;  // runs when a command starts (a job arriving, say)

  // Applies one command line to the spooler, as the print UI would.
  void Run(const TString& commandLine);

  bool CreatePipe(THandle& readEnd, THandle& writeEnd) override;
  bool PeekNamedPipe(THandle readEnd, std::uint32_t& available) override;
  bool ReadFile(THandle h, char* buffer, std::uint32_t size, std::uint32_t& read) override;
  std::uint32_t WaitForSingleObject(THandle h, std::uint32_t timeoutMs) override;
  bool CloseHandle(THandle h) override;
  bool StartProcess(const TStartup& s, TProcessInfo& pi) override;
  bool GetExitCodeProcess(THandle, std::uint32_t& code) override {
    code = 0;
    return true;
  }

 private:
  FakeSpooler& m_Spooler;
};
