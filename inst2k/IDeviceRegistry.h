// The registry below HKEY_LOCAL_MACHINE, as the device-install library touches
// it (a device's "Device Parameters" key). Results are Win32 error codes
// (0 = ERROR_SUCCESS), as the Reg* functions return them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Port.h"

namespace inst2k {

inline constexpr std::uint32_t kKeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS
inline constexpr std::uint32_t kRegOptionNonVolatile = 0;
inline constexpr std::uint32_t kRegSz = 1;

class IDeviceRegistry {
 public:
  virtual ~IDeviceRegistry() = default;

  // RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, access, &key).
  virtual std::int32_t OpenKey(const std::string& subKey, std::uint32_t access, THandle& key) = 0;
  // RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, options, access,
  // nullptr, &key, nullptr): creates missing parent keys too.
  virtual std::int32_t CreateKey(const std::string& subKey, std::uint32_t options, std::uint32_t access,
                                 THandle& key) = 0;
  // RegSetValueExA with exactly these data bytes.
  virtual std::int32_t SetValue(THandle key, const std::string& name, std::uint32_t type, const std::string& data) = 0;
  virtual std::int32_t CloseKey(THandle key) = 0;
};

inline IDeviceRegistry& DevRegistry() { return PortSlot<IDeviceRegistry>::Get(); }

}  // namespace inst2k
