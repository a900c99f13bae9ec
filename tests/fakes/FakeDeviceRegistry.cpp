#include "fakes/FakeDeviceRegistry.h"

#include "fakes/FakeInst2kSystem.h"

namespace {

std::string Fold(const std::string& s) { return FakeInst2kSystem::Fold(s); }

}  // namespace

void FakeDeviceRegistry::AddKey(const std::string& path) {
  std::string folded = Fold(path);
  for (size_t pos = folded.find('\\'); pos != std::string::npos; pos = folded.find('\\', pos + 1))
    m_Keys[folded.substr(0, pos)];
  m_Keys[folded];
}

bool FakeDeviceRegistry::HasKey(const std::string& path) const { return m_Keys.count(Fold(path)) != 0; }

const FakeDeviceRegistry::Value* FakeDeviceRegistry::FindValue(const std::string& path, const std::string& name) const {
  auto key = m_Keys.find(Fold(path));
  if (key == m_Keys.end()) return nullptr;
  auto value = key->second.find(Fold(name));
  return value == key->second.end() ? nullptr : &value->second;
}

std::size_t FakeDeviceRegistry::ValueCount(const std::string& path) const {
  auto key = m_Keys.find(Fold(path));
  return key == m_Keys.end() ? 0 : key->second.size();
}

std::int32_t FakeDeviceRegistry::OpenKey(const std::string& subKey, std::uint32_t /*access*/, THandle& key) {
  key = 0;
  if (!HasKey(subKey)) return 2;  // ERROR_FILE_NOT_FOUND
  key = m_NextHandle++;
  m_Handles[key] = Fold(subKey);
  return 0;
}

std::int32_t FakeDeviceRegistry::CreateKey(const std::string& subKey, std::uint32_t options, std::uint32_t /*access*/,
                                           THandle& key) {
  key = 0;
  if (options != 0) return 87;
  for (const auto& denied : DenyCreate)
    if (Fold(denied) == Fold(subKey) && !HasKey(subKey)) return 5;  // ERROR_ACCESS_DENIED
  AddKey(subKey);
  key = m_NextHandle++;
  m_Handles[key] = Fold(subKey);
  return 0;
}

std::int32_t FakeDeviceRegistry::SetValue(THandle key, const std::string& name, std::uint32_t type,
                                          const std::string& data) {
  auto it = m_Handles.find(key);
  if (it == m_Handles.end()) return 6;  // ERROR_INVALID_HANDLE
  m_Keys[it->second][Fold(name)] = {type, data};
  return 0;
}

std::int32_t FakeDeviceRegistry::CloseKey(THandle key) { return m_Handles.erase(key) ? 0 : 6; }
