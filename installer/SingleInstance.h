// One install at a time on a machine: every installer claims one machine-wide
// named object before it writes anything.
#pragma once

#include "sysutil/Text.h"

namespace single {

// Claims the install for this process until it ends. False when another
// installer holds it: that installer's window (className) has been brought
// to the front (unless nobody looks: bringToFront false), and this one must
// end without writing anything.
bool ClaimInstall(const TString& className, bool bringToFront = true);

}  // namespace single
