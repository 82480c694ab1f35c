#include "generation/fixed_width.h"

#include "core/text.h"

namespace lastora::generation {

void AppendRightAligned(std::string& out, std::string_view value, size_t width, char fill) {
  const size_t chars = text::Length(value);
  if (chars >= width) {
    out.append(text::Right(value, width));
    return;
  }
  out.append(width - chars, fill);
  out.append(value);
}

void AppendZeroFilled(std::string& out, std::string_view digits, size_t width) {
  const size_t chars = text::Length(digits);
  if (chars < width) out.append(width - chars, '0');
  out.append(digits);
}

std::string RightAligned(std::string_view value, size_t width, char fill) {
  std::string out;
  AppendRightAligned(out, value, width, fill);
  return out;
}

std::string UpperCase(std::string value) {
  if (text::AsciiPrefix(value) != value.size()) return text::UCase(value);
  // Without a branch per letter the compiler handles many letters at once.
  for (char& c : value) {
    const bool lower = static_cast<unsigned char>(c - 'a') < 26;
    c = static_cast<char>(c - (lower ? 'a' - 'A' : 0));
  }
  return value;
}

}  // namespace lastora::generation
