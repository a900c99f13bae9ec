// The process port over real POSIX child processes, so that the command
// runner is tested with real children natively. A command line is split into
// words (double quotes group) and started with execvp, like CreateProcess
// starting a program by name: a program that does not exist fails to start.
#pragma once

#include <map>

#include "platform/IProcess.h"

class PosixProcess : public IProcess {
 public:
  ~PosixProcess() override;
  bool CreatePipe(THandle& readEnd, THandle& writeEnd) override;
  bool PeekNamedPipe(THandle readEnd, std::uint32_t& available) override;
  bool ReadFile(THandle h, char* buffer, std::uint32_t size, std::uint32_t& read) override;
  std::uint32_t WaitForSingleObject(THandle h, std::uint32_t timeoutMs) override;
  bool CloseHandle(THandle h) override;
  bool StartProcess(const TStartup& s, TProcessInfo& pi) override;
  bool GetExitCodeProcess(THandle, std::uint32_t&) override { return false; }

  int OpenHandles() const { return static_cast<int>(m_Handles.size()); }
  int ProcessesStarted = 0;

 private:
  struct Entry {
    enum Kind { Fd, Process, Thread } kind;
    int fd = -1;
    int pid = 0;
    bool reaped = false;
  };
  THandle Add(Entry e);
  std::map<THandle, Entry> m_Handles;
  THandle m_Next = 0x10;
};
