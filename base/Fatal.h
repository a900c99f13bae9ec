// The last word of a program that cannot go on because it was put together
// wrongly (for example a port that nobody installed). It never returns.
#pragma once

using TFatalHandler = void (*)(const char* message);

// Shows the message through the handler (by default: standard error) and
// ends the process.
[[noreturn]] void FatalError(const char* message);
// The program's own way to show a fatal message; returns the previous one.
TFatalHandler SetFatalHandler(TFatalHandler handler);
