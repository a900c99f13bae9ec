// Libraries that are not among the system's known DLLs (newdev, uxtheme,
// winspool.drv ...) are loaded from the system folder only, never from the
// program's folder, the current folder or the workspace, where anybody
// could have put a library of the same name.
#pragma once

#include "win32/WinApi.h"

#include <string>

namespace win {

// The library `name` (a bare file name) from the system folder, or null with
// the system's last error.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Systems without the search flags: the full path in the system folder,
  // its own dependencies looked up beside it first.
  wchar_t folder[MAX_PATH];
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\" + name;
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// A library loaded by its full path whose own dependencies come from the
// system folder only; null with the system's last error.
inline HMODULE LoadLibraryByPath(const wchar_t* fullPath) {
  HMODULE module = ::LoadLibraryExW(fullPath, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
  return ::LoadLibraryExW(fullPath, nullptr, 0);  // the restricted default search, where there is one
}

// Restricts the process's library search to the system folder, for every
// later load and for the dependencies of what is loaded. Call first thing.
inline void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");  // older systems: at least take the current folder out
}

// An entry point of a library, cast to its own type.
template <class Fn>
Fn Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}

// A system library loaded for one call (or a few) and released afterwards,
// leaving the thread's last error as the calls left it.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : m_Module(LoadSystemLibrary(name)) {}

  HMODULE Get() const { return m_Module.Get(); }
  // The entry point, or null with ERROR_MOD_NOT_FOUND / ERROR_PROC_NOT_FOUND
  // as the last error.
  template <class Fn>
  Fn Entry(const char* name) const {
    if (!m_Module) {
      ::SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    Fn fn = Proc<Fn>(m_Module.Get(), name);
    if (!fn) ::SetLastError(ERROR_PROC_NOT_FOUND);
    return fn;
  }

 private:
  ScopedModule m_Module;
};

}  // namespace win
