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

namespace {

// A name or value ends at its first NUL.
TStringView UpToNul(TStringView s) { return s.substr(0, s.find(u'\0')); }

TStringView TrimLeft(TStringView s) {
  size_t b = 0;
  while (b < s.size() && text::IsProfileSpace(s[b])) ++b;
  return s.substr(b);
}

TStringView TrimRight(TStringView s) {
  size_t e = s.size();
  while (e > 0 && text::IsProfileSpace(s[e - 1])) --e;
  return s.substr(0, e);
}

TStringView TrimView(TStringView s) { return TrimRight(TrimLeft(s)); }

TStringView Unquote(TStringView v) {
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// The index key of a name asked for: trimmed, ASCII letters in upper case.
TString Folded(TStringView name) { return text::UpperAscii(TrimView(name)); }

}  // namespace

bool TProfileFile::Open(const TString& fileName) {
  std::string bytes;
  if (!Fs().ReadFile(fileName, bytes)) return false;
  m_FileName = fileName;
  Parse(bytes);
  return true;
}

void TProfileFile::Parse(const std::string& bytes) {
  m_Sections.clear();
  const TString all = DecodeTextFile(bytes);
  const TStringView view(all);
  m_Sections.push_back(TSection{TString(), false, {}});
  TSection* current = &m_Sections.back();
  size_t pos = 0;
  while (pos < view.size()) {
    size_t end = view.find_first_of(u"\r\n", pos);
    if (end == TStringView::npos) end = view.size();
    const TStringView line = TrimView(view.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (line[0] == u'[') {
      const size_t close = line.rfind(u']');
      if (close != TStringView::npos) {
        const TStringView name = UpToNul(TrimView(line.substr(1, close - 1)));
        if (name.empty()) {
          current = nullptr;  // a section nobody can name: its lines are lost
        } else {
          m_Sections.push_back(TSection{TString(name), true, {}});
          current = &m_Sections.back();
        }
        continue;
      }
    }
    if (!current) continue;
    TEntry entry;
    const size_t eq = line.find(u'=');
    if (eq == TStringView::npos) {
      entry.Name = UpToNul(line);
    } else {
      entry.Name = UpToNul(TrimRight(line.substr(0, eq)));
      entry.Value = Unquote(UpToNul(TrimLeft(line.substr(eq + 1))));
      entry.HasValue = true;
    }
    current->Entries.push_back(std::move(entry));
  }
  Index();
}

void TProfileFile::Index() {
  m_SectionIndex.clear();
  m_KeyIndex.assign(m_Sections.size(), {});
  for (std::uint32_t s = 0; s < m_Sections.size(); ++s) {
    const TSection& sec = m_Sections[s];
    if (!m_SectionIndex.emplace(text::UpperAscii(sec.Name), s).second) continue;  // a later duplicate is never read
    auto& keys = m_KeyIndex[s];
    keys.reserve(sec.Entries.size());
    // Stored names are trimmed already; what a NUL cut off may leave at the end stays part of the name.
    for (std::uint32_t k = 0; k < sec.Entries.size(); ++k) keys.emplace(text::UpperAscii(sec.Entries[k].Name), k);
  }
}

TStringList TProfileFile::ReadSections() const {
  TStringList r;
  for (const auto& s : m_Sections)
    if (s.Listed) r.push_back(s.Name);
  return r;
}

bool TProfileFile::SectionExists(const TString& section) const { return m_SectionIndex.count(Folded(section)) != 0; }

const TProfileFile::TEntry* TProfileFile::Find(TStringView section, TStringView key) const {
  const auto s = m_SectionIndex.find(Folded(section));
  if (s == m_SectionIndex.end()) return nullptr;
  const auto& keys = m_KeyIndex[s->second];
  const auto k = keys.find(Folded(key));
  return k == keys.end() ? nullptr : &m_Sections[s->second].Entries[k->second];
}

bool TProfileFile::ValueExists(const TString& section, const TString& key) const {
  return Find(section, key) != nullptr;
}

TString TProfileFile::ReadString(const TString& section, const TString& key, const TString& def) const {
  const TEntry* e = Find(section, key);
  TString v = e && e->HasValue ? e->Value : def;
  if (v.size() > kMaxValueChars) v.resize(kMaxValueChars);
  return v;
}

std::int32_t TProfileFile::ReadInteger(const TString& section, const TString& key, std::int32_t def) const {
  const TEntry* e = Find(section, key);
  std::int32_t v;
  return e && e->HasValue && text::TryParseInt(e->Value, v) ? v : def;
}

bool TProfileFile::ReadBool(const TString& section, const TString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}
