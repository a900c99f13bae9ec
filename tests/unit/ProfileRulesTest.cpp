// The reader against the platform's rules, case by case, and its lookups at
// the size of a very large package.
#include <gtest/gtest.h>

#include <chrono>

#include "fakes/ScopedMachine.h"
#include "sysutil/ProfileFile.h"

namespace {

TProfileFile Parsed(const TString& body) {
  TProfileFile f;
  f.Parse(Utf16File(body));
  return f;
}

TEST(ProfileRules, LookupsFollowThePlatform) {
  const TString nul(1, u'\0');
  struct Case {
    const char* What;
    TString File, Section, Key, Expect;  // Expect "<d>": the default
  };
  const Case cases[] = {
      {"no section name: the lines below are lost", u"[]\nk=1\n[S]\nb=2\n", u"", u"k", u"<d>"},
      {"blank section name: the same", u"[S]\nk=1\n[  ]\nk2=1\n", u"S", u"k2", u"<d>"},
      {"the header ends at the last bracket", u"[a]b]\nk=v\n", u"a]b", u"k", u"v"},
      {"control characters are text", u"[S]\nk=\x01x\x01\n", u"S", u"k", u"\x01x\x01"},
      {"Unicode spaces are text", u"[S]\nk=\u3000x\u00a0\n", u"S", u"k", u"\u3000x\u00a0"},
      {"tab, vertical tab, form feed and ^Z are trimmed", u"[S]\n\x0bk\x0c=\t x \x1a\n", u"S", u"k", u"x"},
      {"a NUL ends the value", u"[S]\nk=Tess" + nul + u"aron\nm=1\n", u"S", u"k", u"Tess"},
      {"a NUL ends the value, not the file", u"[S]\nk=Tess" + nul + u"aron\nm=1\n", u"S", u"m", u"1"},
      {"a NUL before the quotes keeps the opening one", u"[S]\nk=\"" + nul + u"\"\n", u"S", u"k", u"\""},
      {"a key without '=' hides a later one", u"[S]\nk\nk=v\n", u"S", u"k", u"<d>"},
      {"a later section of the same name is never read", u"[S]\na=1\n[s]\nb=2\n", u"S", u"b", u"<d>"},
      {"the first key of a name wins", u"[S]\nk=1\nK=2\n", u"s", u"k", u"1"},
      {"names in the file and in the query are trimmed", u"[ S ]\n k =v\n", u" s\t", u"K ", u"v"},
      {"lines before the first header form a nameless section", u"k=top\n[S]\n", u"", u"k", u"top"},
      {"an open bracket without a closing one is a key", u"[S]\n[abc=1\n", u"S", u"[abc", u"1"},
      {"comment lines are keys nobody asks for", u"[S]\n;k=v\n", u"S", u";k", u"v"},
      {"comment lines do not hide the key", u"[S]\n;k=v\nk=w\n", u"S", u"k", u"w"},
      {"double quotes are removed", u"[S]\nk=\"  x  \"\n", u"S", u"k", u"  x  "},
      {"single quotes are removed", u"[S]\nk='x'\n", u"S", u"k", u"x"},
      {"unmatched quotes stay", u"[S]\nk=\"x'\n", u"S", u"k", u"\"x'"},
      {"one quote alone stays", u"[S]\nk=\"\n", u"S", u"k", u"\""},
      {"the value starts after the first '='", u"[S]\nk==v\n", u"S", u"k", u"=v"},
      {"a lone CR ends a line", u"[S]\na=b\rc=d\n", u"S", u"c", u"d"},
      {"an empty value is no default", u"[S]\nk=\n", u"S", u"k", u""},
      {"a key may have an empty name", u"[S]\n=v\n", u"S", u" ", u"v"},
      {"a NUL after white space leaves it in the name", u"[S]\nk " + nul + u"x=v\n", u"S", u"k", u"<d>"},
      {"only ASCII letters fold", u"[\u00c9]\nk=v\n", u"\u00e9", u"k", u"<d>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.File).ReadString(c.Section, c.Key, u"<d>"), c.Expect) << c.What;
}

TEST(ProfileRules, SectionListFollowsThePlatform) {
  const TString nul(1, u'\0');
  struct Case {
    const char* What;
    TString File;
    TStringList Expect;
  };
  const Case cases[] = {
      {"empty and blank names are not listed", u"[]\n[S]\n[ ]\n[\t]\n[" + nul + u"x]\n", {u"S"}},
      {"the last bracket ends the name", u"[a]b]\n[[T]]\n[U]x\n", {u"a]b", u"[T]", u"U"}},
      {"names are trimmed and cut at a NUL", u"[ S ]\n[\x1aT" + nul + u"U]\n", {u"S", u"T"}},
      {"duplicates and file order are kept", u"k=1\n[B]\n[a]\n[b]\n", {u"B", u"a", u"b"}},
      {"a bracket without its partner is no header", u"[S\n]\n", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.File).ReadSections(), c.Expect) << c.What;
}

TEST(ProfileRules, LookupsStayFastInAHugeFile) {
  // 20,000 sections of 8 keys; each section is asked for 16 keys, half of
  // them missing. A reader that scans the sections per lookup needs about
  // three billion name comparisons for this; an indexed one 320,000 lookups.
  constexpr int kSections = 20000;
  TString body;
  for (int s = 0; s < kSections; ++s) {
    body += u"[Model " + text::IntToStr(s) + u"]\n";
    for (int k = 0; k < 8; ++k) body += u"Key" + text::IntToStr(k) + u"=" + text::IntToStr(s * 8 + k) + u"\n";
  }
  const auto start = std::chrono::steady_clock::now();
  TProfileFile f = Parsed(body);
  long long sum = 0;
  for (int s = 0; s < kSections; ++s)
    for (int k = 0; k < 16; ++k) sum += f.ReadInteger(u"MODEL " + text::IntToStr(s), u"key" + text::IntToStr(k), 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long long n = kSections * 8LL;
  EXPECT_EQ(sum, n * (n - 1) / 2);
  EXPECT_LT(seconds, 8.0);
}

}  // namespace
