// What the fuzz targets share: a check that ends the run as a finding, and
// the bytes of a profile file in UTF-16LE with a byte-order mark.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sysutil/Text.h"

#define FUZZ_CHECK(cond)                                                                  \
  do {                                                                                    \
    if (!(cond)) {                                                                        \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

inline std::string Utf16Bytes(const TString& s) {
  std::string out = "\xFF\xFE";
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}
