#include "win32/installer/CheckCommand.h"

#include "win32/installer/ConsoleOutput.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "pkgcheck/PackageCheck.h"
#include "platform/ISystem.h"
#include "sysutil/Paths.h"
#include "sysutil/Text.h"
#include "win32/SystemLibrary.h"
#include "win32/adapters/Win32Ports.h"
#include "win32/adapters/WinText.h"

namespace {

// The shell library is loaded for the check only: imported, it would come
// (with the libraries it needs) into every start of the installer.
std::vector<TString> Arguments(const wchar_t* commandLine) {
  std::vector<TString> args;
  const win::SystemLibrary shell(L"shell32.dll");
  const auto split = shell.Entry<decltype(&::CommandLineToArgvW)>("CommandLineToArgvW");
  int count = 0;
  LPWSTR* argv = split ? split(commandLine, &count) : nullptr;
  if (!argv) return args;
  for (int i = 0; i < count; ++i) args.push_back(T(argv[i]));
  ::LocalFree(argv);
  return args;
}

}  // namespace

bool IsCheckCommandLine(const wchar_t* commandLine) {
  // Splitting a line only takes out quotes (and halves backslashes before
  // one): a line whose text without quotes lacks the switch cannot carry it,
  // and a normal start needs no split.
  TString bare = T(commandLine);
  std::erase(bare, u'"');
  if (!text::ContainsTextAscii(bare, u"/check")) return false;
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
