// The 64-bit install host's command line: /Handle, /Dll, /Inf, /HWID and
// /FindHWID, each taking the next argument as its value.
#pragma once

#include <cstdint>
#include <vector>

#include "base/SystemCodes.h"
#include "sysutil/Text.h"

namespace inst2k {

struct TPrnSetup64Args {
  std::int32_t Handle = 0;  // the installer's main window, as its 32-bit value
  TString Dll;
  TString Inf;
  TString HWID;
  TString FindHWID;  // the exchange file; its presence selects detection mode
  // Why the command line cannot be acted on (a system code), 0 when it can:
  // a hardware ID holding a blank, or split by blanks over several arguments
  // (the installer passes it unquoted), would be matched by its last word
  // alone, which the tail matching of the library accepts for any device
  // ending in that word.
  std::uint32_t Refusal = 0;

  bool DetectionMode() const { return !FindHWID.empty(); }
};

// Parses the arguments after the program name. Option names match without
// regard to ASCII letter case; an unknown "/word" clears the current option;
// a plain argument is the (latest) value of the current option, or ignored.
// A second value of /HWID, or one holding a blank or control character, sets
// Refusal instead of being taken.
TPrnSetup64Args ParsePrnSetup64Args(const std::vector<TString>& args);

// Leading decimal digits with an optional sign, taken modulo 2^32 as a signed
// 32-bit number (so a handle printed unsigned comes back unchanged); 0 when
// there are no digits.
std::int32_t ParseHandleValue(TStringView s);

}  // namespace inst2k
