#include "sysutil/Convert.h"

#include "sysutil/Exception.h"
#include "sysutil/UiTexts.h"

namespace {

[[noreturn]] void NotAnInteger(TStringView s) {
  throw Exception(text::Format(SystemUiText(TUiText::InvalidInteger), {s}));
}

}  // namespace

std::int32_t StrToInt(TStringView s) {
  std::int32_t v = 0;
  if (!text::TryParseInt(s, v)) NotAnInteger(s);
  return v;
}

std::int64_t StrToInt64(TStringView s) {
  const TString t = text::Trim(s);
  const text::TIntegerText r = ReadInteger(t, text::THexPrefix::Dollar, [](bool negative, unsigned) -> std::uint64_t {
    return negative ? 0x8000000000000000ULL : 0x7FFFFFFFFFFFFFFFULL;
  });
  if (r.Digits == 0 || r.End != t.size() || r.TooLarge) NotAnInteger(s);
  return r.Negative ? static_cast<std::int64_t>(0 - r.Magnitude) : static_cast<std::int64_t>(r.Magnitude);
}

TStringList SplitDelimited(TStringView s, char16_t delimiter) {
  TStringList items;
  auto blank = [&](size_t i) { return i < s.size() && s[i] != 0 && s[i] <= u' '; };
  size_t i = 0;
  while (blank(i)) ++i;
  while (i < s.size() && s[i] != 0) {
    TString item;
    if (s[i] == u'"') {
      for (++i; i < s.size(); ++i) {
        if (s[i] != u'"') {
          item += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == u'"') {
          item += u'"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      size_t start = i;
      while (i < s.size() && s[i] > u' ' && s[i] != delimiter) ++i;
      item.assign(s.substr(start, i - start));
    }
    items.push_back(std::move(item));
    while (blank(i)) ++i;
    if (i < s.size() && s[i] == delimiter) {
      if (i + 1 >= s.size() || s[i + 1] == 0) items.emplace_back();
      do ++i;
      while (blank(i));
    }
  }
  return items;
}
