#include "base/Fatal.h"

#include <cstdio>
#include <cstdlib>

namespace {

void PrintToStdErr(const char* message) {
  std::fputs("fatal: ", stderr);
  std::fputs(message, stderr);
  std::fputs("\n", stderr);
}

TFatalHandler g_Handler = PrintToStdErr;

}  // namespace

void FatalError(const char* message) {
  if (g_Handler) g_Handler(message);
  std::abort();
}

TFatalHandler SetFatalHandler(TFatalHandler handler) {
  TFatalHandler old = g_Handler;
  g_Handler = handler ? handler : PrintToStdErr;
  return old;
}

#if defined(_WIN32) && defined(__GLIBCXX__)
// The runtime's default answer to an exception nobody catches names its type
// through the C++ demangler, which would be linked into every binary for that
// one line. Ours ends the process the same way without it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { FatalError("unhandled exception"); }
}  // namespace __gnu_cxx
#endif
