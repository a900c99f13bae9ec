// Libraries loaded by path for one call and released after it.
#pragma once

#include "platform/Owned.h"
#include "platform/Port.h"

class IModules {
 public:
  virtual ~IModules() = default;
  // Loads the library by its full path, its own dependencies from the system
  // folder only: 0 on failure, with the system's code as the last error.
  virtual THandle LoadLibrary(const TString& path) = 0;
  // GetProcAddress(module, name): null when the export is missing.
  virtual void* GetProcAddress(THandle module, const char* name) = 0;
  virtual void FreeLibrary(THandle module) = 0;
};

inline IModules& Modules() { return PortSlot<IModules>::Get(); }

struct ModuleTraits : TPortHandleTraits {
  static void Close(THandle h) { Modules().FreeLibrary(h); }
};

// A library held for the scope of one call, released on every way out.
class TModule : public TOwned<ModuleTraits> {
 public:
  bool Load(const TString& path) {
    Reset(Modules().LoadLibrary(path));
    return Handle() != 0;
  }
  // The export as a function pointer of type Fn; null when missing.
  template <class Fn>
  Fn Get(const char* name) const {
    return Handle() ? reinterpret_cast<Fn>(Modules().GetProcAddress(Handle(), name)) : nullptr;
  }
  THandle Handle() const { return TOwned::Get(); }
  void Release() { Reset(); }
};
