// Text helpers shared by every subsystem. Inside the program all text is
// UTF-16; conversions to the system ANSI code page go through the system port.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"

namespace text {

// Literal helper for tests and call sites that build UTF-16 from ASCII/UTF-8.
TString FromUtf8(std::string_view utf8);
std::string ToUtf8(TStringView s);

// The system ANSI code page (CP_ACP), through the system port.
std::string ToAnsi(TStringView s, bool* lossless = nullptr);
TString FromAnsi(std::string_view s);
// The text in the ANSI code page only when every character converts exactly:
// a name, path or ID the code page cannot hold would name another printer,
// driver, file or device, so the caller refuses it instead.
bool ExactAnsi(TStringView s, std::string& ansi);

// ASCII-only case folding: a..z <-> A..Z, every other character untouched.
char16_t UpperAscii(char16_t c);
TString UpperAscii(TStringView s);
TString LowerAscii(TStringView s);
bool SameTextAscii(TStringView a, TStringView b);
bool StartsWithTextAscii(TStringView s, TStringView prefix);
bool ContainsTextAscii(TStringView haystack, TStringView needle);

// White space as the profile functions see it: blank, tab, line feed,
// vertical tab, form feed, carriage return and ^Z (0x1A, the DOS end-of-file
// mark). Other control characters and the Unicode spaces are text.
bool IsProfileSpace(char16_t c);
// That white space removed at both ends.
TString Trim(TStringView s);

// printf-like formatting for UI strings: %s (text), %d (signed), %u, %x / %X
// with optional width, "-" and "0" flags and precision (as in "0x%.8x"), and
// %%. Zeros pad after the sign ("%05d" of -1 is "-0001"). Missing arguments
// format as empty text; surplus arguments are ignored. A directive the
// formatter does not know is copied as written. A width or precision above
// kMaxFormatWidth (more than a message box line can show) is refused: the
// directive is copied as written and its argument is used up, so the
// directives after it still get their own arguments.
inline constexpr size_t kMaxFormatWidth = 1024;
struct FormatArg {
  enum Kind { Text, Int } kind;
  TString s;
  long long i = 0;
  FormatArg(const TString& v) : kind(Text), s(v) {}
  FormatArg(TStringView v) : kind(Text), s(v) {}
  FormatArg(const char16_t* v) : kind(Text), s(v ? v : u"") {}
  FormatArg(int v) : kind(Int), i(v) {}
  FormatArg(long v) : kind(Int), i(v) {}
  FormatArg(long long v) : kind(Int), i(v) {}
  FormatArg(unsigned v) : kind(Int), i(v) {}
  FormatArg(unsigned long v) : kind(Int), i(static_cast<long long>(v)) {}
};
TString Format(TStringView fmt, const std::vector<FormatArg>& args);

// The one reader of integer text: an optional sign, a hexadecimal prefix when
// allowed ("$", or "0x"/"0X"), then the digits of the base up to the first
// other character. The magnitude is kept modulo 2^64; TooLarge says it went
// past `limit` (for the sign and base read) on the way. Each parser below
// is this reader with its own rules for prefixes, range and the rest.
struct TIntegerText {
  bool Negative = false;
  unsigned Base = 10;
  std::uint64_t Magnitude = 0;
  size_t Digits = 0;  // digits read
  size_t End = 0;     // where reading stopped
  bool TooLarge = false;
};
enum class THexPrefix { None, Dollar, DollarOr0x };
using TIntegerLimit = std::uint64_t (*)(bool negative, unsigned base);
TIntegerText ReadInteger(TStringView s, THexPrefix hex, TIntegerLimit limit);

// Integers as the profile functions and the toolkit read them: an optional
// sign, then decimal, or hexadecimal with a leading "$" or "0x"/"0X".
// Decimal values must fit a signed 32-bit integer (-2147483648 included);
// hexadecimal ones may use all 32 bits and wrap ("$FFFFFFFF" is -1, "-$1" is
// -1, "-$80000000" is -2147483648). Returns false for anything else.
bool TryParseInt(TStringView s, std::int32_t& out);
TString IntToStr(long long v);

// Replace every occurrence of `from` (ASCII case-insensitive) by `to`.
TString ReplaceAllTextAscii(TStringView s, TStringView from, TStringView to);

}  // namespace text
