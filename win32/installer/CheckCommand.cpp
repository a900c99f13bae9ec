#include "win32/installer/CheckCommand.h"

#include "win32/installer/ConsoleOutput.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "pkgcheck/PackageCheck.h"
#include "platform/ISystem.h"
#include "sysutil/Paths.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/WinText.h"

namespace {

std::vector<TString> Arguments(const wchar_t* commandLine) {
  std::vector<TString> args;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(commandLine, &count);
  if (!argv) return args;
  for (int i = 0; i < count; ++i) args.push_back(T(argv[i]));
  ::LocalFree(argv);
  return args;
}

}  // namespace

bool IsCheckCommandLine(const wchar_t* commandLine) {
  const std::vector<TString> args = Arguments(commandLine);
  return args.size() >= 2 && text::SameTextAscii(args[1], u"/check");
}

int RunCheckFromCommandLine(HINSTANCE instance, const wchar_t* commandLine) {
  win::RestrictLibrarySearch();
  InstallWin32Ports(instance);
  std::vector<TString> args = Arguments(commandLine);
  args.erase(args.begin(), args.begin() + 2);
  TString report;
  const int code = pkgcheck::RunCheckCommand(args, paths::ExtractFileDir(Sys().GetModuleFileName()), report);
  WriteToConsole(report);
  return code;
}
