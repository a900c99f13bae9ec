// Libraries loaded by path for one call and released after it.
#pragma once

#include "platform/Port.h"

class IModules {
 public:
  virtual ~IModules() = default;
  // LoadLibraryW(path): 0 on failure, with the system's code as the last error.
  virtual THandle LoadLibrary(const TString& path) = 0;
  // GetProcAddress(module, name): null when the export is missing.
  virtual void* GetProcAddress(THandle module, const char* name) = 0;
  virtual void FreeLibrary(THandle module) = 0;
};

inline IModules& Modules() { return PortSlot<IModules>::Get(); }

// A library held for the scope of one call, released on every way out.
class TModule {
 public:
  TModule() = default;
  TModule(const TModule&) = delete;
  TModule& operator=(const TModule&) = delete;
  ~TModule() { Release(); }
  bool Load(const TString& path) {
    Release();
    m_H = Modules().LoadLibrary(path);
    return m_H != 0;
  }
  // The export as a function pointer of type Fn; null when missing.
  template <class Fn>
  Fn Get(const char* name) const {
    return m_H ? reinterpret_cast<Fn>(Modules().GetProcAddress(m_H, name)) : nullptr;
  }
  THandle Handle() const { return m_H; }
  void Release() {
    if (m_H) Modules().FreeLibrary(m_H);
    m_H = 0;
  }

 private:
  THandle m_H = 0;
};
