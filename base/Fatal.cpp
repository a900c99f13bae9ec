#include "base/Fatal.h"

#include <cstdio>
#include <cstdlib>

namespace {

void PrintToStdErr(const char* message) { std::fprintf(stderr, "fatal: %s\n", message); }

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
