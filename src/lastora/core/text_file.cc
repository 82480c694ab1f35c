#include "lastora/text_file.h"

#include <utility>

#include "core/text.h"

namespace lastora {

DecodedText DecodeTextFile(std::string_view bytes) {
  DecodedText decoded;
  if (bytes.starts_with(kUtf8Bom)) {
    decoded.had_bom = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  if (text::IsValidUtf8(bytes)) {
    decoded.text = std::string(bytes);
  } else {
    decoded.windows1252 = true;
    decoded.text = text::FromWindows1252(bytes);
  }
  return decoded;
}

DecodedText DecodeTextFileInPlace(std::string&& bytes) {
  const bool had_bom = std::string_view(bytes).starts_with(kUtf8Bom);
  if (!text::IsValidUtf8(std::string_view(bytes).substr(had_bom ? kUtf8Bom.size() : 0))) {
    return DecodeTextFile(std::string_view(bytes));
  }
  if (had_bom) bytes.erase(0, kUtf8Bom.size());
  DecodedText decoded;
  decoded.had_bom = had_bom;
  decoded.text = std::move(bytes);
  return decoded;
}

std::string EncodeTextFile(const DecodedText& decoded) {
  if (decoded.windows1252) return text::ToWindows1252(decoded.text);
  return decoded.had_bom ? std::string(kUtf8Bom) + decoded.text : decoded.text;
}

}  // namespace lastora
