// The Win32 adapter of the 64-bit host's port.
#pragma once

#include "inst2k/IPrnSetupHost.h"

namespace inst2k {

IPrnSetupHost& Win32PrnSetupHostPort();

}  // namespace inst2k
