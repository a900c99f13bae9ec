// The one door to <windows.h>. Every Win32 file of the installer, the
// device-install library, the host and the Windows test programs includes
// this header instead of <windows.h>, so that
//  - the build settings of the Windows headers are made once, here;
//  - the A/W macros whose names the ports use as method names are removed,
//    so a port method keeps its own name in every translation unit (adapters
//    call the A or W functions by their explicit names);
//  - handles are owned: ScopedHandle<Traits> closes what it holds, so no code
//    path closes a handle by hand.
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

// Owns one handle; the traits name its type, its "no handle" values and the
// function that closes it.
template <class Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle h) : m_Handle(h) {}
  ScopedHandle(ScopedHandle&& o) noexcept : m_Handle(o.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { Reset(); }

  bool Valid() const { return Traits::IsValid(m_Handle); }
  explicit operator bool() const { return Valid(); }
  Handle Get() const { return m_Handle; }
  // For out-parameters of the API: closes what is held and hands the slot.
  Handle* Receive() {
    Reset();
    return &m_Handle;
  }
  Handle Release() { return std::exchange(m_Handle, Traits::Invalid()); }
  void Reset(Handle h = Traits::Invalid()) {
    if (Traits::IsValid(m_Handle)) Traits::Close(m_Handle);
    m_Handle = h;
  }

 private:
  Handle m_Handle = Traits::Invalid();
};

// Kernel objects: files, processes, threads, pipes, events. Both null and
// INVALID_HANDLE_VALUE mean "none", as the API uses either.
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::RegCloseKey(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::FreeLibrary(h); }
};
struct LocalMemTraits {
  using Handle = HLOCAL;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { ::LocalFree(h); }
};

using ScopedKernelHandle = ScopedHandle<KernelTraits>;
using ScopedRegKey = ScopedHandle<RegKeyTraits>;
using ScopedFindHandle = ScopedHandle<FindTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedLocalMem = ScopedHandle<LocalMemTraits>;
// Printers (winspool's ClosePrinter) are owned through PrinterTraits in the
// spooler adapter, which includes <winspool.h>.

}  // namespace win
