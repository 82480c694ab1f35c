#include "checkers/sepa_text.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "core/byte_words.h"
#include "core/files.h"
#include "core/large_pages.h"
#include "core/text.h"

namespace lastora::sepa_text {
namespace {

// "&#x10FFFF;" is the longest reference worth resolving.
constexpr size_t kLongestReference = 10;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr uint64_t kEightBlanks = byte_words::Repeated(' ');

// Length of the UTF-8 sequence that starts at s[i], or 0 when it is not a valid one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

// The code point of a reference body such as "amp", "#228" or "#xE4"; 0 when unknown.
char32_t ReferencedCodePoint(std::string_view name) {
  if (name == "amp") return U'&';
  if (name == "lt") return U'<';
  if (name == "gt") return U'>';
  if (name == "quot") return U'"';
  if (name == "apos") return U'\'';
  if (name.size() < 2 || name[0] != '#') return 0;
  const bool hex = name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  uint32_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
  if (error != std::errc() || end != digits.data() + digits.size()) return 0;
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return static_cast<char32_t>(value);
}

// Trims and joins the lines of data[0, size) in place and answers the joined length. The joined
// text is never longer than the bytes it comes from, and it is built a word of eight bytes at a
// time: a payment file of a hundred megabytes is mostly indentation and short lines. `high_bits`
// gathers the bits of every byte kept: none set means ASCII, which is UTF-8 as it stands.
size_t JoinInPlace(char* data, size_t size, uint64_t* high_bits) {
  size_t in = 0;
  size_t out = 0;
  while (in < size) {
    for (; in + sizeof(uint64_t) <= size; in += sizeof(uint64_t)) {
      const uint64_t not_blank = byte_words::Load(data + in) ^ kEightBlanks;
      if (not_blank != 0) {
        in += byte_words::FirstMarked(not_blank);
        break;
      }
    }
    while (in < size && IsBlank(data[in])) ++in;
    const size_t line = out;
    for (; in + sizeof(uint64_t) <= size; in += sizeof(uint64_t), out += sizeof(uint64_t)) {
      const uint64_t word = byte_words::Load(data + in);
      *high_bits |= word;
      // Bytes below 0x0E include CR and LF; at a tab the loop below takes over.
      const uint64_t low = byte_words::BytesBelow(word, 0x0E);
      const size_t kept = low == 0 ? sizeof word : byte_words::FirstMarked(low);
      // A whole word moves fastest, where it overwrites nothing still to be read; before the
      // first trimmed blank nothing moves at all.
      if (out + sizeof word <= in + kept) {
        std::memmove(data + out, data + in, sizeof word);
      } else if (out != in) {
        std::memmove(data + out, data + in, kept);
      }
      if (low != 0) {
        in += kept;
        out += kept;
        break;
      }
    }
    while (in < size && data[in] != '\n' && data[in] != '\r') {
      *high_bits |= static_cast<unsigned char>(data[in]);
      data[out++] = data[in++];
    }
    while (out > line && IsBlank(data[out - 1])) --out;
    // The line end, a CR LF as one.
    in += in + 1 < size && data[in] == '\r' && data[in + 1] == '\n' ? 2 : 1;
  }
  return out;
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    // Runs of ASCII are the bulk of any payment file.
    i += text::AsciiPrefix(bytes.substr(i));
    if (i == bytes.size()) break;
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string ReadJoinedLines(const std::string& path, size_t window) {
  files::FileReader reader(path);
  std::string text;
  // Room for the whole file, of which only the joined text and one window are ever touched.
  text.reserve(static_cast<size_t>(reader.size()) + window);
  memory::PreferLargePages(text.data(), text.capacity());
  uint64_t high_bits = 0;
  size_t joined = 0;  // text[0, joined) is joined for good
  size_t open = 0;    // the bytes after it of a line whose end is not read yet
  for (;;) {
    const size_t start = joined + open;
    text.resize(start + window);
    const size_t got = reader.Read(text.data() + start, window);
    const size_t held = open + got;
    // Only whole lines are joined: the trailing blanks of a line, or the LF of its CR LF, may
    // still be to come. At the end of the file, what is held is the last line.
    size_t whole = held;
    if (got > 0) {
      const size_t last_lf = std::string_view(text.data() + start, got).rfind('\n');
      whole = last_lf == std::string_view::npos ? 0 : open + last_lf + 1;
    }
    char* const from = text.data() + joined;
    const size_t kept = JoinInPlace(from, whole, &high_bits);
    // A line still without its end stays where it is.
    if (kept != whole) std::memmove(from + kept, from + whole, held - whole);
    joined += kept;
    open = held - whole;
    if (got == 0) break;
  }
  text.resize(joined);
  if ((high_bits & byte_words::kHighBits) == 0 || IsUtf8(text)) return text;
  return text::FromWindows1252(text);
}

std::string_view Between(std::string_view text, std::string_view open, std::string_view close) {
  const size_t start = text.find(open);
  if (start == std::string_view::npos) return {};
  const size_t from = start + open.size();
  const size_t end = text.find(close, from);
  if (end == std::string_view::npos) return {};
  return text.substr(from, end - from);
}

std::string XmlValue(std::string_view raw) {
  if (raw.find('&') == std::string_view::npos) return std::string(raw);
  std::string value;
  value.reserve(raw.size());
  size_t pos = 0;
  while (pos < raw.size()) {
    const size_t amp = raw.find('&', pos);
    if (amp == std::string_view::npos) break;
    value.append(raw, pos, amp - pos);
    // A reference is short; looking further for its ";" would make a text full of stray "&"
    // quadratic.
    const size_t semicolon = raw.substr(0, amp + kLongestReference).find(';', amp);
    const char32_t code_point = semicolon == std::string_view::npos
                                    ? 0
                                    : ReferencedCodePoint(raw.substr(amp + 1, semicolon - amp - 1));
    if (code_point == 0) {
      value += '&';
      pos = amp + 1;
    } else {
      text::AppendCodePoint(value, code_point);
      pos = semicolon + 1;
    }
  }
  value.append(raw, pos);
  return value;
}

}  // namespace lastora::sepa_text
