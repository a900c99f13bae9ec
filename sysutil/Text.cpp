#include "sysutil/Text.h"

#include "platform/ISystem.h"

namespace text {

TString FromUtf8(std::string_view in) {
  TString out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 0x6 && i + 1 < in.size()) {
      cp = ((c & 0x1F) << 6) | (in[i + 1] & 0x3F);
      len = 2;
    } else if ((c >> 4) == 0xE && i + 2 < in.size()) {
      cp = ((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F);
      len = 3;
    } else if ((c >> 3) == 0x1E && i + 3 < in.size()) {
      cp = ((c & 0x07) << 18) | ((in[i + 1] & 0x3F) << 12) | ((in[i + 2] & 0x3F) << 6) | (in[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string ToUtf8(TStringView s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::string ToAnsi(TStringView s, bool* lossless) { return Sys().WideToAnsi(s, lossless); }
TString FromAnsi(std::string_view s) { return Sys().AnsiToWide(s); }

bool ExactAnsi(TStringView s, std::string& ansi) {
  bool exact = false;
  ansi = Sys().WideToAnsi(s, &exact);
  return exact;
}

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

TString UpperAscii(TStringView s) {
  TString r(s);
  for (auto& c : r) c = UpperAscii(c);
  return r;
}

TString LowerAscii(TStringView s) {
  TString r(s);
  for (auto& c : r)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return r;
}

bool SameTextAscii(TStringView a, TStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

bool StartsWithTextAscii(TStringView s, TStringView prefix) {
  return s.size() >= prefix.size() && SameTextAscii(s.substr(0, prefix.size()), prefix);
}

bool ContainsTextAscii(TStringView haystack, TStringView needle) {
  return UpperAscii(haystack).find(UpperAscii(needle)) != TString::npos;
}

bool IsProfileSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; }

TString Trim(TStringView s) {
  size_t b = 0, e = s.size();
  while (b < e && IsProfileSpace(s[b])) ++b;
  while (e > b && IsProfileSpace(s[e - 1])) --e;
  return TString(s.substr(b, e - b));
}

namespace {
TString Digits(unsigned long long v, unsigned base, bool upper) {
  const char* d = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  TString r;
  do {
    r.insert(r.begin(), static_cast<char16_t>(d[v % base]));
    v /= base;
  } while (v);
  return r;
}
}  // namespace

TString Format(TStringView fmt, const std::vector<FormatArg>& args) {
  TString out;
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != u'%' || i + 1 >= fmt.size()) {
      out.push_back(fmt[i]);
      continue;
    }
    size_t j = i + 1;
    if (fmt[j] == u'%') {
      out.push_back(u'%');
      i = j;
      continue;
    }
    bool zero = false, left = false;
    while (j < fmt.size() && (fmt[j] == u'0' || fmt[j] == u'-')) {
      (fmt[j] == u'0' ? zero : left) = true;
      ++j;
    }
    // Numbers stop growing past the bound, so no digit string overflows them.
    auto number = [&](size_t& n) {
      for (; j < fmt.size() && fmt[j] >= u'0' && fmt[j] <= u'9'; ++j)
        if (n <= kMaxFormatWidth) n = n * 10 + (fmt[j] - u'0');
    };
    size_t width = 0, prec = 0;
    bool hasPrec = false;
    number(width);
    if (j < fmt.size() && fmt[j] == u'.') {
      hasPrec = true;
      ++j;
      number(prec);
    }
    if (j >= fmt.size()) {
      out.append(fmt.substr(i));
      break;
    }
    char16_t conv = fmt[j];
    if (conv != u's' && conv != u'd' && conv != u'u' && conv != u'x' && conv != u'X') {
      out.append(fmt.substr(i, j - i + 1));
      i = j;
      continue;
    }
    const FormatArg* a = next < args.size() ? &args[next] : nullptr;
    ++next;
    if (width > kMaxFormatWidth || prec > kMaxFormatWidth) {
      out.append(fmt.substr(i, j - i + 1));
      i = j;
      continue;
    }
    TString piece;
    if (conv == u's') {
      piece = a ? (a->kind == FormatArg::Text ? a->s : IntToStr(a->i)) : TString();
      if (hasPrec && piece.size() > prec) piece.resize(prec);
    } else {
      long long v = a && a->kind == FormatArg::Int ? a->i : 0;
      bool neg = false;
      unsigned long long mag;
      if (conv == u'd') {
        neg = v < 0;
        mag = neg ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
      } else {
        mag = static_cast<std::uint32_t>(v);
      }
      // As in C, a precision of 0 prints no digits for the value 0.
      if (!(hasPrec && prec == 0 && mag == 0))
        piece = Digits(mag, conv == u'd' || conv == u'u' ? 10 : 16, conv == u'X');
      if (hasPrec && piece.size() < prec) piece.insert(0, prec - piece.size(), u'0');
      if (neg) piece.insert(piece.begin(), u'-');
    }
    if (piece.size() < width) {
      if (left)
        piece.append(width - piece.size(), u' ');
      else if (zero && !hasPrec && conv != u's')
        piece.insert(piece[0] == u'-' ? 1 : 0, width - piece.size(), u'0');  // zeros go after the sign
      else
        piece.insert(0, width - piece.size(), u' ');
    }
    out += piece;
    i = j;
  }
  return out;
}

TIntegerText ReadInteger(TStringView s, THexPrefix hex, TIntegerLimit limit) {
  TIntegerText r;
  size_t i = 0;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) r.Negative = s[i++] == u'-';
  if (hex != THexPrefix::None && i < s.size() && s[i] == u'$') {
    r.Base = 16;
    ++i;
  } else if (hex == THexPrefix::DollarOr0x && i + 1 < s.size() && s[i] == u'0' &&
             (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    r.Base = 16;
    i += 2;
  }
  const std::uint64_t max = limit(r.Negative, r.Base);
  for (; i < s.size(); ++i, ++r.Digits) {
    const char16_t c = s[i];
    unsigned d;
    if (c >= u'0' && c <= u'9')
      d = c - u'0';
    else if (r.Base == 16 && c >= u'a' && c <= u'f')
      d = c - u'a' + 10;
    else if (r.Base == 16 && c >= u'A' && c <= u'F')
      d = c - u'A' + 10;
    else
      break;
    if (r.Magnitude > (max - d) / r.Base) r.TooLarge = true;
    r.Magnitude = r.Magnitude * r.Base + d;
  }
  r.End = i;
  return r;
}

bool TryParseInt(TStringView s, std::int32_t& out) {
  const TString t = Trim(s);
  // Decimal values must fit a signed 32-bit integer; hexadecimal ones may
  // use all 32 bits (as "$FFFFFFFF" = -1 does in the toolkit).
  const TIntegerText r = ReadInteger(t, THexPrefix::DollarOr0x, [](bool negative, unsigned base) -> std::uint64_t {
    return base == 16 ? 0xFFFFFFFFULL : negative ? 0x80000000ULL : 0x7FFFFFFFULL;
  });
  if (r.Digits == 0 || r.End != t.size() || r.TooLarge) return false;
  // Negated in unsigned arithmetic: -2147483648 has no positive counterpart.
  const std::uint32_t bits = static_cast<std::uint32_t>(r.Magnitude);
  out = static_cast<std::int32_t>(r.Negative ? 0u - bits : bits);
  return true;
}

TString IntToStr(long long v) {
  if (v < 0) return u"-" + Digits(0ULL - static_cast<unsigned long long>(v), 10, false);
  return Digits(static_cast<unsigned long long>(v), 10, false);
}

TString ReplaceAllTextAscii(TStringView s, TStringView from, TStringView to) {
  if (from.empty()) return TString(s);
  TString out;
  size_t i = 0;
  while (i < s.size()) {
    if (i + from.size() <= s.size() && SameTextAscii(s.substr(i, from.size()), from)) {
      out.append(to);
      i += from.size();
    } else {
      out.push_back(s[i++]);
    }
  }
  return out;
}

}  // namespace text
