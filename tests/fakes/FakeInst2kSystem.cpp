#include "fakes/FakeInst2kSystem.h"

#include "sysutil/Paths.h"

std::string FakeInst2kSystem::Fold(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

TString FakeInst2kSystem::Wide(const std::string& s) {
  TString w;
  for (char c : s) w.push_back(static_cast<unsigned char>(c));
  return w;
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

std::string FakeInst2kSystem::LoadString(THandle module, std::uint32_t id, std::uint32_t maxChars,
                                         std::uint16_t language) {
  LoadedFromModule = module;
  LastStringLanguage = language;
  auto it = Strings.find(id);
  return it == Strings.end() ? std::string() : it->second.substr(0, maxChars - 1);
}

std::uint32_t FakeInst2kSystem::GetFileAttributes(const std::string& path) {
  std::string full;
  if (!GetFullPathName(path, full)) return inst2k::kInvalidFileAttributes;
  if (m_Files.DirectoryExists(Wide(full))) return inst2k::kFileAttributeDirectory;
  if (m_Files.FileExists(Wide(full))) return 0x20;  // FILE_ATTRIBUTE_ARCHIVE
  m_LastError = 2;
  return inst2k::kInvalidFileAttributes;
}

bool FakeInst2kSystem::GetFullPathName(const std::string& path, std::string& fullPath) {
  if (path.empty()) {
    m_LastError = 123;  // ERROR_INVALID_NAME
    return false;
  }
  // The path rule works on UTF-16; ANSI bytes pass through it one by one.
  const TString full = paths::FullPath(Wide(path), Wide(CurrentDir));
  fullPath.clear();
  for (char16_t c : full) fullPath.push_back(static_cast<char>(c));
  return true;
}
