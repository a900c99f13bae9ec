// The report of the package check in the form compilers use, or as JSON, and
// the command line both front ends share.
#include "pkgcheck/PackageCheck.h"
#include "platform/IFileSystem.h"
#include "sysutil/Paths.h"

namespace pkgcheck {

namespace {

const char16_t* SeverityName(TSeverity s) { return s == TSeverity::Error ? u"error" : u"warning"; }

TString Plural(int n, const char16_t* word) { return text::IntToStr(n) + u" " + word + (n == 1 ? u"" : u"s"); }

TString Summary(const TCheckResult& r) {
  return u"driversetup-check: " + Plural(r.Models, u"model") + u", " + Plural(r.Count(TSeverity::Error), u"error") +
         u", " + Plural(r.Count(TSeverity::Warning), u"warning") + u"\n";
}

TString Json(TStringView s) {
  static const char16_t kHex[] = u"0123456789abcdef";
  TString out = u"\"";
  for (char16_t ch : s) {
    if (ch == u'"' || ch == u'\\') {
      out += u'\\';
      out += ch;
    } else if (ch < 0x20) {
      out += u"\\u00";
      out += kHex[ch >> 4];
      out += kHex[ch & 0xF];
    } else {
      out += ch;
    }
  }
  return out + u"\"";
}

}  // namespace

TString FormatText(const TCheckResult& r) {
  TString out;
  for (const TFinding& f : r.Findings)
    out += f.File + u":" + text::IntToStr(f.Line) + u": " + SeverityName(f.Severity) + u": " + f.Text + u"\n";
  return out + Summary(r);
}

TString FormatJson(const TCheckResult& r) {
  TString out = u"{\"findings\": [";
  for (size_t i = 0; i < r.Findings.size(); ++i) {
    const TFinding& f = r.Findings[i];
    out += (i ? u",\n  {" : u"\n  {");
    out += u"\"file\": " + Json(f.File) + u", \"line\": " + text::IntToStr(f.Line) + u", \"severity\": \"" +
           SeverityName(f.Severity) + u"\", \"model\": " + Json(f.Model) + u", \"text\": " + Json(f.Text) + u"}";
  }
  out += u"],\n \"models\": " + text::IntToStr(r.Models) + u", \"errors\": " +
         text::IntToStr(r.Count(TSeverity::Error)) + u", \"warnings\": " + text::IntToStr(r.Count(TSeverity::Warning)) +
         u", \"exit\": " + text::IntToStr(r.ExitCode()) + u"}\n";
  return out;
}

int RunCheckCommand(const std::vector<TString>& args, const TString& defaultFolder, TString& output) {
  bool json = false;
  TString folder;
  bool named = false;
  for (const TString& a : args) {
    if (a == u"--json") {
      json = true;
    } else if (!named && !a.empty() && a[0] != u'-') {
      folder = a;
      named = true;
    } else {
      output =
          u"usage: driversetup-check [--json] [\"<package folder>\"]\n"
          u"Checks a driver package as the installer loads it; exit code 0 clean, 1 warnings, 2 errors.\n";
      return 2;
    }
  }
  if (!named) folder = defaultFolder;
  const TString full = Fs().GetFullPathName(folder);
  const TCheckResult r = CheckPackage(full.empty() ? folder : full);
  output = json ? FormatJson(r) : FormatText(r);
  return r.ExitCode();
}

}  // namespace pkgcheck
