#include "core/text.h"

#include <algorithm>
#include <cstdint>

#include "core/byte_words.h"
#include "lastora/vb_error.h"

namespace lastora::text {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Byte offset of the character that starts `chars` characters after `from` (or the end).
// A plain byte is a character of its own, and most texts are plain throughout: only the others
// are decoded.
void SkipChar(std::string_view s, size_t& offset) {
  if (static_cast<unsigned char>(s[offset]) < 0x80) {
    ++offset;
  } else {
    NextCodePoint(s, offset);
  }
}

size_t SkipChars(std::string_view s, size_t from, size_t chars) {
  size_t offset = from;
  for (; chars > 0 && offset < s.size(); --chars) SkipChar(s, offset);
  return offset;
}

size_t CountChars(std::string_view s) {
  size_t count = 0;
  for (size_t offset = 0; offset < s.size(); ++count) SkipChar(s, offset);
  return count;
}

// The next occurrence of find that starts on a character at or after offset, whose character
// position is `position`; both move to the match. 0 when there is none. In valid UTF-8 every
// byte match starts on a character, but broken bytes can make one start inside a sequence.
size_t NextMatch(std::string_view s, std::string_view find, size_t& offset, size_t& position) {
  for (size_t found = s.find(find, offset); found != std::string_view::npos;
       found = s.find(find, offset)) {
    while (offset < found) {
      NextCodePoint(s, offset);
      ++position;
    }
    if (offset == found) return position;
  }
  return 0;
}

bool IsBlank(char c) { return c == ' '; }

// The case pairs of Latin-1 and the Windows-1252 extras; ß and ÿ's partner outside the page are
// handled by the table rather than by arithmetic.
char32_t ToUpper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
  switch (c) {
    case 0xFF:
      return 0x178;  // ÿ
    case 0x153:
      return 0x152;  // œ
    case 0x161:
      return 0x160;  // š
    case 0x17E:
      return 0x17D;  // ž
    default:
      return c;
  }
}

char32_t ToLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
  switch (c) {
    case 0x178:
      return 0xFF;
    case 0x152:
      return 0x153;
    case 0x160:
      return 0x161;
    case 0x17D:
      return 0x17E;
    default:
      return c;
  }
}

// The map is a template argument so that the plain bytes, nearly all of them, map without a call.
template <char32_t (*Map)(char32_t)>
std::string MapCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t offset = 0;
  while (offset < s.size()) {
    // IBANs, BICs and most names are plain text: their bytes map one to one without decoding.
    const std::string_view plain = s.substr(offset, AsciiPrefix(s.substr(offset)));
    const size_t at = out.size();
    out.resize(at + plain.size());
    std::transform(
        plain.begin(), plain.end(), out.begin() + static_cast<ptrdiff_t>(at),
        [](char byte) { return static_cast<char>(Map(static_cast<unsigned char>(byte))); });
    offset += plain.size();
    if (offset == s.size()) break;
    const size_t start = offset;
    const char32_t c = NextCodePoint(s, offset);
    const char32_t mapped = Map(c);
    // Invalid bytes and unchanged characters are copied as they were.
    if (mapped == c) {
      out.append(s.substr(start, offset - start));
    } else {
      AppendCodePoint(out, mapped);
    }
  }
  return out;
}

}  // namespace

char32_t NextCodePoint(std::string_view s, size_t& offset) {
  const auto lead = static_cast<unsigned char>(s[offset]);
  if (lead < 0x80) {
    ++offset;
    return lead;
  }
  size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  }
  if (length == 0 || offset + length > s.size()) {
    ++offset;
    return kReplacement;
  }
  for (size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(s[offset + i]);
    if (!IsContinuation(byte)) {
      ++offset;
      return kReplacement;
    }
    cp = (cp << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  if (cp < minimum || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    ++offset;
    return kReplacement;
  }
  offset += length;
  return cp;
}

bool IsValidUtf8(std::string_view s) {
  size_t offset = AsciiPrefix(s);
  while (offset < s.size()) {
    const size_t start = offset;
    // A malformed sequence decodes as the replacement character and moves one byte; the
    // replacement character written out is three.
    if (NextCodePoint(s, offset) == kReplacement && offset - start == 1) return false;
    // A file with one umlaut near its start is still plain text for the most part.
    offset += AsciiPrefix(s.substr(offset));
  }
  return true;
}

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

size_t AsciiPrefix(std::string_view s) {
  size_t i = 0;
  // Eight bytes at a time: names, IBANs and whole records are plain text nearly always.
  for (; i + sizeof(uint64_t) <= s.size(); i += sizeof(uint64_t)) {
    if ((byte_words::Load(s.data() + i) & byte_words::kHighBits) != 0) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

size_t Length(std::string_view s) {
  const size_t ascii = AsciiPrefix(s);
  return ascii + CountChars(s.substr(ascii));
}

std::string Left(std::string_view s, size_t n) {
  return std::string(s.substr(0, SkipChars(s, 0, n)));
}

std::string Right(std::string_view s, size_t n) {
  const size_t length = CountChars(s);
  if (n >= length) return std::string(s);
  return std::string(s.substr(SkipChars(s, 0, length - n)));
}

std::string Mid(std::string_view s, size_t start, size_t n) {
  if (start == 0) throw VbError(5);  // the platform rejects position 0
  const size_t begin = SkipChars(s, 0, start - 1);
  const size_t end = n == kNpos ? s.size() : SkipChars(s, begin, n);
  return std::string(s.substr(begin, end - begin));
}

size_t InStr(std::string_view s, std::string_view find, size_t start) {
  if (start == 0) throw VbError(5);
  size_t offset = SkipChars(s, 0, start - 1);
  if (offset >= s.size()) return 0;
  if (find.empty()) return start;
  size_t position = start;
  return NextMatch(s, find, offset, position);
}

size_t InStrRev(std::string_view s, std::string_view find) {
  if (s.empty()) return 0;
  if (find.empty()) return CountChars(s);
  size_t offset = 0;
  size_t position = 1;
  size_t last = 0;
  for (size_t found = NextMatch(s, find, offset, position); found != 0;
       found = NextMatch(s, find, offset, position)) {
    last = found;
    NextCodePoint(s, offset);
    ++position;
  }
  return last;
}

std::string LTrim(std::string_view s) {
  size_t begin = 0;
  while (begin < s.size() && IsBlank(s[begin])) ++begin;
  return std::string(s.substr(begin));
}

std::string RTrim(std::string_view s) {
  size_t end = s.size();
  while (end > 0 && IsBlank(s[end - 1])) --end;
  return std::string(s.substr(0, end));
}

std::string_view TrimmedView(std::string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

std::string Trim(std::string_view s) { return std::string(TrimmedView(s)); }

std::string UCase(std::string_view s) { return MapCase<ToUpper>(s); }
std::string LCase(std::string_view s) { return MapCase<ToLower>(s); }

std::string Replace(std::string_view s, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t from = 0;
  for (size_t found = s.find(find); found != std::string_view::npos; found = s.find(find, from)) {
    out.append(s.substr(from, found - from));
    out.append(with);
    from = found + find.size();
  }
  out.append(s.substr(from));
  return out;
}

void AppendPadRight(std::string& out, std::string_view value, size_t width, std::string_view fill) {
  size_t offset = std::min(AsciiPrefix(value), width);
  size_t chars = offset;
  for (; chars < width && offset < value.size(); ++chars) SkipChar(value, offset);
  out.append(value.substr(0, offset));
  if (fill.size() == 1) {
    out.append(width - chars, fill.front());
  } else {
    for (; chars < width; ++chars) out.append(fill);
  }
}

std::string PadRight(std::string_view value, size_t width, std::string_view fill) {
  std::string out;
  AppendPadRight(out, value, width, fill);
  return out;
}

std::string Repeat(std::string_view c, size_t count) {
  std::string out;
  out.reserve(c.size() * count);
  for (size_t i = 0; i < count; ++i) out.append(c);
  return out;
}

}  // namespace lastora::text
