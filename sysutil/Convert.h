// Conversions that raise the program's error when the text does not convert.
#pragma once

#include <cstdint>

#include "sysutil/StringList.h"
#include "sysutil/Text.h"

// A decimal, "$" or "0x" hexadecimal integer; raises Exception naming the text.
std::int32_t StrToInt(TStringView s);
// A decimal (or "$" hexadecimal) 64-bit integer; raises Exception naming the text.
std::int64_t StrToInt64(TStringView s);

// Splits a delimited list: the delimiter and blanks (characters up to U+0020)
// end an item, an item in double quotes is taken whole (a doubled quote stands
// for one), an empty text gives no items, and two delimiters in a row or one
// at the end give an empty item.
TStringList SplitDelimited(TStringView s, char16_t delimiter);
