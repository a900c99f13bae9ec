// Installs the Win32 adapters of the general ports (system, file system,
// processes, resources, shell, registry, modules, threads, the install record) into their slots. Call once at start.
#pragma once

#include "win32/WinApi.h"

void InstallWin32Ports(HMODULE resourceModule = nullptr);

class IModules;
// The modules adapter alone, for the host, which needs no other general port.
IModules& Win32ModulesInstance();
class IRegistry;
// The registry adapter alone, for the device-install library.
IRegistry& Win32RegistryInstance();
class IRecordFile;
// The install record's file, for the installer, the library and the host.
IRecordFile& Win32RecordInstance();
