#include "installer/PackedData.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

namespace packed {

namespace {

constexpr char kMark[4] = {'D', 'S', 'Z', '\x01'};
constexpr std::size_t kHeader = 8;
// Far beyond any component; a damaged size field asks for no more than this.
constexpr std::uint32_t kMaxSize = 64u << 20;

std::uint32_t Le32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

}  // namespace

bool IsPacked(const std::string& stored) {
  return stored.size() >= sizeof(kMark) && std::memcmp(stored.data(), kMark, sizeof(kMark)) == 0;
}

bool Unpack(const std::string& stored, std::string& bytes) {
  bytes.clear();
  if (stored.size() < kHeader || std::memcmp(stored.data(), kMark, sizeof(kMark)) != 0) return false;
  const std::uint32_t size = Le32(stored, 4);
  if (size > kMaxSize || stored.size() - kHeader > kMaxSize) return false;

  std::string out(size, '\0');
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data() + kHeader));
  z.avail_in = static_cast<uInt>(stored.size() - kHeader);
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = size;
  const int rc = inflate(&z, Z_FINISH);
  const bool whole = rc == Z_STREAM_END && z.total_out == size && z.avail_in == 0;
  inflateEnd(&z);
  if (!whole) return false;
  bytes = std::move(out);
  return true;
}

}  // namespace packed
