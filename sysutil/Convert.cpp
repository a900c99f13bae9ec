#include "sysutil/Convert.h"

#include "sysutil/Exception.h"

std::int32_t StrToInt(TStringView s) {
  std::int32_t v = 0;
  if (!text::TryParseInt(s, v)) throw Exception(text::Format(u"'%s' is not a valid integer value", {s}));
  return v;
}

std::int64_t StrToInt64(TStringView s) {
  TString t = text::Trim(s);
  size_t i = 0;
  bool neg = false;
  if (!t.empty() && (t[0] == u'-' || t[0] == u'+')) neg = t[i++] == u'-';
  unsigned base = 10;
  if (i < t.size() && t[i] == u'$') {
    base = 16;
    ++i;
  }
  unsigned long long v = 0;
  const unsigned long long limit = neg ? 0x8000000000000000ULL : 0x7FFFFFFFFFFFFFFFULL;
  bool ok = i < t.size();
  for (; ok && i < t.size(); ++i) {
    char16_t c = t[i];
    unsigned d = c >= u'0' && c <= u'9'                 ? c - u'0'
                 : base == 16 && c >= u'a' && c <= u'f' ? c - u'a' + 10
                 : base == 16 && c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                        : 99;
    ok = d < base && v <= (limit - d) / base;
    v = v * base + d;
  }
  if (!ok) throw Exception(text::Format(u"'%s' is not a valid integer value", {s}));
  return neg ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
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
