// The profile reader on any bytes. Checks: every indexed lookup answers as a
// plain scan of the parsed sections by the platform's rules would; the parsed
// content written back as a file and read again is the same; no value read is
// longer than the cut.
#include <cstdint>

#include "FuzzCheck.h"
#include "fakes/FakeSystem.h"
#include "sysutil/ProfileFile.h"

namespace {

bool Space(char16_t c) { return text::IsProfileSpace(c); }

TString Trimmed(TStringView s) {
  size_t b = 0, e = s.size();
  while (b < e && Space(s[b])) ++b;
  while (e > b && Space(s[e - 1])) --e;
  return TString(s.substr(b, e - b));
}

// The reference: the first section of the name, in it the first key of the name.
const TProfileFile::TEntry* Scan(const TProfileFile& f, TStringView section, TStringView key) {
  const TString s = Trimmed(section), k = Trimmed(key);
  for (const auto& sec : f.Sections()) {
    if (!text::SameTextAscii(sec.Name, s)) continue;
    for (const auto& e : sec.Entries)
      if (text::SameTextAscii(e.Name, k)) return &e;
    return nullptr;
  }
  return nullptr;
}

// A name that a NUL cut after white space ends in that white space: the NUL
// written behind it keeps it from being trimmed.
// An empty name gets one too, or its line would be blank.
TString Name(TStringView n) { return n.empty() || Space(n.back()) ? TString(n) + TString(1, u'\0') : TString(n); }

TString WrittenBack(const TProfileFile& f) {
  TString out;
  for (const auto& sec : f.Sections()) {
    if (sec.Listed) out += u"[" + Name(sec.Name) + u"]\r\n";
    for (const auto& e : sec.Entries)
      out += e.HasValue ? Name(e.Name) + u"=\"" + TString(e.Value) + u"\"\r\n" : Name(e.Name) + u"\r\n";
  }
  return out;
}

void CheckLookup(const TProfileFile& f, const TString& section, const TString& key) {
  const TProfileFile::TEntry* want = Scan(f, section, key);
  const TString got = f.ReadString(section, key, u"\uFFFF");
  FUZZ_CHECK(got.size() <= TProfileFile::kMaxValueChars);
  if (want && want->HasValue)
    FUZZ_CHECK(got == want->Value.substr(0, TProfileFile::kMaxValueChars));
  else
    FUZZ_CHECK(got == u"\uFFFF");
  FUZZ_CHECK(f.ValueExists(section, key) == (want != nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static FakeSystem sys;  // ANSI files decode as UTF-8
  static ScopedPort<ISystem> port{sys};
  TProfileFile f;
  f.Parse(std::string(reinterpret_cast<const char*>(data), size));

  int lookups = 0;
  for (const auto& sec : f.Sections()) {
    const TString s(sec.Name);
    for (const auto& e : sec.Entries) {
      if (++lookups > 200) break;
      const TString k(e.Name);
      CheckLookup(f, s, k);
      CheckLookup(f, text::LowerAscii(u" " + s + u"\t"), text::UpperAscii(k + u" "));
      CheckLookup(f, s, k + u"x");
    }
    CheckLookup(f, s + u"]", u"k");
  }

  TProfileFile again;
  again.Parse(Utf16Bytes(WrittenBack(f)));
  FUZZ_CHECK(again.Sections().size() == f.Sections().size());
  for (size_t i = 0; i < f.Sections().size(); ++i) {
    const auto& a = f.Sections()[i];
    const auto& b = again.Sections()[i];
    FUZZ_CHECK(a.Name == b.Name && a.Listed == b.Listed && a.Entries.size() == b.Entries.size());
    for (size_t k = 0; k < a.Entries.size(); ++k)
      FUZZ_CHECK(a.Entries[k].Name == b.Entries[k].Name && a.Entries[k].Value == b.Entries[k].Value &&
                 a.Entries[k].HasValue == b.Entries[k].HasValue);
  }
  FUZZ_CHECK(again.ReadSections() == f.ReadSections());
  return 0;
}
