#include "installer/DibFile.h"

#include <cstdint>
#include <cstdlib>

namespace dib {

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t Le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

}  // namespace

bool Parse(const std::string& file, TLayout& layout) {
  const std::size_t size = file.size();
  if (size < kFileHeader + kInfoHeader || file[0] != 'B' || file[1] != 'M') return false;
  const std::size_t headerSize = Le(file, 14, 4);
  if (headerSize < kInfoHeader || headerSize > size - kFileHeader) return false;
  const std::int64_t width = static_cast<std::int32_t>(Le(file, 18, 4));
  const std::int64_t height = std::llabs(static_cast<std::int32_t>(Le(file, 22, 4)));
  const std::uint32_t planes = Le(file, 26, 2), bits = Le(file, 28, 2), compression = Le(file, 30, 4);
  const std::uint32_t used = Le(file, 46, 4);
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || planes != 1 || compression != 0)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const std::uint64_t palette = used ? used : (bits <= 8 ? 1u << bits : 0);
  if (palette > 256) return false;

  const std::uint64_t infoSize = headerSize + palette * 4;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  const std::uint64_t bitsSize = stride * static_cast<std::uint64_t>(height);
  const std::uint64_t bitsOffset = Le(file, 10, 4);
  if (kFileHeader + infoSize > bitsOffset || bitsOffset > size || bitsSize > size - bitsOffset) return false;

  layout = {kFileHeader,
            static_cast<std::size_t>(infoSize),
            static_cast<std::size_t>(bitsOffset),
            static_cast<std::size_t>(bitsSize),
            static_cast<int>(width),
            static_cast<int>(height)};
  return true;
}

}  // namespace dib
