#include "spooler/PrintUI.h"

namespace {

bool Quotable(const TString& v) { return v.find(u'"') == TString::npos && (v.empty() || v.back() != u'\\'); }

}  // namespace

TString PrintUICommand(TStringView switches, const std::vector<TString>& values) {
  std::vector<text::FormatArg> args;
  for (const TString& v : values) {
    if (!Quotable(v)) return {};
    args.emplace_back(v);
  }
  return u"rundll32 printui.dll,PrintUIEntry " + text::Format(switches, args);
}
