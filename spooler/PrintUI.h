// The print UI (printui.dll's PrintUIEntry, run through rundll32): how a
// command for it is written.
#pragma once

#include <vector>

#include "sysutil/Text.h"

// The command line for the print UI with these switches, each %s filled with
// the next value inside the double quotes the switches give it. A value with
// a quote would close them early and let the rest read as further switches,
// and a backslash before the closing quote would escape it: such a value is
// refused, and the command is empty.
TString PrintUICommand(TStringView switches, const std::vector<TString>& values);
