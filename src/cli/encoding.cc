#include "encoding.h"

#include "core/text.h"

namespace lastora::cli {

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t follow = 0;
    if (lead < 0x80) {
      follow = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      follow = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      follow = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      follow = 3;
    } else {
      return false;
    }
    if (i + follow >= bytes.size() && follow > 0) return false;
    for (size_t k = 1; k <= follow; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += follow + 1;
  }
  return true;
}

DecodedText DecodeTextFile(std::string_view bytes) {
  DecodedText decoded;
  if (bytes.starts_with(kUtf8Bom)) {
    decoded.had_bom = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  if (IsValidUtf8(bytes)) {
    decoded.text = std::string(bytes);
  } else {
    decoded.windows1252 = true;
    decoded.text = text::FromWindows1252(bytes);
  }
  return decoded;
}

std::string EncodeTextFile(const DecodedText& decoded) {
  if (decoded.windows1252) return text::ToWindows1252(decoded.text);
  return decoded.had_bom ? std::string(kUtf8Bom) + decoded.text : decoded.text;
}

}  // namespace lastora::cli
