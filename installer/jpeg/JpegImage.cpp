#include "installer/jpeg/JpegImage.h"

#include <memory>

#include "installer/jpeg/JpegDecodeCore.h"
#include "sysutil/Exception.h"

TJpegImage DecodeJpeg(std::string_view bytes, unsigned long long maxPixels) {
  ds_jpeg_picture picture;
  if (!ds_jpeg_decode_bgra(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), maxPixels, &picture)) {
    throw Exception(u"JPEG picture could not be decoded: " + text::FromUtf8(picture.message));
  }
  std::unique_ptr<unsigned char, void (*)(unsigned char*)> owned(picture.pixels, ds_jpeg_free);
  TJpegImage image;
  image.Width = static_cast<int>(picture.width);
  image.Height = static_cast<int>(picture.height);
  image.Pixels.assign(owned.get(), owned.get() + static_cast<std::size_t>(picture.width) * picture.height * 4);
  return image;
}
