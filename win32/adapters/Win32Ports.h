// Installs the Win32 adapters of the general ports (system, file system,
// processes, resources, shell, registry, modules, threads) into their slots. Call once at start.
#pragma once

#include "win32/WinApi.h"

void InstallWin32Ports(HMODULE resourceModule = nullptr);
