// The strings file loaded from any bytes, then the captions of a form and the
// formatted texts. Checks: no escaped line break survives in the texts that
// take them; the others are stored as read; captions and hints go only to the
// kinds of control that take them; formatting a loaded text stays within the
// width bound; the brand colour is the hexadecimal value or the default.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "config/LangStrings.h"
#include "fakes/ScopedMachine.h"

namespace {

struct Component {
  Component(const char16_t* name, TControlKind kind) : Name(name), Kind(kind) {}
  TString Name;
  TControlKind Kind;
  TString Caption, Hint;
};

class Form : public IControlsForm {
 public:
  TString Caption = u"unset";
  std::vector<Component> Items = {{u"btnStart", TControlKind::Button},         {u"lblReadGuide", TControlKind::Label},
                                  {u"edtInfos", TControlKind::Edit},           {u"grpPrinters", TControlKind::GroupBox},
                                  {u"lvPrinters", TControlKind::OtherControl}, {u"tmrHints", TControlKind::NonVisual}};
  void SetFormCaption(const TString& c) override { Caption = c; }
  int ComponentCount() const override { return static_cast<int>(Items.size()); }
  TString ComponentName(int i) const override { return Items[static_cast<size_t>(i)].Name; }
  TControlKind ComponentKind(int i) const override { return Items[static_cast<size_t>(i)].Kind; }
  void SetComponentCaption(int i, const TString& t) override { Items[static_cast<size_t>(i)].Caption = t; }
  void SetComponentHint(int i, const TString& t) override { Items[static_cast<size_t>(i)].Hint = t; }
};

void CheckFormatted(const TString& fmt, const std::vector<text::FormatArg>& args) {
  const TString out = text::Format(fmt, args);
  size_t longestArg = 11;  // "-2147483648"
  for (const auto& a : args) longestArg = std::max(longestArg, a.s.size());
  const size_t directives = static_cast<size_t>(std::count(fmt.begin(), fmt.end(), u'%'));
  FUZZ_CHECK(out.size() <= fmt.size() + directives * (text::kMaxFormatWidth + longestArg));
}

std::uint32_t ExpectedColor(const TString& s) {
  if (s.empty()) return 0x800080;
  std::uint64_t v = 0;
  for (char16_t c : s) {
    const int d = c >= u'0' && c <= u'9'   ? c - u'0'
                  : c >= u'a' && c <= u'f' ? c - u'a' + 10
                  : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                           : -1;
    if (d < 0) return 0x800080;
    v = v * 16 + static_cast<std::uint64_t>(d);
    if (v > 0xFFFFFFFFu) return 0x800080;
  }
  return static_cast<std::uint32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  ScopedMachine m;
  m.fs.AddFile(u"C:\\T\\Strings.ini", std::string(reinterpret_cast<const char*>(data), size));
  g_LangOptions.LoadFromFile(u"C:\\T\\Strings.ini");
  const strInstaller& s = g_strInstaller;

  const TString dt = u"DialogText";
  FUZZ_CHECK(s.Loading == g_LangOptions.GetOptionString(dt, u"Loading", u"Loading"));
  FUZZ_CHECK(s.NoticeTitle == g_LangOptions.GetOptionString(dt, u"NoticeTitle", u""));
  for (const TString* t : {&s.ClickInstallToStart, &s.InstallSuccessStr, &s.InstallFailStr, &s.InstallFailCode,
                           &s.InstallOnline, &s.RestartWindowsimmediately, &s.DeletePrinterDriverError}) {
    FUZZ_CHECK(!text::ContainsTextAscii(*t, u"\\r\\n"));
    FUZZ_CHECK(t->size() <= TProfileFile::kMaxValueChars);
  }
  CheckFormatted(s.InstallSuccessStr, {u"Tessaron TS-2100", u"USB001"});
  CheckFormatted(s.InstallFailCode, {0xE000020Bu});
  CheckFormatted(s.InstallOnline, {u"USB"});
  FUZZ_CHECK(BrandColor(s.OEMColor) == ExpectedColor(s.OEMColor));

  Form form;
  g_LangOptions.LoadControlsCaption(form, u"Controls.Installer");
  FUZZ_CHECK(form.Caption == g_LangOptions.GetOptionString(u"Controls.Installer", u"ProgramTitle", u""));
  for (const Component& c : form.Items) {
    const TString v = g_LangOptions.GetOptionString(u"Controls.Installer", c.Name, u"");
    const bool takesCaption = c.Kind == TControlKind::Button || c.Kind == TControlKind::Label ||
                              c.Kind == TControlKind::Edit || c.Kind == TControlKind::GroupBox;
    const bool takesHint = c.Kind == TControlKind::Edit || c.Kind == TControlKind::GroupBox;
    FUZZ_CHECK(c.Caption == (takesCaption ? v : TString()));
    FUZZ_CHECK(c.Hint == (takesHint ? v : TString()));
  }
  return 0;
}
