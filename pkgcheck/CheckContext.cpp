#include "pkgcheck/CheckContext.h"

#include <algorithm>

namespace pkgcheck {

TLineIndex::TLineIndex(TStringView text) {
  m_Starts.push_back(0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    if (text[i] == u'\r' || text[i] == u'\n') m_Starts.push_back(i + 1);
  }
}

int TLineIndex::LineOf(size_t offset) const {
  return static_cast<int>(std::upper_bound(m_Starts.begin(), m_Starts.end(), offset) - m_Starts.begin());
}

namespace {
TProfileFile Parsed(const std::string& bytes) {
  TProfileFile ini;
  ini.Parse(bytes);
  return ini;
}
}  // namespace

TLinedProfile::TLinedProfile(const std::string& bytes) : m_Ini(Parsed(bytes)), m_Lines(m_Ini.Text()) {
  const auto& sections = m_Ini.Sections();
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].Listed) m_Sections.emplace(text::UpperAscii(sections[i].Name), i);
}

const TProfileFile::TSection* TLinedProfile::Section(TStringView name) const {
  const auto at = m_Sections.find(text::UpperAscii(name));
  return at == m_Sections.end() ? nullptr : &m_Ini.Sections()[at->second];
}

int TLinedProfile::LineOf(TStringView inside) const {
  const TStringView text = m_Ini.Text();
  if (inside.data() < text.data() || inside.data() > text.data() + text.size()) return 1;
  return m_Lines.LineOf(static_cast<size_t>(inside.data() - text.data()));
}

int TLinedProfile::SectionLine(TStringView section) const {
  const TProfileFile::TSection* s = Section(section);
  return s ? LineOf(s->Name) : 1;
}

int TLinedProfile::KeyLine(TStringView section, TStringView key) const {
  const TProfileFile::TSection* s = Section(section);
  if (!s) return 1;
  for (const auto& e : s->Entries)
    if (text::SameTextAscii(e.Name, key)) return LineOf(e.Name);
  return LineOf(s->Name);
}

TString TContext::Rel(const TString& path) const {
  TString rel = path;
  if (path.size() > Folder.size() && text::SameTextAscii(TStringView(path).substr(0, Folder.size()), Folder) &&
      path[Folder.size()] == u'\\')
    rel = path.substr(Folder.size() + 1);
  std::replace(rel.begin(), rel.end(), u'\\', u'/');
  return rel;
}

void TContext::Add(const TString& path, int line, TSeverity severity, TStringView model, TStringView label,
                   const char* fmt, std::initializer_list<TStringView> args) {
  TString text = Msg(fmt, args);
  if (!label.empty()) text = TString(label) + u": " + text;
  Result.Findings.push_back({Rel(path), line < 1 ? 1 : line, severity, TString(model), std::move(text)});
}

TString Msg(const char* fmt, std::initializer_list<TStringView> args) {
  TString out;
  auto next = args.begin();
  for (const char* p = fmt; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (next != args.end()) out.append(*next++);
      ++p;
    } else {
      out += static_cast<char16_t>(static_cast<unsigned char>(*p));
    }
  }
  return out;
}

TString DescribeChar(char16_t ch) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  TString s = u"U+";
  for (int shift = 12; shift >= 0; shift -= 4) s += kHex[(ch >> shift) & 0xF];
  if (ch >= 0x20 && (ch < 0xD800 || ch >= 0xE000)) s += TString(u" \"") + ch + u"\"";
  return s;
}

}  // namespace pkgcheck
