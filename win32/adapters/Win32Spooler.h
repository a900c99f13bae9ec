// Installs the Win32 adapter of the spooler port (winspool.drv) into its slot.
#pragma once

void InstallWin32Spooler();
