// The public part of a wide-character device mode (DEVMODEW, 220 bytes) by
// field, and its byte form as the spooler holds it.
#pragma once

#include <cstdint>

#include "platform/ISpooler.h"
#include "sysutil/Text.h"

struct TDevMode {
  TString DeviceName;  // at most 31 characters are stored
  std::uint16_t SpecVersion = 0, DriverVersion = 0, Size = spool::kDevModeSize, DriverExtra = 0;
  std::uint32_t Fields = 0;
  std::int16_t Orientation = 0, PaperSize = 0, PaperLength = 0, PaperWidth = 0, Scale = 0, Copies = 0,
               DefaultSource = 0, PrintQuality = 0, Color = 0, Duplex = 0, YResolution = 0, TTOption = 0, Collate = 0;
  TString FormName;  // at most 31 characters are stored
  std::uint16_t LogPixels = 0;
  std::uint32_t BitsPerPel = 0, PelsWidth = 0, PelsHeight = 0, Nup = 0, DisplayFrequency = 0, ICMMethod = 0,
                ICMIntent = 0, MediaType = 0, DitherType = 0, Reserved1 = 0, Reserved2 = 0, PanningWidth = 0,
                PanningHeight = 0;

  // The 220 bytes of the public structure (no private driver data).
  TDevModeBytes Encode() const;
  // Reads the public fields of a device mode of at least 220 bytes.
  static bool Decode(const TDevModeBytes& bytes, TDevMode& out);
};

// Field offsets inside DEVMODEW used beside the field codec.
namespace devmode {
constexpr std::size_t kOffSize = 68;
constexpr std::size_t kOffDriverExtra = 70;

// The public part of a device mode read from the spooler, made self-contained:
// at most its first 220 bytes, with no private driver data announced. Empty
// when the source is empty or not a device mode.
TDevModeBytes PublicPart(const TDevModeBytes& devMode);
}  // namespace devmode
