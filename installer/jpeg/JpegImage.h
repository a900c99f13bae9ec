// JPEG pictures decoded with libjpeg into 32-bit BGRA, ready for a device
// independent bitmap (top-down rows, no padding, alpha 255).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

struct TJpegImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // Height rows of Width * 4 bytes: B, G, R, A
};

// The largest picture DecodeJpeg accepts, in pixels (64 MiB of BGRA).
inline constexpr unsigned long long kMaxJpegPixels = 16ull * 1024 * 1024;

// Decodes a complete JPEG file held in memory. Raises Exception with a message
// naming the fault for anything that is not an intact JPEG picture: other
// data, a truncated or corrupt file, or one larger than maxPixels.
TJpegImage DecodeJpeg(std::string_view bytes, unsigned long long maxPixels = kMaxJpegPixels);
