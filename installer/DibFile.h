// Where the parts of a bitmap file (.bmp, uncompressed) lie, checked so that
// a bitmap section can be made of it without reading past its end.
#pragma once

#include <cstddef>
#include <string>

namespace dib {

struct TLayout {
  std::size_t InfoOffset = 0;  // the BITMAPINFO: header and colour table
  std::size_t InfoSize = 0;
  std::size_t BitsOffset = 0;  // the rows of pixels
  std::size_t BitsSize = 0;
  int Width = 0;
  int Height = 0;  // rows, whichever way they run
};

// False for anything but an uncompressed bitmap of 1 to 32 bits per pixel
// whose header, colours and rows all lie within `file`.
bool Parse(const std::string& file, TLayout& layout);

}  // namespace dib
