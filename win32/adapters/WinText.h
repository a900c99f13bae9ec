// Conversions at the Win32 boundary: TString <-> wchar_t (both UTF-16 here).
#pragma once

#include "win32/WinApi.h"

#include <string>

#include "platform/Port.h"
#include "sysutil/Text.h"

inline const wchar_t* W(const TString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline TString T(const wchar_t* s) { return s ? TString(reinterpret_cast<const char16_t*>(s)) : TString(); }
inline TString T(const wchar_t* s, size_t n) { return TString(reinterpret_cast<const char16_t*>(s), n); }
inline HANDLE H(THandle h) { return reinterpret_cast<HANDLE>(h); }
inline THandle TH(HANDLE h) { return reinterpret_cast<THandle>(h); }
