// Kernel and user services of the device-install library: the thread's last
// error, system message texts, the module's string table, message boxes,
// debugger output, file attributes, full paths and the ANSI code page's lead
// bytes. ANSI text throughout.
#pragma once

#include <cstdint>
#include <string>

#include "base/MessageBoxFlags.h"
#include "platform/Port.h"
#include "sysutil/Text.h"

namespace inst2k {

inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;

class IInst2kSystem {
 public:
  virtual ~IInst2kSystem() = default;

  virtual std::uint32_t GetLastError() = 0;
  virtual void SetLastError(std::uint32_t code) = 0;

  // FormatMessageA from the system's message table, default language,
  // inserts ignored, into a buffer of maxChars: false when there is no text.
  virtual bool FormatSystemMessage(std::uint32_t code, std::uint32_t maxChars, std::string& text) = 0;
  // The module's string `id` in the string table of `language` (a language
  // identifier), in the ANSI code page, at most maxChars - 1 bytes; the
  // system's own choice (LoadStringA) when that table lacks it; empty when
  // the string is missing.
  virtual std::string LoadString(THandle module, std::uint32_t id, std::uint32_t maxChars, std::uint16_t language) = 0;
  virtual std::uint16_t GetSystemDefaultLangID() = 0;
  virtual void MessageBox(THandle owner, const std::string& text, const std::string& caption, std::uint32_t style) = 0;
  virtual void OutputDebugString(const std::string& text) = 0;
  // MultiByteToWideChar(CP_ACP), for the install record.
  virtual TString AnsiToWide(const std::string& text) = 0;

  // GetFileAttributesA: relative paths against the process's current directory.
  virtual std::uint32_t GetFileAttributes(const std::string& path) = 0;
  // GetFullPathNameA of any length; false when the system cannot resolve it.
  virtual bool GetFullPathName(const std::string& path, std::string& fullPath) = 0;
  // IsDBCSLeadByte in the ANSI code page.
  virtual bool IsLeadByte(std::uint8_t byte) = 0;
};

inline IInst2kSystem& LibSys() { return PortSlot<IInst2kSystem>::Get(); }

}  // namespace inst2k
