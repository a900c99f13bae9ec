// The one door to <windows.h>. Every Win32 file of the installer, the
// device-install library, the host and the Windows test programs includes
// this header instead of <windows.h>, so that
//  - the build settings of the Windows headers are made once, here;
//  - the A/W macros whose names the ports use as method names are removed,
//    so a port method keeps its own name in every translation unit (adapters
//    call the A or W functions by their explicit names);
//  - a handle an adapter holds for the length of a call is owned by a
//    ScopedHandle<Traits>, which closes it on every way out. Handles that
//    cross a port are closed by the port's own close call (CloseHandle,
//    CloseKey, FreeLibrary, ClosePrinter, CloseLocked), which the portable
//    owners of platform/Owned.h make; nothing else closes one by hand.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif

#include <windows.h>  // the only place that includes it

#include <utility>

#include "platform/Owned.h"

// Port method names that the Windows headers would rename.
#undef CopyFile
#undef CreateDirectory
#undef CreateFile
#undef CreateProcess
#undef DeleteFile
#undef GetCurrentDirectory
#undef GetFileAttributes
#undef GetFullPathName
#undef GetModuleFileName
#undef GetPrivateProfileInt
#undef GetSystemDirectory
#undef GetTempPath
#undef LoadLibrary
#undef LoadString
#undef MessageBox
#undef OpenPrinter
#undef OutputDebugString
#undef RemoveDirectory
#undef UpdateDriverForPlugAndPlayDevices
#undef WritePrivateProfileString

namespace win {

// Owns one handle of the API; the traits name its type, its "no handle"
// values and the function that closes it. The same owner as the portable
// code's (platform/Owned.h).
template <class Traits>
using ScopedHandle = TOwned<Traits>;

// Kernel objects: files, processes, threads, pipes, events. Both null and
// INVALID_HANDLE_VALUE mean "none", as the API uses either.
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
// Releasing a library leaves the thread's last error as the calls made with
// it left it.
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) {
    const DWORD err = ::GetLastError();
    ::FreeLibrary(h);
    ::SetLastError(err);
  }
};
struct LocalMemTraits {
  using Handle = HLOCAL;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::LocalFree(h); }
};

using ScopedKernelHandle = ScopedHandle<KernelTraits>;
using ScopedFindHandle = ScopedHandle<FindTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedLocalMem = ScopedHandle<LocalMemTraits>;
// Printers and registry keys cross their ports and are owned there
// (spooler/PrinterHandle.h, platform/IRegistry.h).

}  // namespace win
