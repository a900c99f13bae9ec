#include "win32/installer/CheckCommand.h"

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

// The report goes to the output handle the program was given (a file or a
// pipe: UTF-8), else to the console of the parent process (UTF-16).
void Write(const TString& text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  bool own = false;
  if (!out || out == INVALID_HANDLE_VALUE || ::GetFileType(out) == FILE_TYPE_UNKNOWN) {
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    out = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    own = true;
  }
  DWORD mode = 0, done = 0;
  if (::GetConsoleMode(out, &mode)) {
    ::WriteConsoleW(out, W(text), static_cast<DWORD>(text.size()), &done, nullptr);
  } else {
    const std::string bytes = text::ToUtf8(text);
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  }
  if (own) ::CloseHandle(out);
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
  Write(report);
  return code;
}
