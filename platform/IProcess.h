// Child processes and anonymous pipes, as the command runner uses them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Owned.h"
#include "platform/Port.h"

struct TProcessInfo {
  THandle Process = 0;
  THandle Thread = 0;
};

// How a program is started: CreateProcessW with no application name.
struct TStartup {
  std::u16string CommandLine;
  std::u16string CurrentDirectory;  // empty: the caller's
  std::uint32_t CreationFlags = 0;  // DETACHED_PROCESS, CREATE_NO_WINDOW, ...
  bool InheritHandles = false;
  bool Hidden = true;          // STARTF_USESHOWWINDOW with SW_HIDE
  bool UseStdHandles = false;  // STARTF_USESTDHANDLES: standard output below, input and error null
  THandle StdOutput = 0;       // with UseStdHandles (an inheritable handle, InheritHandles on)
};

class IProcess {
 public:
  virtual ~IProcess() = default;
  static constexpr std::uint32_t WaitObject0 = 0;
  static constexpr std::uint32_t WaitTimeout = 258;
  static constexpr std::uint32_t WaitFailed = 0xFFFFFFFF;

  // Both ends inheritable, the system's default size.
  virtual bool CreatePipe(THandle& readEnd, THandle& writeEnd) = 0;
  virtual bool PeekNamedPipe(THandle readEnd, std::uint32_t& available) = 0;
  virtual bool ReadFile(THandle h, char* buffer, std::uint32_t size, std::uint32_t& read) = 0;
  virtual std::uint32_t WaitForSingleObject(THandle h, std::uint32_t timeoutMs) = 0;
  virtual bool CloseHandle(THandle h) = 0;

  static constexpr std::uint32_t DetachedProcess = 0x00000008;
  static constexpr std::uint32_t Infinite = 0xFFFFFFFF;
  virtual bool StartProcess(const TStartup& startup, TProcessInfo& pi) = 0;
  virtual bool GetExitCodeProcess(THandle process, std::uint32_t& code) = 0;
};

inline IProcess& Proc() { return PortSlot<IProcess>::Get(); }

// A process, thread or pipe end of this port.
struct ProcessHandleTraits : TPortHandleTraits {
  static void Close(THandle h) { Proc().CloseHandle(h); }
};
using TProcessHandle = TOwned<ProcessHandleTraits>;

// A started program's process and first thread.
struct TOwnedProcess {
  TProcessHandle Process, Thread;
  // Starts the program; false (and nothing held) when it did not start.
  bool Start(const TStartup& startup) {
    TProcessInfo pi;
    if (!Proc().StartProcess(startup, pi)) return false;
    Process.Reset(pi.Process);
    Thread.Reset(pi.Thread);
    return true;
  }
};
