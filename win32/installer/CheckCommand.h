// DriverSetup.exe /check [--json] ["<package folder>"]: the package check,
// reported to the console the program was started from (or to its redirected
// output), before any window, workspace or lock exists.
#pragma once

#include "win32/WinApi.h"

// True when the command line asks for the check ("/check" first, any case).
bool IsCheckCommandLine(const wchar_t* commandLine);
// Runs the check on the package folder named (default: the program's own
// folder) and returns its exit code: 0 clean, 1 warnings, 2 errors.
int RunCheckFromCommandLine(HINSTANCE instance, const wchar_t* commandLine);
