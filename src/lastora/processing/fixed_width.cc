#include "processing/fixed_width.h"

#include <algorithm>

#include "core/text.h"

namespace lastora::processing {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void AppendFixedWidth(std::string& out, std::string_view text, size_t width) {
  // In ASCII a byte is a character; anything else is counted by code points.
  const bool ascii = IsAscii(text);
  const size_t length = ascii ? text.size() : text::Length(text);
  if (length < width) {
    out += text;
    out.append(width - length, ' ');
  } else if (ascii) {
    out += text.substr(0, width);
  } else {
    out += text::Left(text, width);
  }
}

std::string FixedWidth(std::string_view text, size_t width) {
  std::string fitted;
  AppendFixedWidth(fitted, text, width);
  return fitted;
}

}  // namespace lastora::processing
