// The Win32 adapters of the device-install library's ports.
#pragma once

// Puts the adapters into the port slots of this module. Called on library load.
void InstallInst2kWin32Ports();
