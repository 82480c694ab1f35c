#include "platform/posix/picture_size.h"

#include <algorithm>
#include <cmath>

#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr double kDefaultDotsPerInch = 96;
constexpr double kInchesPerMetre = 39.3700787;

uint32_t BigEndian32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

[[noreturn]] void ThrowInvalidPicture() { throw VbError(481, "Ungültiges Bild (kein PNG)"); }

}  // namespace

PictureSize PngSize(std::string_view bytes) {
  if (bytes.size() < 33 || !bytes.starts_with(kPngSignature) || bytes.substr(12, 4) != "IHDR") {
    ThrowInvalidPicture();
  }
  const double pixels_wide = BigEndian32(bytes, 16);
  const double pixels_high = BigEndian32(bytes, 20);
  if (pixels_wide == 0 || pixels_high == 0) ThrowInvalidPicture();
  double dpi_x = kDefaultDotsPerInch;
  double dpi_y = kDefaultDotsPerInch;
  // Chunks: length, type, data, checksum. The density chunk must come before the image data.
  for (size_t at = 8; at + 8 <= bytes.size();) {
    const uint32_t length = BigEndian32(bytes, at);
    const std::string_view type = bytes.substr(at + 4, 4);
    if (type == "IDAT" || at + 12 + length > bytes.size()) break;
    if (type == "pHYs" && length == 9 && bytes[at + 16] == 1) {  // unit: metre
      const double per_metre_x = BigEndian32(bytes, at + 8);
      const double per_metre_y = BigEndian32(bytes, at + 12);
      if (per_metre_x > 0 && per_metre_y > 0) {
        dpi_x = per_metre_x / kInchesPerMetre;
        dpi_y = per_metre_y / kInchesPerMetre;
      }
    }
    at += 12 + length;
  }
  return {pixels_wide * 72 / dpi_x, pixels_high * 72 / dpi_y};
}

PictureSize FitIntoBox(PictureSize picture, double box_width, double box_height) {
  const double ratio = std::min(box_width / picture.width, box_height / picture.height);
  return {picture.width * ratio, picture.height * ratio};
}

int64_t PointsToEmu(double points) { return std::llround(points * 12700); }

}  // namespace lastora
