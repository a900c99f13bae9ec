#include "fakes/TestMachine.h"

std::string Utf16File(const TString& t) {
  std::string out = "\xFF\xFE";
  for (char16_t c : t) {
    if (c == u'\n') {
      out.push_back('\r');
      out.push_back('\0');
    }
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}
