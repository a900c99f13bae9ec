// Loadable libraries, background threads and started programs of the fake
// machine. A library is a table of exports (plain function pointers); a
// thread runs when the test says so; a program is a function of its start-up
// record that returns its exit code.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/IModules.h"
#include "platform/IProcess.h"
#include "platform/IThreads.h"

class FakeModules : public IModules {
 public:
  std::map<TString, std::map<std::string, void*>> Libraries;  // by path, a..z folded
  int Loaded() const { return static_cast<int>(m_Loaded.size()); }
  int LoadCount = 0;

  THandle LoadLibrary(const TString& path) override;
  void* GetProcAddress(THandle module, const char* name) override;
  void FreeLibrary(THandle module) override;

 private:
  std::map<THandle, TString> m_Loaded;
  THandle m_Next = 0x7000;
};

class FakeThreads : public IThreads {
 public:
  std::vector<std::function<void()>> Pending;
  bool StartDetached(std::function<void()> work) override {
    Pending.push_back(std::move(work));
    return true;
  }
  void RunAll() {
    auto jobs = std::move(Pending);
    Pending.clear();
    for (auto& job : jobs) job();
  }
};

class FakeProcess : public IProcess {
 public:
  using Program = std::function<std::uint32_t(const TStartup&)>;
  std::map<TString, Program> Programs;  // by program file name, a..z folded
  bool RunAtStart = true;               // otherwise each runs when waited for, or at RunPending
  std::vector<TStartup> Running;        // started and not yet run, in start order
  int OpenHandles() const { return static_cast<int>(m_Handles.size()); }
  void RunPending();

  bool StartProcess(const TStartup& startup, TProcessInfo& pi) override;
  bool GetExitCodeProcess(THandle process, std::uint32_t& code) override;
  std::uint32_t WaitForSingleObject(THandle h, std::uint32_t timeoutMs) override;
  bool CloseHandle(THandle h) override { return m_Handles.erase(h) > 0; }
  // A pipe whose writers (the programs) write nothing.
  bool CreatePipe(THandle& readEnd, THandle& writeEnd) override;
  bool PeekNamedPipe(THandle readEnd, std::uint32_t& available) override;
  bool ReadFile(THandle, char*, std::uint32_t, std::uint32_t& read) override {
    read = 0;
    return false;
  }

  static constexpr std::uint32_t kStillActive = 259;

 private:
  struct Child {
    enum Type { Process, Thread, Pipe } Kind = Process;
    std::uint32_t ExitCode = kStillActive;
    std::optional<TStartup> Waiting;  // started, not yet run
  };
  const Program* Find(const TString& commandLine) const;
  void Run(THandle process);
  void ListRunning();
  std::map<THandle, Child> m_Handles;
  THandle m_Next = 0x9000;
};

// The program file name of a command line: its first word (in quotes or up to a blank), without the folder.
TString ProgramNameOf(const TString& commandLine);
