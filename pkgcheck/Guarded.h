// The installer's rules that raise its error, as results: the rest of the
// check handles no exceptions (in DriverSetup.exe it is built without them,
// which keeps the program small).
#pragma once

#include "config/InstallInfos.h"

namespace pkgcheck {

// LoadInstallInfo; false with the installer's message when it raises.
bool TryLoadInstallInfo(const TProfileFile& ini, const TString& sec, const TString& progDir, TRInstallInfo& r,
                        TString& message);
// VersionOlder: 1 older, 0 not older, -1 when it raises (a compared component
// is no integer).
int TryVersionOlder(const TString& installed, const TString& required);

}  // namespace pkgcheck
