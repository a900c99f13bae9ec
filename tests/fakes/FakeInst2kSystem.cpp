#include "fakes/FakeInst2kSystem.h"

#include "sysutil/Paths.h"

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
  // The path rule works on UTF-16; ANSI bytes pass through it one by one.
  const TString full =
      paths::FullPath(TString(path.begin(), path.end()), TString(CurrentDir.begin(), CurrentDir.end()));
  fullPath.assign(full.begin(), full.end());
  return true;
}
