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

// FNV-1a over the name with ASCII letters in upper case.
std::uint32_t NameHash(TStringView name) {
  std::uint32_t h = 2166136261u;
  for (char16_t c : name) {
    h ^= text::UpperAscii(c);
    h *= 16777619u;
  }
  return h;
}

size_t TableSize(size_t count) {
  size_t size = 4;
  while (size < 2 * count) size *= 2;
  return size;
}

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
  m_Text = std::make_shared<const TString>(DecodeTextFile(bytes));
  const TStringView view(*m_Text);
  m_Sections.push_back(TSection{TStringView(), false, {}});
  TSection* current = &m_Sections.back();
  size_t pos = 0;
  while (pos < view.size()) {
    size_t end = pos;
    while (end < view.size() && view[end] != u'\r' && view[end] != u'\n') ++end;
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
          m_Sections.push_back(TSection{name, true, {}});
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
    current->Entries.push_back(entry);
  }
  Index();
}

void TProfileFile::Index() {
  // Stored names are trimmed already; what a NUL cut off may leave at the
  // end stays part of the name, so they are hashed as they are.
  m_SectionSlots.assign(TableSize(m_Sections.size()), TSlot{});
  m_KeyTables.assign(m_Sections.size(), TKeyTable{});
  m_KeySlots.clear();
  const size_t sectionMask = m_SectionSlots.size() - 1;
  for (std::uint32_t s = 0; s < m_Sections.size(); ++s) {
    const TSection& sec = m_Sections[s];
    const std::uint32_t hash = NameHash(sec.Name);
    size_t i = hash & sectionMask;
    bool duplicate = false;
    for (; m_SectionSlots[i].Index != kNone; i = (i + 1) & sectionMask) {
      const TSlot& slot = m_SectionSlots[i];
      if (slot.Hash == hash && text::SameTextAscii(m_Sections[slot.Index].Name, sec.Name)) duplicate = true;
    }
    if (duplicate) continue;  // a later section of the name is never read
    m_SectionSlots[i] = TSlot{hash, s};

    const size_t size = TableSize(sec.Entries.size());
    TKeyTable& table = m_KeyTables[s];
    table.Start = static_cast<std::uint32_t>(m_KeySlots.size());
    table.Mask = static_cast<std::uint32_t>(size - 1);
    m_KeySlots.resize(m_KeySlots.size() + size);
    TSlot* slots = &m_KeySlots[table.Start];
    for (std::uint32_t k = 0; k < sec.Entries.size(); ++k) {
      const TStringView name = sec.Entries[k].Name;
      const std::uint32_t keyHash = NameHash(name);
      size_t j = keyHash & table.Mask;
      bool taken = false;
      for (; slots[j].Index != kNone; j = (j + 1) & table.Mask) {
        if (slots[j].Hash == keyHash && text::SameTextAscii(sec.Entries[slots[j].Index].Name, name)) {
          taken = true;  // the first key of the name wins
          break;
        }
      }
      if (!taken) slots[j] = TSlot{keyHash, k};
    }
  }
}

std::uint32_t TProfileFile::FindSection(TStringView name) const {
  if (m_SectionSlots.empty()) return kNone;
  const size_t mask = m_SectionSlots.size() - 1;
  const std::uint32_t hash = NameHash(name);
  for (size_t i = hash & mask; m_SectionSlots[i].Index != kNone; i = (i + 1) & mask) {
    const TSlot& slot = m_SectionSlots[i];
    if (slot.Hash == hash && text::SameTextAscii(m_Sections[slot.Index].Name, name)) return slot.Index;
  }
  return kNone;
}

TStringList TProfileFile::ReadSections() const {
  TStringList r;
  for (const auto& s : m_Sections)
    if (s.Listed) r.emplace_back(s.Name);
  return r;
}

bool TProfileFile::SectionExists(TStringView section) const { return FindSection(TrimView(section)) != kNone; }

const TProfileFile::TEntry* TProfileFile::Find(TStringView section, TStringView key) const {
  const std::uint32_t s = FindSection(TrimView(section));
  if (s == kNone) return nullptr;
  key = TrimView(key);
  const TKeyTable& table = m_KeyTables[s];
  const TSlot* slots = &m_KeySlots[table.Start];
  const std::vector<TEntry>& entries = m_Sections[s].Entries;
  const std::uint32_t hash = NameHash(key);
  for (size_t i = hash & table.Mask; slots[i].Index != kNone; i = (i + 1) & table.Mask)
    if (slots[i].Hash == hash && text::SameTextAscii(entries[slots[i].Index].Name, key))
      return &entries[slots[i].Index];
  return nullptr;
}

bool TProfileFile::ValueExists(TStringView section, TStringView key) const { return Find(section, key) != nullptr; }

TString TProfileFile::ReadString(TStringView section, TStringView key, TStringView def) const {
  const TEntry* e = Find(section, key);
  const TStringView v = e && e->HasValue ? e->Value : def;
  return TString(v.substr(0, kMaxValueChars));
}

std::int32_t TProfileFile::ReadInteger(TStringView section, TStringView key, std::int32_t def) const {
  const TEntry* e = Find(section, key);
  std::int32_t v;
  return e && e->HasValue && text::TryParseInt(e->Value, v) ? v : def;
}

bool TProfileFile::ReadBool(TStringView section, TStringView key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}
