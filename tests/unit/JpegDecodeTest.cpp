// JPEG decoding with libjpeg: the shipped splash pictures, the colour layouts
// libjpeg hands out, and every way a file can be unfit, which must end in a
// clear error rather than a crash or made-up pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include "installer/jpeg/JpegImage.h"
#include "sysutil/Exception.h"

namespace {

std::string ReadPicture(int i) {
  std::ifstream in(std::string(DS_SOURCE_DIR) + "/resources/welcome/welcome" + std::to_string(i) + ".jpg",
                   std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// BGRA of one pixel.
std::array<int, 4> At(const TJpegImage& img, int x, int y) {
  const std::uint8_t* p = &img.Pixels[(static_cast<size_t>(y) * img.Width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

void ExpectNear(std::array<int, 4> got, std::array<int, 4> want, int tolerance = 12) {
  for (int c = 0; c < 4; ++c) EXPECT_NEAR(got[c], want[c], tolerance) << "channel " << c;
}

std::string ErrorOf(const std::string& bytes, unsigned long long maxPixels = kMaxJpegPixels) {
  try {
    DecodeJpeg(bytes, maxPixels);
  } catch (const Exception& e) {
    return e.what();
  }
  return "(decoded)";
}

// Encodes an 8 x 8 picture of one colour with libjpeg itself.
std::string Encode(J_COLOR_SPACE space, int components, std::initializer_list<JSAMPLE> colour) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = 8;
  c.image_height = 8;
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row;
  for (int x = 0; x < 8; ++x) row.insert(row.end(), colour);
  while (c.next_scanline < 8) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&c);
  free(out);
  return bytes;
}

TEST(JpegDecode, EveryShippedSplashPictureDecodesToBgraOfTwiceTheBoxSize) {
  for (int i = 1; i <= 5; ++i) {
    SCOPED_TRACE(i);
    std::string bytes = ReadPicture(i);
    ASSERT_FALSE(bytes.empty());
    TJpegImage img = DecodeJpeg(bytes);
    EXPECT_EQ(img.Width, 200);
    EXPECT_EQ(img.Height, 144);
    ASSERT_EQ(img.Pixels.size(), 200u * 144u * 4u);
    ExpectNear(At(img, 2, 2), {255, 255, 255, 255});  // white background, opaque
  }
  // Channel order: the orange label printer (#f28c28) is B=0x28, G=0x8c, R=0xf2.
  ExpectNear(At(DecodeJpeg(ReadPicture(4)), 60, 80), {0x28, 0x8c, 0xf2, 255});
  // Rows run top-down: the charcoal inkjet's sheet is at the top, its body below.
  TJpegImage inkjet = DecodeJpeg(ReadPicture(2));
  ExpectNear(At(inkjet, 100, 16), {255, 255, 255, 255});
  ExpectNear(At(inkjet, 40, 110), {0x46, 0x3f, 0x3b, 255});
}

TEST(JpegDecode, GreyAndAdobeCmykPicturesBecomeBgra) {
  ExpectNear(At(DecodeJpeg(Encode(JCS_GRAYSCALE, 1, {100})), 3, 3), {100, 100, 100, 255}, 3);
  // libjpeg marks CMYK files as Adobe's, whose ink values are stored inverted:
  // no cyan, full magenta and yellow, no black = red.
  ExpectNear(At(DecodeJpeg(Encode(JCS_CMYK, 4, {255, 0, 0, 255})), 3, 3), {0, 0, 255, 255}, 6);
}

TEST(JpegDecode, UnfitDataFailsWithAMessageNamingTheFault) {
  const std::string good = ReadPicture(1);

  EXPECT_EQ(ErrorOf(""), "JPEG picture could not be decoded: no JPEG data");
  EXPECT_NE(ErrorOf("\x89PNG\r\n\x1a\n plainly not a JPEG").find("Not a JPEG file"), std::string::npos);
  EXPECT_NE(ErrorOf(good.substr(0, 2)).find("JPEG picture could not be decoded"), std::string::npos);

  // Cut anywhere in the header or the scan: libjpeg alone would pad the
  // picture with grey and report success.
  for (size_t cut : {size_t{20}, good.size() / 3, good.size() / 2, good.size() - 3}) {
    SCOPED_TRACE(cut);
    EXPECT_NE(ErrorOf(good.substr(0, cut)).find("could not be decoded"), std::string::npos);
  }
  EXPECT_NE(ErrorOf(good.substr(0, good.size() / 2)).find("Premature end of JPEG file"), std::string::npos);

  // A marker in the middle of the compressed data.
  std::string corrupt = good;
  corrupt[good.size() / 2] = '\xFF';
  corrupt[good.size() / 2 + 1] = '\xD4';
  EXPECT_NE(ErrorOf(corrupt).find("Corrupt JPEG data"), std::string::npos) << ErrorOf(corrupt);

  EXPECT_EQ(ErrorOf(good, 199 * 144), "JPEG picture could not be decoded: JPEG picture too large: 200 x 144 pixels");
}

TEST(JpegDecode, AHugeDeclaredSizeIsRefusedBeforeAnyPixelMemoryIsTaken) {
  std::string bytes = ReadPicture(3);
  size_t sof = bytes.find("\xFF\xC0", 2);
  ASSERT_NE(sof, std::string::npos);
  // SOF0: FF C0, length (2), precision (1), height (2), width (2).
  bytes[sof + 5] = '\x7F', bytes[sof + 6] = '\xFF';
  bytes[sof + 7] = '\x7F', bytes[sof + 8] = '\xFF';
  EXPECT_NE(ErrorOf(bytes).find("too large: 32767 x 32767"), std::string::npos);
}

}  // namespace
