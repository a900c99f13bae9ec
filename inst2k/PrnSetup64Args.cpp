#include "inst2k/PrnSetup64Args.h"

#include <algorithm>

namespace inst2k {

namespace {

enum class TOption { None, Handle, Dll, Inf, HWID, FindHWID };

TOption OptionFor(TStringView arg) {
  struct Name {
    const char16_t* Text;
    TOption Option;
  };
  static constexpr Name kNames[] = {{u"/Handle", TOption::Handle},
                                    {u"/Dll", TOption::Dll},
                                    {u"/Inf", TOption::Inf},
                                    {u"/HWID", TOption::HWID},
                                    {u"/FindHWID", TOption::FindHWID}};
  for (const Name& n : kNames)
    if (text::SameTextAscii(arg, n.Text)) return n.Option;
  return TOption::None;
}

}  // namespace

std::int32_t ParseHandleValue(TStringView s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  std::uint32_t value = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
    value = value * 10u + static_cast<std::uint32_t>(s[i] - u'0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

TPrnSetup64Args ParsePrnSetup64Args(const std::vector<TString>& args) {
  TPrnSetup64Args out;
  TOption current = TOption::None;
  bool hwidGiven = false;
  for (const TString& arg : args) {
    if (!arg.empty() && arg[0] == u'/') {
      current = OptionFor(arg);
      continue;
    }
    switch (current) {
      case TOption::Handle:
        out.Handle = ParseHandleValue(arg);
        break;
      case TOption::Dll:
        out.Dll = arg;
        break;
      case TOption::Inf:
        out.Inf = arg;
        break;
      case TOption::HWID:
        if (hwidGiven || std::any_of(arg.begin(), arg.end(), [](char16_t c) { return c <= u' '; }))
          out.Refusal = kErrorBadArguments;
        out.HWID = arg;
        hwidGiven = true;
        break;
      case TOption::FindHWID:
        out.FindHWID = arg;
        break;
      case TOption::None:
        break;
    }
  }
  return out;
}

}  // namespace inst2k
