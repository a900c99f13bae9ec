#include "win32/installer/LogoBitmap.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "installer/DibFile.h"
#include "installer/PackedData.h"
#include "platform/IResources.h"

HBITMAP LoadLogoBitmap(const TString& resourceName) {
  std::string stored, file;
  dib::TLayout at;
  if (!Res().LoadRCData(resourceName, stored) || !packed::Unpack(stored, file) || !dib::Parse(file, at)) return nullptr;
  std::vector<std::uint32_t> header((at.InfoSize + 3) / 4);  // aligned for GDI
  std::memcpy(header.data(), file.data() + at.InfoOffset, at.InfoSize);
  void* pixels = nullptr;
  HBITMAP bmp = ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS, &pixels,
                                   nullptr, 0);
  if (bmp) std::memcpy(pixels, file.data() + at.BitsOffset, at.BitsSize);
  return bmp;
}
