#include "pkgcheck/CodePages.h"

namespace pkgcheck {

namespace {

bool Fits(char16_t c, int cp) {
  using namespace detail;
  const unsigned char* kinds = cp == 936 ? kKinds936 : cp == 950 ? kKinds950 : kKinds1252;
  const unsigned char(*bits)[32] = cp == 936 ? kBits936 : cp == 950 ? kBits950 : kBits1252;
  const unsigned kind = kinds[c >> 8];
  if (kind < 2) return kind == 1;
  const unsigned low = c & 0xFF;
  return (bits[kind - 2][low >> 3] >> (low & 7)) & 1;
}

}  // namespace

char16_t FirstMisfit(TStringView s, int cp) {
  for (char16_t c : s)
    if (!Fits(c, cp)) return c ? c : u'?';
  return 0;
}

bool FitsCodePage(TStringView s, int cp) { return FirstMisfit(s, cp) == 0; }

}  // namespace pkgcheck
