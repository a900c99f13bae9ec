// HKEY_LOCAL_MACHINE in memory for the device-install library: keys by path
// (ASCII case-insensitive), their values with type and bytes, and keys whose
// creation the "system" refuses (as Windows refuses writes below Enum to
// ordinary accounts).
#pragma once

#include <map>
#include <set>
#include <string>

#include "inst2k/IDeviceRegistry.h"

class FakeDeviceRegistry : public inst2k::IDeviceRegistry {
 public:
  struct Value {
    std::uint32_t Type;
    std::string Data;
  };

  std::set<std::string> DenyCreate;  // key paths (any case) whose creation fails with 5

  void AddKey(const std::string& path);
  bool HasKey(const std::string& path) const;
  // Null when the key or the value is missing.
  const Value* FindValue(const std::string& path, const std::string& name) const;
  std::size_t ValueCount(const std::string& path) const;
  int OpenHandles() const { return static_cast<int>(m_Handles.size()); }

  std::int32_t OpenKey(const std::string& subKey, std::uint32_t access, THandle& key) override;
  std::int32_t CreateKey(const std::string& subKey, std::uint32_t options, std::uint32_t access, THandle& key) override;
  std::int32_t SetValue(THandle key, const std::string& name, std::uint32_t type, const std::string& data) override;
  std::int32_t CloseKey(THandle key) override;

 private:
  std::map<std::string, std::map<std::string, Value>> m_Keys;  // folded path -> folded name -> value
  std::map<THandle, std::string> m_Handles;
  THandle m_NextHandle = 0x80;
};
