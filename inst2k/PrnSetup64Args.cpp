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
  const text::TIntegerText r =
      text::ReadInteger(s, text::THexPrefix::None, [](bool, unsigned) { return ~std::uint64_t(0); });
  const std::uint32_t bits = static_cast<std::uint32_t>(r.Magnitude);
  return static_cast<std::int32_t>(r.Negative ? 0u - bits : bits);
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
