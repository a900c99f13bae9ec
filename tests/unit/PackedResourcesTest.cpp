#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes/Packed.h"
#include "installer/DibFile.h"
#include "installer/PackedData.h"

namespace {

std::string Noise(std::size_t n) {
  std::string s(n, '\0');
  std::uint32_t x = 12345;
  for (char& c : s) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  return s;
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

}  // namespace

TEST(PackedData, UnpacksWhatWasPacked) {
  for (const std::string& bytes : {std::string(), std::string("M"), Noise(5000), std::string(200000, 'Z')}) {
    std::string out = "stale";
    ASSERT_TRUE(packed::Unpack(Packed(bytes), out)) << bytes.size();
    EXPECT_EQ(out, bytes);
  }
}

TEST(PackedData, DamageIsRefusedAndNeverGivesOtherBytes) {
  const std::string bytes = Noise(150) + std::string(150, 'a');
  const std::string good = Packed(bytes);
  std::string out;
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x20);
    // A change in bits the stream format ignores may still unpack: then to
    // the very same bytes.
    if (packed::Unpack(bad, out))
      EXPECT_EQ(out, bytes) << "byte " << i << " changed";
    else
      EXPECT_TRUE(out.empty());
    EXPECT_FALSE(packed::Unpack(good.substr(0, i), out)) << "cut at " << i;
  }
  EXPECT_FALSE(packed::Unpack(good + '\0', out));
  EXPECT_FALSE(packed::Unpack(bytes, out));  // never packed at all
}

TEST(DibFile, EveryLogoLiesWithinItsFileAndNoCutOneIsTaken) {
  int logos = 0;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(DS_SOURCE_DIR) / "resources/logos")) {
    const std::string file = ReadFile(e.path());
    dib::TLayout at;
    ASSERT_TRUE(dib::Parse(file, at)) << e.path();
    EXPECT_EQ(at.BitsOffset + at.BitsSize, file.size()) << e.path();
    EXPECT_GT(at.Width, 0);
    EXPECT_GT(at.Height, 0);
    for (std::size_t cut = 0; cut < file.size(); cut += 97) EXPECT_FALSE(dib::Parse(file.substr(0, cut), at)) << cut;
    ++logos;
  }
  EXPECT_GT(logos, 0);
}

TEST(DibFile, RefusesWhatNoBitmapSectionCanTake) {
  // Offsets and values of the bitmap file format.
  struct Field {
    std::size_t at;
    std::uint32_t value;
    int bytes;
    const char* what;
  };
  const Field damages[] = {
      {0, 'X', 1, "no file mark"},
      {14, 12, 4, "an old core header"},
      {18, 0, 4, "no width"},
      {22, 0, 4, "no rows"},
      {26, 2, 2, "two planes"},
      {28, 3, 2, "3 bits per pixel"},
      {30, 1, 4, "run-length compressed"},
      {46, 257, 4, "257 colours"},
      {10, 0xFFFFFF00u, 4, "rows past the end"},
      {18, 0x7FFFFFFF, 4, "huge width"},
  };
  const std::string logo = ReadFile(std::filesystem::path(DS_SOURCE_DIR) / "resources/logos/bm_logo_tessaron.bmp");
  dib::TLayout at;
  ASSERT_TRUE(dib::Parse(logo, at));
  for (const Field& d : damages) {
    std::string bad = logo;
    for (int i = 0; i < d.bytes; ++i) bad[d.at + i] = static_cast<char>((d.value >> (8 * i)) & 0xFF);
    EXPECT_FALSE(dib::Parse(bad, at)) << d.what;
  }
}
