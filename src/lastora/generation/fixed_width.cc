#include "generation/fixed_width.h"

#include "core/text.h"

namespace lastora::generation {
namespace {

bool IsAscii(std::string_view value) {
  for (char c : value) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Byte length of the first `count` characters.
size_t PrefixBytes(std::string_view value, size_t count) {
  size_t offset = 0;
  for (size_t i = 0; i < count && offset < value.size(); ++i) text::NextCodePoint(value, offset);
  return offset;
}

}  // namespace

size_t CharCount(std::string_view value) {
  return IsAscii(value) ? value.size() : text::Length(value);
}

void AppendLeftAligned(std::string& out, std::string_view value, size_t width, char fill) {
  const size_t chars = CharCount(value);
  if (chars >= width) {
    out.append(value.substr(0, chars == value.size() ? width : PrefixBytes(value, width)));
    return;
  }
  out.append(value);
  out.append(width - chars, fill);
}

void AppendRightAligned(std::string& out, std::string_view value, size_t width, char fill) {
  const size_t chars = CharCount(value);
  if (chars >= width) {
    const size_t skip = chars - width;
    out.append(value.substr(chars == value.size() ? skip : PrefixBytes(value, skip)));
    return;
  }
  out.append(width - chars, fill);
  out.append(value);
}

void AppendZeroFilled(std::string& out, std::string_view digits, size_t width) {
  const size_t chars = CharCount(digits);
  if (chars < width) out.append(width - chars, '0');
  out.append(digits);
}

std::string UpperCase(std::string_view value) {
  if (!IsAscii(value)) return text::UCase(value);
  std::string upper(value);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string LeftAligned(std::string_view value, size_t width, char fill) {
  std::string out;
  AppendLeftAligned(out, value, width, fill);
  return out;
}

std::string RightAligned(std::string_view value, size_t width, char fill) {
  std::string out;
  AppendRightAligned(out, value, width, fill);
  return out;
}

}  // namespace lastora::generation
