#include "spooler/DevMode.h"

#include <algorithm>

namespace {

constexpr std::size_t kNameChars = 32;

class Writer {
 public:
  explicit Writer(TDevModeBytes& b) : m_B(b) {}
  void U16(std::size_t off, std::uint16_t v) {
    m_B[off] = static_cast<std::uint8_t>(v & 0xFF);
    m_B[off + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  void I16(std::size_t off, std::int16_t v) { U16(off, static_cast<std::uint16_t>(v)); }
  void U32(std::size_t off, std::uint32_t v) {
    U16(off, static_cast<std::uint16_t>(v & 0xFFFF));
    U16(off + 2, static_cast<std::uint16_t>(v >> 16));
  }
  void Name(std::size_t off, const TString& s) {
    std::size_t n = std::min(s.size(), kNameChars - 1);
    for (std::size_t i = 0; i < n; ++i) U16(off + 2 * i, static_cast<std::uint16_t>(s[i]));
  }

 private:
  TDevModeBytes& m_B;
};

std::uint16_t U16(const TDevModeBytes& b, std::size_t off) {
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
std::int16_t I16(const TDevModeBytes& b, std::size_t off) { return static_cast<std::int16_t>(U16(b, off)); }
std::uint32_t U32(const TDevModeBytes& b, std::size_t off) {
  return U16(b, off) | (static_cast<std::uint32_t>(U16(b, off + 2)) << 16);
}
TString Name(const TDevModeBytes& b, std::size_t off) {
  TString s;
  for (std::size_t i = 0; i < kNameChars; ++i) {
    char16_t c = static_cast<char16_t>(U16(b, off + 2 * i));
    if (!c) break;
    s.push_back(c);
  }
  return s;
}

}  // namespace

TDevModeBytes TDevMode::Encode() const {
  TDevModeBytes b(spool::kDevModeSize, 0);
  Writer w(b);
  w.Name(0, DeviceName);
  w.U16(64, SpecVersion);
  w.U16(66, DriverVersion);
  w.U16(68, Size);
  w.U16(70, DriverExtra);
  w.U32(72, Fields);
  w.I16(76, Orientation);
  w.I16(78, PaperSize);
  w.I16(80, PaperLength);
  w.I16(82, PaperWidth);
  w.I16(84, Scale);
  w.I16(86, Copies);
  w.I16(88, DefaultSource);
  w.I16(90, PrintQuality);
  w.I16(92, Color);
  w.I16(94, Duplex);
  w.I16(96, YResolution);
  w.I16(98, TTOption);
  w.I16(100, Collate);
  w.Name(102, FormName);
  w.U16(166, LogPixels);
  w.U32(168, BitsPerPel);
  w.U32(172, PelsWidth);
  w.U32(176, PelsHeight);
  w.U32(180, Nup);
  w.U32(184, DisplayFrequency);
  w.U32(188, ICMMethod);
  w.U32(192, ICMIntent);
  w.U32(196, MediaType);
  w.U32(200, DitherType);
  w.U32(204, Reserved1);
  w.U32(208, Reserved2);
  w.U32(212, PanningWidth);
  w.U32(216, PanningHeight);
  return b;
}

bool TDevMode::Decode(const TDevModeBytes& b, TDevMode& d) {
  if (b.size() < spool::kDevModeSize) return false;
  d.DeviceName = Name(b, 0);
  d.SpecVersion = U16(b, 64);
  d.DriverVersion = U16(b, 66);
  d.Size = U16(b, 68);
  d.DriverExtra = U16(b, 70);
  d.Fields = U32(b, 72);
  d.Orientation = I16(b, 76);
  d.PaperSize = I16(b, 78);
  d.PaperLength = I16(b, 80);
  d.PaperWidth = I16(b, 82);
  d.Scale = I16(b, 84);
  d.Copies = I16(b, 86);
  d.DefaultSource = I16(b, 88);
  d.PrintQuality = I16(b, 90);
  d.Color = I16(b, 92);
  d.Duplex = I16(b, 94);
  d.YResolution = I16(b, 96);
  d.TTOption = I16(b, 98);
  d.Collate = I16(b, 100);
  d.FormName = Name(b, 102);
  d.LogPixels = U16(b, 166);
  d.BitsPerPel = U32(b, 168);
  d.PelsWidth = U32(b, 172);
  d.PelsHeight = U32(b, 176);
  d.Nup = U32(b, 180);
  d.DisplayFrequency = U32(b, 184);
  d.ICMMethod = U32(b, 188);
  d.ICMIntent = U32(b, 192);
  d.MediaType = U32(b, 196);
  d.DitherType = U32(b, 200);
  d.Reserved1 = U32(b, 204);
  d.Reserved2 = U32(b, 208);
  d.PanningWidth = U32(b, 212);
  d.PanningHeight = U32(b, 216);
  return true;
}

namespace devmode {

TDevModeBytes PublicPart(const TDevModeBytes& dm) {
  if (dm.size() < kOffDriverExtra + 2) return {};
  std::size_t size = U16(dm, kOffSize);
  // dmSize covers at least the fields up to dmFields; anything smaller is no device mode.
  if (size < kOffDriverExtra + 6) return {};
  size = std::min({size, static_cast<std::size_t>(spool::kDevModeSize), dm.size()});
  TDevModeBytes out(dm.begin(), dm.begin() + static_cast<long>(size));
  Writer w(out);
  w.U16(kOffSize, static_cast<std::uint16_t>(size));
  w.U16(kOffDriverExtra, 0);
  return out;
}

}  // namespace devmode
