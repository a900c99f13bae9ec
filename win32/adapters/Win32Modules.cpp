// Loadable modules and background threads over kernel32.
#include "win32/WinApi.h"

#include <memory>

#include "platform/IModules.h"
#include "platform/IThreads.h"
#include "win32/adapters/WinText.h"

namespace {

class Win32Modules : public IModules {
 public:
  THandle LoadLibrary(const TString& path) override { return reinterpret_cast<THandle>(::LoadLibraryW(W(path))); }
  void* GetProcAddress(THandle module, const char* name) override {
    return reinterpret_cast<void*>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
  }
  void FreeLibrary(THandle module) override { ::FreeLibrary(reinterpret_cast<HMODULE>(module)); }
};

DWORD WINAPI RunWork(void* param) {
  std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(param));
  try {
    (*work)();
  } catch (...) {
    // A background job has nobody to report to.
  }
  return 0;
}

class Win32Threads : public IThreads {
 public:
  bool StartDetached(std::function<void()> work) override {
    auto* job = new std::function<void()>(std::move(work));
    win::ScopedKernelHandle thread(::CreateThread(nullptr, 0, RunWork, job, 0, nullptr));
    if (!thread) delete job;
    return thread.Valid();
  }
};

}  // namespace

IModules& Win32ModulesInstance() {
  static Win32Modules instance;
  return instance;
}
IThreads& Win32ThreadsInstance() {
  static Win32Threads instance;
  return instance;
}
