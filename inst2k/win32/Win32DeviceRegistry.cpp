#include "inst2k/IDeviceRegistry.h"
#include "win32/WinApi.h"

namespace inst2k {

namespace {

HKEY Key(THandle h) { return reinterpret_cast<HKEY>(h); }

}  // namespace

class Win32DeviceRegistry : public IDeviceRegistry {
 public:
  std::int32_t OpenKey(const std::string& subKey, std::uint32_t access, THandle& key) override {
    HKEY k = nullptr;
    LONG r = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, access, &k);
    key = r == ERROR_SUCCESS ? reinterpret_cast<THandle>(k) : 0;
    return r;
  }
  std::int32_t CreateKey(const std::string& subKey, std::uint32_t options, std::uint32_t access,
                         THandle& key) override {
    HKEY k = nullptr;
    LONG r = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, options, access, nullptr, &k, nullptr);
    key = r == ERROR_SUCCESS ? reinterpret_cast<THandle>(k) : 0;
    return r;
  }
  std::int32_t SetValue(THandle key, const std::string& name, std::uint32_t type, const std::string& data) override {
    return ::RegSetValueExA(Key(key), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
  }
  std::int32_t CloseKey(THandle key) override { return ::RegCloseKey(Key(key)); }
};

IDeviceRegistry& Win32DeviceRegistryPort() {
  static Win32DeviceRegistry port;
  return port;
}

}  // namespace inst2k
