#include "fakes/FakeInst2kSystem.h"

std::string FakeInst2kSystem::Fold(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

bool FakeInst2kSystem::FormatSystemMessage(std::uint32_t code, std::uint32_t maxChars, std::string& text) {
  auto it = SystemMessages.find(code);
  if (it == SystemMessages.end()) {
    m_LastError = 317;  // ERROR_MR_MID_NOT_FOUND
    return false;
  }
  text = it->second.substr(0, maxChars - 1);
  return true;
}

std::string FakeInst2kSystem::LoadString(THandle module, std::uint32_t id, std::uint32_t maxChars) {
  LoadedFromModule = module;
  auto it = Strings.find(id);
  return it == Strings.end() ? std::string() : it->second.substr(0, maxChars - 1);
}

std::uint32_t FakeInst2kSystem::GetFileAttributes(const std::string& path) {
  std::string full;
  if (!GetFullPathName(path, full)) return inst2k::kInvalidFileAttributes;
  auto it = m_Files.find(Fold(full));
  if (it == m_Files.end()) {
    m_LastError = 2;
    return inst2k::kInvalidFileAttributes;
  }
  return it->second ? inst2k::kFileAttributeDirectory : 0x20;  // FILE_ATTRIBUTE_ARCHIVE
}

bool FakeInst2kSystem::GetFullPathName(const std::string& path, std::string& fullPath) {
  if (path.empty()) {
    m_LastError = 123;  // ERROR_INVALID_NAME
    return false;
  }
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    fullPath = path;
    return true;
  }
  std::string rel = path;
  if (rel.rfind(".\\", 0) == 0) rel.erase(0, 2);
  fullPath = CurrentDir + "\\" + rel;
  return true;
}
