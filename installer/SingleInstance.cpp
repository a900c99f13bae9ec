#include "installer/SingleInstance.h"

#include "platform/ISystem.h"

namespace single {

namespace {

// In the global namespace, so that installers in other sessions (another
// user, a remote desktop) see it too.
constexpr char16_t kInstallLock[] = u"Global\\PrinterDriverSetup.Install.5E2A9C41";

}  // namespace

bool ClaimInstall(const TString& className, bool bringToFront) {
  bool held = false;
  const THandle lock = Sys().CreateNamedObject(kInstallLock, held);
  if (held) {
    if (lock) Sys().CloseHandle(lock);
    if (bringToFront) Sys().BringWindowToFront(className);
    return false;
  }
  // Without the object (a system that refuses it) nothing can be enforced,
  // and the install goes on. The handle stays open until the process ends.
  return true;
}

}  // namespace single
