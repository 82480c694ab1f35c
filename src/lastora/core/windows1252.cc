#include <array>

#include "core/text.h"

namespace lastora::text {

namespace {

// Characters of the bytes 0x80 to 0x9F; the five bytes without a character keep their own
// C1 control code point so that any byte sequence survives a round trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

bool Windows1252Byte(char32_t cp, unsigned char* byte) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    *byte = static_cast<unsigned char>(cp);
    return true;
  }
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) {
      *byte = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

void AppendWindows1252(std::string& out, std::string_view utf8) {
  size_t offset = 0;
  while (offset < utf8.size()) {
    // Most text is ASCII: copy each run of it in one go.
    const size_t run = AsciiPrefix(utf8.substr(offset));
    out.append(utf8.substr(offset, run));
    offset += run;
    if (offset == utf8.size()) break;
    unsigned char byte = '?';
    // U+FFFD from a broken sequence has no byte either and becomes "?".
    if (!Windows1252Byte(NextCodePoint(utf8, offset), &byte)) byte = '?';
    out.push_back(static_cast<char>(byte));
  }
}

std::string ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendWindows1252(out, utf8);
  return out;
}

std::string FromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      AppendCodePoint(out, byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
    }
  }
  return out;
}

}  // namespace lastora::text
