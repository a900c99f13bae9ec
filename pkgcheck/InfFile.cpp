#include "pkgcheck/InfFile.h"

#include "sysutil/ProfileFile.h"

namespace pkgcheck {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\x1A' || c == u'\f' || c == u'\v'; }

TStringView TrimView(TStringView s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// One logical line: its text without the comment, and where it started.
struct TRawLine {
  int Line = 0;
  TString Text;
  bool OpenQuote = false;
};

// Splits the decoded text into logical lines: a trailing backslash joins the
// next line, ";" outside quotes starts a comment.
std::vector<TRawLine> LogicalLines(TStringView text) {
  std::vector<TRawLine> out;
  TRawLine cur;
  bool joining = false;
  int line = 1;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    TStringView physical = text.substr(pos, end - pos);
    if (!joining) cur = TRawLine{line, {}, false};
    bool quote = false;
    size_t cut = physical.size();
    for (size_t i = 0; i < physical.size(); ++i) {
      if (physical[i] == u'"') quote = !quote;
      if (physical[i] == u';' && !quote) {
        cut = i;
        break;
      }
    }
    TStringView body = physical.substr(0, cut);
    while (!body.empty() && IsSpace(body.back())) body.remove_suffix(1);
    joining = !quote && !body.empty() && body.back() == u'\\';
    if (joining) body.remove_suffix(1);
    cur.Text.append(body);
    cur.OpenQuote = cur.OpenQuote || quote;
    if (!joining && !TrimView(cur.Text).empty()) out.push_back(cur);
    if (end >= text.size()) break;
    pos = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
    ++line;
  }
  if (joining && !TrimView(cur.Text).empty()) out.push_back(cur);
  return out;
}

// Splits at `sep` outside quotes (the quotes stay).
std::vector<TStringView> SplitOutsideQuotes(TStringView s, char16_t sep, size_t maxParts) {
  std::vector<TStringView> parts;
  bool quote = false;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'"') quote = !quote;
    if (s[i] == sep && !quote && parts.size() + 1 < maxParts) {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(s.substr(start));
  return parts;
}

// A field's text: quotes removed ("" inside quotes is one quote), blanks
// outside quotes trimmed at both ends.
TString Unquote(TStringView field) {
  field = TrimView(field);
  TString out;
  bool quote = false;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == u'"') {
      if (quote && i + 1 < field.size() && field[i + 1] == u'"') {
        out += u'"';
        ++i;
      } else {
        quote = !quote;
      }
      continue;
    }
    out += field[i];
  }
  return out;
}

bool IsDigits(TStringView s) {
  if (s.empty()) return false;
  for (char16_t c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

bool IsStringsSection(TStringView name) {
  return text::SameTextAscii(name, u"Strings") || text::StartsWithTextAscii(name, u"Strings.");
}

}  // namespace

TString TInfFile::Expand(TStringView raw, int line) {
  TString out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != u'%') {
      out += raw[i];
      continue;
    }
    const size_t close = raw.find(u'%', i + 1);
    if (close == TStringView::npos) {
      out.append(raw.substr(i));
      break;
    }
    const TStringView token = raw.substr(i + 1, close - i - 1);
    i = close;
    if (token.empty()) {
      out += u'%';
      continue;
    }
    const auto found = m_Strings.find(text::UpperAscii(token));
    if (found != m_Strings.end()) {
      out += m_StringValues[found->second];
    } else {
      // Numbers are folder IDs of the setup functions; anything else is a
      // string the [Strings] section does not define.
      if (!IsDigits(token))
        m_Notes.push_back({line, u"the string %" + TString(token) + u"% is not defined in [Strings]"});
      out += u'%';
      out.append(token);
      out += u'%';
    }
  }
  return out;
}

void TInfFile::Parse(const std::string& bytes) {
  m_Sections.clear();
  m_Notes.clear();
  m_Strings.clear();
  m_StringValues.clear();
  m_Index.clear();
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE && bytes.size() % 2)
    m_Notes.push_back({1, u"the UTF-16 file has an odd number of bytes: its last byte is lost"});
  const TString decoded = DecodeTextFile(bytes);
  const std::vector<TRawLine> lines = LogicalLines(decoded);

  // First the sections with their raw lines, and the strings.
  struct TRaw {
    int Line;
    TStringView Text;
  };
  std::vector<std::vector<TRaw>> raw;
  size_t current = 0;
  bool before = false;  // a line before the first section was noted
  for (const TRawLine& l : lines) {
    const TStringView t = TrimView(l.Text);
    if (l.OpenQuote) m_Notes.push_back({l.Line, u"a quote is not closed on this line"});
    if (t.front() == u'[') {
      size_t close = t.find(u']');
      if (close == TStringView::npos) {
        m_Notes.push_back({l.Line, u"the section header has no closing \"]\""});
        close = t.size();
      }
      TString name(TrimView(t.substr(1, close - 1)));
      const auto [at, added] = m_Index.emplace(text::UpperAscii(name), m_Sections.size());
      if (added) {
        m_Sections.push_back({std::move(name), l.Line, {}});
        raw.emplace_back();
      }
      current = at->second;
      continue;
    }
    if (m_Sections.empty()) {
      if (!before) m_Notes.push_back({l.Line, u"the lines before the first section are ignored"});
      before = true;
      continue;
    }
    raw[current].push_back({l.Line, t});
  }
  // The strings: [Strings] first, then its language variants for the tokens it lacks.
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t s = 0; s < m_Sections.size(); ++s) {
      const bool plain = text::SameTextAscii(m_Sections[s].Name, u"Strings");
      if (!IsStringsSection(m_Sections[s].Name) || plain != (pass == 0)) continue;
      for (const TRaw& r : raw[s]) {
        const auto kv = SplitOutsideQuotes(r.Text, u'=', 2);
        if (kv.size() < 2) continue;
        if (m_Strings.emplace(text::UpperAscii(Unquote(kv[0])), m_StringValues.size()).second)
          m_StringValues.push_back(Unquote(kv[1]));
      }
    }
  }
  for (size_t s = 0; s < m_Sections.size(); ++s) {
    const bool strings = IsStringsSection(m_Sections[s].Name);
    for (const TRaw& r : raw[s]) {
      TInfLine line;
      line.Line = r.Line;
      const auto kv = SplitOutsideQuotes(r.Text, u'=', 2);
      TStringView value = r.Text;
      if (kv.size() == 2) {
        line.HasKey = true;
        line.Key = strings ? Unquote(kv[0]) : Expand(Unquote(kv[0]), r.Line);
        value = kv[1];
      }
      if (strings) {
        line.Fields.push_back(Unquote(value));
      } else {
        for (TStringView f : SplitOutsideQuotes(value, u',', TString::npos))
          line.Fields.push_back(Expand(Unquote(f), r.Line));
      }
      m_Sections[s].Lines.push_back(std::move(line));
    }
  }
}

const TInfSection* TInfFile::Find(TStringView name) const {
  const auto at = m_Index.find(text::UpperAscii(name));
  return at == m_Index.end() ? nullptr : &m_Sections[at->second];
}

const TInfLine* TInfFile::FindKey(TStringView section, TStringView key) const {
  const TInfSection* s = Find(section);
  if (!s) return nullptr;
  for (const TInfLine& l : s->Lines)
    if (l.HasKey && text::SameTextAscii(l.Key, key)) return &l;
  return nullptr;
}

TString TInfFile::Value(TStringView section, TStringView key) const {
  const TInfLine* l = FindKey(section, key);
  return l && !l->Fields.empty() ? l->Fields[0] : TString();
}

std::vector<const TInfSection*> TInfFile::WithDecorations(TStringView name) const {
  std::vector<const TInfSection*> out;
  for (const TInfSection& s : m_Sections)
    if (text::SameTextAscii(s.Name, name) || (s.Name.size() > name.size() + 1 && s.Name[name.size()] == u'.' &&
                                              text::SameTextAscii(TStringView(s.Name).substr(0, name.size()), name)))
      out.push_back(&s);
  return out;
}

}  // namespace pkgcheck
