// Conversions at the Win32 boundary: TString <-> wchar_t (both UTF-16 here),
// the ANSI code page, and the system's full-path rule. The one copy of each
// for the installer's adapters and the host.
#pragma once

#include "win32/WinApi.h"

#include <string>
#include <string_view>

#include "platform/Port.h"
#include "sysutil/Text.h"

inline const wchar_t* W(const TString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline TString T(const wchar_t* s) { return s ? TString(reinterpret_cast<const char16_t*>(s)) : TString(); }
inline TString T(const wchar_t* s, size_t n) { return TString(reinterpret_cast<const char16_t*>(s), n); }
inline HANDLE H(THandle h) { return reinterpret_cast<HANDLE>(h); }
inline THandle TH(HANDLE h) { return reinterpret_cast<THandle>(h); }

namespace win {

// The text in the ANSI code page. No best-fit characters are taken: `exact`
// is false when a character has no place in the code page (or a UTF-16
// sequence is broken), so the caller can refuse instead of passing on a
// different text. A UTF-8 code page carries every well-formed text.
std::string WideToAnsi(TStringView s, bool& exact);
TString AnsiToWide(std::string_view s);

// GetFullPathNameW of any length: relative names against the current
// directory; empty when the system cannot resolve the path.
TString FullPathName(const TString& path);

}  // namespace win
