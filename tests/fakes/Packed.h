// The build's packed form of an embedded file (scripts/pack-resource.py):
// the one place the tests spell out its layout.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

inline std::string Packed(const std::string& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string z(size, '\0');
  compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
            static_cast<uLong>(bytes.size()), 9);
  z.resize(size);
  std::string out = "DSZ\x01";
  for (int i = 0; i < 4; ++i) out += static_cast<char>((bytes.size() >> (8 * i)) & 0xFF);
  return out + z;
}
