// Text for the console of a program started from a command prompt.
#pragma once

#include "win32/WinApi.h"

#include "sysutil/Text.h"

// Writes to the output handle the program was given (a file or a pipe:
// UTF-8), else to the console of the parent process (UTF-16). False when
// there is neither.
bool WriteToConsole(const TString& text);
