// The text module's integers and formatting. Checks: TryParseInt against a
// reference model written from the rules in 64-bit arithmetic; one formatting
// directive against the C library's printf; any format text with any
// arguments stays within the width bound.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "FuzzCheck.h"

namespace {

// Optional sign, then decimal digits or "$" / "0x" / "0X" and hex digits.
std::optional<std::int32_t> ReferenceInt(const TString& raw) {
  const TString t = text::Trim(raw);
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) neg = t[i++] == u'-';
  int base = 10;
  if (i < t.size() && t[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return std::nullopt;
  std::int64_t v = 0;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i];
    int d = -1;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
    if (d < 0) return std::nullopt;
    v = v * base + d;
    if (v > 0xFFFFFFFFLL) return std::nullopt;
  }
  if (base == 10) {
    const std::int64_t s = neg ? -v : v;
    if (s < INT32_MIN || s > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(s);
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(v);
  return static_cast<std::int32_t>(neg ? static_cast<std::uint32_t>(0x100000000LL - bits) : bits);
}

void CheckParse(const TString& s) {
  std::int32_t got = 7;
  const bool ok = text::TryParseInt(s, got);
  const auto want = ReferenceInt(s);
  FUZZ_CHECK(ok == want.has_value());
  if (ok) FUZZ_CHECK(got == *want);
}

// One directive built from the input, compared with printf where C defines it.
void CheckDirective(FuzzedDataProvider& in) {
  std::string flags;
  for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) flags += in.ConsumeBool() ? '-' : '0';
  const bool hasWidth = in.ConsumeBool(), hasPrec = in.ConsumeBool();
  const unsigned width = in.ConsumeIntegralInRange(0u, 1100u), prec = in.ConsumeIntegralInRange(0u, 1100u);
  const char conv = "duxXs"[in.ConsumeIntegralInRange(0, 4)];
  const std::int32_t value = in.ConsumeIntegral<std::int32_t>();
  std::string directive = "%" + flags;
  if (hasWidth) directive += std::to_string(width);
  if (hasPrec) directive += "." + std::to_string(prec);
  directive += conv;

  const TString fmt = text::FromUtf8(directive + "|%d");
  const TString got = text::Format(fmt, {value, 5});
  if ((hasWidth && width > text::kMaxFormatWidth) || (hasPrec && prec > text::kMaxFormatWidth)) {
    FUZZ_CHECK(got == text::FromUtf8(directive + "|5"));
    return;
  }
  if (conv == 's' && flags.find('0') != std::string::npos) return;  // C leaves "0" with %s undefined
  std::string c = directive;
  static char buf[4096];
  if (conv == 's')
    std::snprintf(buf, sizeof buf, c.c_str(), std::to_string(value).c_str());
  else if (conv == 'd')
    std::snprintf(buf, sizeof buf, c.c_str(), value);
  else
    std::snprintf(buf, sizeof buf, c.c_str(), static_cast<unsigned>(value));
  FUZZ_CHECK(got == text::FromUtf8(std::string(buf) + "|5"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string head = in.ConsumeRandomLengthString(40);
  CheckParse(text::FromUtf8(head));
  CheckParse(u"-" + text::FromUtf8(head));
  CheckParse(u"$" + text::FromUtf8(head));
  CheckDirective(in);

  const TString fmt = text::FromUtf8(in.ConsumeRemainingBytesAsString());
  const TString out = text::Format(fmt, {u"text", -2147483647 - 1, 0xFFFFFFFFu});
  const size_t directives = static_cast<size_t>(std::count(fmt.begin(), fmt.end(), u'%'));
  FUZZ_CHECK(out.size() <= fmt.size() + directives * (text::kMaxFormatWidth + 11));
  return 0;
}
