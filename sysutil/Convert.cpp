#include "sysutil/Convert.h"

#include "sysutil/Exception.h"

std::int32_t StrToInt(TStringView s) {
  std::int32_t v = 0;
  if (!text::TryParseInt(s, v)) throw Exception(text::Format(u"'%s' is not a valid integer value", {s}));
  return v;
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
