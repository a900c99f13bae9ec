// The ANSI code pages a package is meant for. The installer hands model names,
// hardware IDs and INF paths to the device-install library and the print UI
// as ANSI text of the system's code page and refuses a text that does not
// convert exactly; a package shipped for a language must fit that language's
// code page: 936 (Simplified Chinese), 950 (Traditional Chinese), 1252
// (English and other Western systems).
#pragma once

#include "sysutil/Text.h"

namespace pkgcheck {

// True when every character of s converts to code page cp (936, 950 or 1252)
// and back unchanged, without best-fit characters.
bool FitsCodePage(TStringView s, int cp);
// The first character of s that does not fit, or 0.
char16_t FirstMisfit(TStringView s, int cp);

namespace detail {
extern const unsigned char kKinds936[256], kKinds950[256], kKinds1252[256];
extern const unsigned char kBits936[][32], kBits950[][32], kBits1252[][32];
}  // namespace detail

}  // namespace pkgcheck
