// The package check's INF reader over any bytes. Checks: every section name
// finds its own section; every line number lies in the file; and the parsed
// sections written back in canonical form (every name and field quoted, the
// quotes doubled, "%" as "%%" outside the strings sections) read back to the
// same sections, keys and fields.
#include <cstdint>

#include "FuzzCheck.h"
#include "fakes/ScopedMachine.h"
#include "pkgcheck/InfFile.h"
#include "sysutil/ProfileFile.h"

namespace {

TString Quote(const TString& s, bool strings) {
  TString out = u"\"";
  for (char16_t c : s) {
    if (c == u'"') out += u'"';
    if (c == u'%' && !strings) out += u'%';
    out += c;
  }
  return out + u"\"";
}

bool IsStrings(const TString& name) {
  return text::SameTextAscii(name, u"Strings") || text::StartsWithTextAscii(name, u"Strings.");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  static ScopedMachine* machine = [] {  // the system's ANSI code page, for every run
    auto* m = new ScopedMachine;
    m->sys.Ansi = FakeSystem::AnsiPage::Latin1;
    return m;
  }();
  (void)machine;
  pkgcheck::TInfFile inf;
  inf.Parse(bytes);

  const TString decoded = DecodeTextFile(bytes);
  int lines = 1;
  for (size_t i = 0; i < decoded.size(); ++i) {
    if (decoded[i] == u'\r' && i + 1 < decoded.size() && decoded[i + 1] == u'\n') ++i;
    lines += decoded[i] == u'\r' || decoded[i] == u'\n';
  }
  for (const auto& n : inf.Notes()) FUZZ_CHECK(n.Line >= 1 && n.Line <= lines);

  TString canonical;
  for (const auto& s : inf.Sections()) {
    FUZZ_CHECK(inf.Find(s.Name) == &s);
    FUZZ_CHECK(s.Line >= 1 && s.Line <= lines);
    // A name holds no "]" (it ends the header) and no ";" outside quotes.
    if (s.Name.find(u']') != TString::npos || s.Name.find(u';') != TString::npos) return 0;
    canonical += u"[" + s.Name + u"]\r\n";
    const bool strings = IsStrings(s.Name);
    for (const auto& l : s.Lines) {
      FUZZ_CHECK(l.Line >= 1 && l.Line <= lines);
      if (l.HasKey) canonical += Quote(l.Key, strings) + u"=";
      for (size_t i = 0; i < l.Fields.size(); ++i) canonical += (i ? u"," : u"") + Quote(l.Fields[i], strings);
      canonical += u"\r\n";
    }
  }
  pkgcheck::TInfFile again;
  again.Parse(Utf16Bytes(canonical));
  FUZZ_CHECK(again.Sections().size() == inf.Sections().size());
  for (size_t s = 0; s < inf.Sections().size(); ++s) {
    const auto &a = inf.Sections()[s], &b = again.Sections()[s];
    FUZZ_CHECK(a.Name == b.Name && a.Lines.size() == b.Lines.size());
    for (size_t i = 0; i < a.Lines.size(); ++i)
      FUZZ_CHECK(a.Lines[i].HasKey == b.Lines[i].HasKey && a.Lines[i].Key == b.Lines[i].Key &&
                 a.Lines[i].Fields == b.Lines[i].Fields);
  }
  return 0;
}
