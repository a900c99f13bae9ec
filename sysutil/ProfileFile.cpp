#include "sysutil/ProfileFile.h"

#include "platform/IFileSystem.h"

TString DecodeTextFile(const std::string& bytes) {
  auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 2 && ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF))) {
    bool le = b(0) == 0xFF;
    TString out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      out.push_back(static_cast<char16_t>(le ? (b(i) | (b(i + 1) << 8)) : ((b(i) << 8) | b(i + 1))));
    return out;
  }
  if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF)
    return text::FromUtf8(std::string_view(bytes).substr(3));
  return text::FromAnsi(bytes);
}

bool TProfileFile::Open(const TString& fileName) {
  std::string bytes;
  if (!Fs().ReadFile(fileName, bytes)) return false;
  m_FileName = fileName;
  Parse(bytes);
  return true;
}

void TProfileFile::Parse(const std::string& bytes) {
  m_Sections.clear();
  TString all = DecodeTextFile(bytes);
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= all.size()) {
    size_t end = all.find_first_of(u"\r\n", pos);
    if (end == TString::npos) end = all.size();
    TString line = text::Trim(TStringView(all).substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'[') {
      size_t close = line.find(u']');
      TString name = text::Trim(TStringView(line).substr(1, close == TString::npos ? TString::npos : close - 1));
      m_Sections.push_back(Section{name, {}});
      current = &m_Sections.back();
      continue;
    }
    size_t eq = line.find(u'=');
    if (!current || eq == TString::npos) continue;
    TString key = text::Trim(TStringView(line).substr(0, eq));
    TString value = text::Trim(TStringView(line).substr(eq + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    current->Entries.push_back(Entry{key, value});
  }
}

TStringList TProfileFile::ReadSections() const {
  TStringList r;
  for (const auto& s : m_Sections) r.push_back(s.Name);
  return r;
}

bool TProfileFile::SectionExists(const TString& section) const {
  for (const auto& s : m_Sections)
    if (text::SameTextAscii(s.Name, section)) return true;
  return false;
}

const TProfileFile::Entry* TProfileFile::Find(const TString& section, const TString& key) const {
  for (const auto& s : m_Sections) {
    if (!text::SameTextAscii(s.Name, section)) continue;
    for (const auto& e : s.Entries)
      if (text::SameTextAscii(e.Key, key)) return &e;
  }
  return nullptr;
}

bool TProfileFile::ValueExists(const TString& section, const TString& key) const {
  return Find(section, key) != nullptr;
}

TString TProfileFile::ReadString(const TString& section, const TString& key, const TString& def) const {
  const Entry* e = Find(section, key);
  TString v = e ? e->Value : def;
  if (v.size() > kMaxValueChars) v.resize(kMaxValueChars);
  return v;
}

std::int32_t TProfileFile::ReadInteger(const TString& section, const TString& key, std::int32_t def) const {
  const Entry* e = Find(section, key);
  std::int32_t v;
  return e && text::TryParseInt(e->Value, v) ? v : def;
}

bool TProfileFile::ReadBool(const TString& section, const TString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}
