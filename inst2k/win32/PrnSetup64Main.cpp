// The 64-bit install host's entry point: a console program started by the
// installer with its options; it ends with exit code 0 whatever happens.
// What escapes the host's own handling (an exception, or a crash inside the
// library) still tells the installer's window that the install failed.
#include <vector>

#include "inst2k/PrnSetup64.h"
#include "inst2k/win32/Win32PrnSetupHost.h"
#include "platform/IModules.h"
#include "platform/IRecord.h"
#include "sysutil/Trace.h"
#include "win32/SystemLibrary.h"
#include "win32/WinApi.h"
#include "win32/adapters/RecordVariables.h"
#include "win32/adapters/Win32Ports.h"

namespace {

const std::vector<TString>* g_Args = nullptr;

LONG WINAPI LastResortFilter(EXCEPTION_POINTERS* e) {
  if (g_Args) inst2k::PrnSetup64LastResort(*g_Args, e->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Elevated, in a folder others may write to: every library from here on,
  // and every dependency of the device-install library, comes from the
  // system folder.
  win::RestrictLibrarySearch();
  ScopedPort<inst2k::IPrnSetupHost> host(inst2k::Win32PrnSetupHostPort());
  ScopedPort<IModules> modules(Win32ModulesInstance());
  ScopedPort<IRecordFile> record(Win32RecordInstance());
  trace::SetProgram(u"PrnSetup64");
  TakeRecordFileFromInstaller();
  SetUnhandledExceptionFilter(LastResortFilter);
  std::vector<TString> args;
  try {
    // Copying the arguments may already run out of memory: then nobody can
    // be told (the window is among them), and the host still ends normally.
    for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    g_Args = &args;
    inst2k::PrnSetup64Main(args);
  } catch (...) {
    if (g_Args) inst2k::PrnSetup64LastResort(args, kErrorInternalError);
  }
  return 0;
}
