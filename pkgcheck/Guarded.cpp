#include "pkgcheck/Guarded.h"

#include "removal/UnInstallFunc.h"
#include "sysutil/Exception.h"

namespace pkgcheck {

bool TryLoadInstallInfo(const TProfileFile& ini, const TString& sec, const TString& progDir, TRInstallInfo& r,
                        TString& message) {
  try {
    LoadInstallInfo(ini, sec, progDir, u"EN", r);
    return true;
  } catch (const Exception& e) {
    message = e.Message();
    return false;
  }
}

int TryVersionOlder(const TString& installed, const TString& required) {
  try {
    return VersionOlder(installed, required) ? 1 : 0;
  } catch (const Exception&) {
    return -1;
  }
}

}  // namespace pkgcheck
