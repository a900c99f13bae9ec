// The 64-bit install host's entry point: a console program started by the
// installer with its options; it ends with exit code 0 whatever happens.
#include <vector>

#include "inst2k/PrnSetup64.h"
#include "inst2k/win32/Win32PrnSetupHost.h"

int wmain(int argc, wchar_t** argv) {
  ScopedPort<inst2k::IPrnSetupHost> host(inst2k::Win32PrnSetupHostPort());
  std::vector<TString> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  try {
    inst2k::PrnSetup64Main(args);
  } catch (...) {
  }
  return 0;
}
