// System facts and kernel services: version, language, WOW64, last error,
// message texts, the ANSI code page, temporary names, token privileges, restart,
// the machine-wide named object and another program's window brought to the front.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Owned.h"
#include "platform/Port.h"

struct TLuid {
  std::uint32_t LowPart = 0;
  std::int32_t HighPart = 0;
};

class ISystem {
 public:
  virtual ~ISystem() = default;

  virtual std::uint16_t GetSystemDefaultLangID() = 0;
  virtual std::uint16_t GetUserDefaultUILanguage() = 0;
  virtual std::uint32_t GetACP() = 0;  // the ANSI code page
  // GetVersionExW with a wide OSVERSIONINFO whose size field is structSize.
  virtual bool GetVersionExW(std::uint32_t structSize, std::uint32_t& major, std::uint32_t& minor) = 0;
  virtual bool IsWindowsNT() = 0;
  // "IsWow64Process" looked up in kernel32 at run time. `found` tells whether
  // the entry point exists; the result is that of the call.
  virtual bool IsWow64Process(bool& found, bool& wow64) = 0;

  virtual std::uint32_t GetLastError() = 0;
  virtual void SetLastError(std::uint32_t code) = 0;
  virtual TString SysErrorMessage(std::uint32_t code) = 0;

  virtual std::string WideToAnsi(TStringView s, bool* lossless) = 0;
  virtual TString AnsiToWide(std::string_view s) = 0;

  // The user's temporary folder in its long form, with a trailing backslash.
  virtual bool GetTempPathLong(TString& path) = 0;
  // GetTempFileNameW(dir, prefix, 0, out): 0 on failure.
  virtual std::uint32_t GetTempFileNameW(const TString& dir, const TString& prefix, TString& out) = 0;
  // Full path of the running program file.
  virtual TString GetModuleFileName() = 0;
  virtual TString GetCurrentDirectory() = 0;

  // Token privileges (TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY = 0x28).
  virtual bool OpenProcessToken(std::uint32_t access, THandle& token) = 0;
  virtual bool LookupPrivilegeValueW(const TString& name, TLuid& luid) = 0;
  virtual bool AdjustTokenPrivileges(THandle token, const TLuid& luid, std::uint32_t attributes) = 0;
  virtual bool CloseHandle(THandle h) = 0;
  // A machine-wide named object (CreateMutexW, not owned), kept until the
  // handle is closed or the process ends. alreadyExists: another process
  // holds it (also when it exists but this process may not open it, with
  // 0 returned). 0 when it cannot be created.
  virtual THandle CreateNamedObject(const TString& name, bool& alreadyExists) = 0;
  // Brings the top-level window of that class to the front, or its last
  // active box or dialog; false when there is none.
  virtual bool BringWindowToFront(const TString& className) = 0;
  virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;

  virtual void Sleep(std::uint32_t ms) = 0;
  virtual void OutputDebugString(const TString& line) = 0;
  // The current local time in the user's long time format.
  virtual TString LocalTimeText() = 0;
  virtual std::uint64_t TickCount() = 0;
};

inline ISystem& Sys() { return PortSlot<ISystem>::Get(); }

// A token, closed without disturbing the thread's last error (the error of
// the steps taken with it is the answer).
struct TokenTraits : TPortHandleTraits {
  static void Close(THandle h) {
    std::uint32_t err = Sys().GetLastError();
    Sys().CloseHandle(h);
    Sys().SetLastError(err);
  }
};
using TToken = TOwned<TokenTraits>;
