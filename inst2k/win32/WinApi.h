// <windows.h> for the library's and the host's Win32 layer. The A/W macros
// whose names the ports use as method names are removed, so a port method
// keeps its own name in every translation unit; the adapters call the A or
// W functions by their explicit names.
#pragma once

#include <windows.h>

#undef GetFullPathName
#undef GetFileAttributes
#undef GetPrivateProfileInt
#undef LoadLibrary
#undef LoadString
#undef MessageBox
#undef OutputDebugString
#undef SendMessage
#undef WritePrivateProfileString
