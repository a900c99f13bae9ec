// What the 64-bit install host needs of Windows: loading the library by path,
// its exports, error boxes, the installer's window, the exchange file (the
// platform's profile functions) and the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

#include "base/MessageBoxFlags.h"
#include "platform/Port.h"
#include "sysutil/Text.h"

namespace inst2k {

class IPrnSetupHost {
 public:
  virtual ~IPrnSetupHost() = default;

  // GetFullPathNameW against the current directory; empty when it fails.
  virtual TString GetFullPathName(const TString& path) = 0;
  // The library itself is loaded through the modules port (platform/IModules.h).
  virtual std::uint32_t GetLastError() = 0;
  // GetSystemDefaultLangID: the language of the host's boxes.
  virtual std::uint16_t GetSystemDefaultLangID() = 0;

  // WideCharToMultiByte(CP_ACP); lossless is false when a character had no
  // representation and was replaced.
  virtual std::string WideToAnsi(TStringView s, bool& lossless) = 0;

  // GetPrivateProfileIntW / WritePrivateProfileStringW on the exchange file.
  virtual std::int32_t GetPrivateProfileInt(const TString& section, const TString& key, std::int32_t def,
                                            const TString& file) = 0;
  virtual bool WritePrivateProfileString(const TString& section, const TString& key, const TString& value,
                                         const TString& file) = 0;

  // MessageBoxW without an owner window.
  virtual void MessageBox(const TString& text, const TString& caption, std::uint32_t style) = 0;
  // SendMessageW to a window given by its 32-bit handle value (sign-extended
  // as Windows shares handles between 32-bit and 64-bit processes).
  virtual void SendWindowMessage(std::int32_t window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) = 0;
};

inline IPrnSetupHost& Host() { return PortSlot<IPrnSetupHost>::Get(); }

}  // namespace inst2k
