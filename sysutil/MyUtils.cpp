#include "sysutil/MyUtils.h"

#include <vector>

#include "platform/IProcess.h"
#include "platform/ISystem.h"
#include "sysutil/Exception.h"
#include "sysutil/Language.h"
#include "sysutil/Trace.h"

namespace {
constexpr std::uint32_t kOsVersionInfoWSize = 276;
constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
constexpr std::uint32_t kTokenQuery = 0x08;
constexpr std::uint32_t kSePrivilegeEnabled = 2;
constexpr std::uint32_t kEwxReboot = 0x02;
constexpr std::uint32_t kEwxForceIfHung = 0x10;
}  // namespace

int GetWindowsVersion() {
  std::uint32_t major = 0, minor = 0;
  Sys().GetVersionExW(kOsVersionInfoWSize, major, minor);
  return static_cast<int>(major * 10 + minor);
}

TString GetSystemLangCode(const TString& prefix) {
  switch (UiLanguageOf(Sys().GetSystemDefaultLangID())) {
    case TUiLanguage::TraditionalChinese:
      return prefix + u"CHT";
    case TUiLanguage::SimplifiedChinese:
      return prefix + u"CN";
    default:
      return prefix + u"EN";
  }
}

bool IsWow64() {
  bool found = false, wow64 = false;
  if (!Sys().IsWow64Process(found, wow64) || !found) return false;
  return wow64;
}

bool EnablePrivilege(const TString& name, bool enable) {
  ISystem& sys = Sys();
  if (!sys.IsWindowsNT()) return false;
  {
    TToken token;
    if (sys.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery, token.Receive())) {
      TLuid luid;
      if (sys.LookupPrivilegeValueW(name, luid))
        sys.AdjustTokenPrivileges(token.Get(), luid, enable ? kSePrivilegeEnabled : 0);
    }
  }
  std::uint32_t err = sys.GetLastError();
  if (err == 0) return true;
  throw Exception(sys.SysErrorMessage(err));
}

bool RestartWindows() {
  if (!EnablePrivilege(u"SeShutdownPrivilege", true)) return false;
  return Sys().ExitWindowsEx(kEwxReboot | kEwxForceIfHung, 0);
}

void KeepStringsStartingWith(TStringList& list, const TString& prefix) {
  if (list.empty()) return;
  TString up = text::UpperAscii(prefix);
  for (size_t i = list.size(); i-- > 0;) {
    if (prefix.empty() || !text::StartsWithTextAscii(list[i], up)) list.erase(list.begin() + static_cast<long>(i));
  }
}

void SubtractStrings(TStringList& list, const TStringList& other) {
  if (list.empty() || other.empty()) return;
  for (size_t i = list.size(); i-- > 0;) {
    for (const auto& o : other) {
      if (text::SameTextAscii(list[i], o)) {
        list.erase(list.begin() + static_cast<long>(i));
        break;
      }
    }
  }
}

int RunCMD(const TString& commandLine, TStringList& output, std::uint32_t* exitCodeOut) {
  constexpr std::uint32_t kChunk = 4096;
  // While nothing is waiting in the pipe the runner sleeps on the child's
  // handle for this long instead of polling, so a long-running child costs
  // (almost) no processor time.
  constexpr std::uint32_t kIdleWaitMs = 20;

  // The whole line is passed on; a line longer than the platform accepts is
  // refused before anything starts.
  trace::Msg(u"Run: " + commandLine);
  if (commandLine.size() > kMaxCommandLineChars) {
    trace::Error(u"Run: the command line is too long");
    return -2;
  }

  IProcess& proc = Proc();
  TProcessHandle readEnd, writeEnd;
  if (!proc.CreatePipe(readEnd.Receive(), writeEnd.Receive())) {
    trace::Call(u"Run: CreatePipe", Sys().GetLastError(), Sys().SysErrorMessage(Sys().GetLastError()));
    return -1;
  }

  TStartup startup;
  startup.CommandLine = commandLine;
  startup.InheritHandles = true;
  startup.UseStdHandles = true;
  startup.StdOutput = writeEnd.Get();
  TOwnedProcess child;
  if (!child.Start(startup)) {
    const std::uint32_t err = Sys().GetLastError();
    trace::Call(u"Run: CreateProcess", err, Sys().SysErrorMessage(err));
    return -2;
  }

  int result = 0;
  std::vector<char> buffer(kChunk + 1, 0);
  std::uint32_t count = 0;
  for (;;) {
    std::uint32_t available = 0;
    if (!proc.PeekNamedPipe(readEnd.Get(), available)) break;
    count = 0;
    if (available > 0) {
      if (!proc.ReadFile(readEnd.Get(), buffer.data(), kChunk, count)) break;
      output.push_back(text::FromAnsi(std::string_view(buffer.data(), count)));
      result = 1;
      continue;
    }
    std::uint32_t w = proc.WaitForSingleObject(child.Process.Get(), kIdleWaitMs);
    if (w == IProcess::WaitTimeout) continue;
    // The child ended (or cannot be waited for). What it wrote just before
    // ending may have arrived after the peek above: collect that first.
    if (w == IProcess::WaitObject0 && proc.PeekNamedPipe(readEnd.Get(), available) && available > 0) continue;
    break;
  }
  // The last peek or read counted `count` bytes; after the child ended that
  // is 0 and the entry is empty.
  output.push_back(text::FromAnsi(std::string_view(buffer.data(), count)));
  std::uint32_t exitCode = 0;
  const bool ended = proc.GetExitCodeProcess(child.Process.Get(), exitCode);
  if (ended && exitCodeOut) *exitCodeOut = exitCode;
  trace::Fmt(u"Run: ended, exit code %s, result %d", {ended ? text::IntToStr(exitCode) : TString(u"unknown"), result});
  for (const TString& chunk : output)
    if (!chunk.empty()) trace::Msg(u"Run output: " + chunk);
  return result;
}
