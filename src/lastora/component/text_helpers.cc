// Text and number helpers. Widths and cuts count characters (code points), never bytes.
#include <cmath>
#include <vector>

#include "component/helpers.h"
#include "core/cell_reference.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr size_t kLongestPlatformText = 32767;

size_t PadWidth(const Variant& width) {
  const int32_t count = CLng(width);
  if (count < 0) throw VbError(5);
  return static_cast<size_t>(count);
}

std::string FillCharacter(const Variant& fill) {
  if (fill.IsMissing()) return " ";
  const std::string text = CStr(fill);
  return text.empty() ? std::string(" ") : text::Left(text, 1);
}

// The spelling of the umlaut whose UTF-8 form is 0xC3 followed by this byte; "" for any other.
std::string_view SpelledOutUmlaut(char second_byte) {
  switch (static_cast<unsigned char>(second_byte)) {
    case 0x9C:
      return "Ue";
    case 0x84:
      return "Ae";
    case 0x96:
      return "Oe";
    case 0xBC:
      return "ue";
    case 0xA4:
      return "ae";
    case 0xB6:
      return "oe";
    case 0x9F:
      return "ss";
    default:
      return "";
  }
}

}  // namespace

std::string RemoveBlanks(std::string_view text) { return text::Replace(text, " ", ""); }

std::string PadRight(const Variant& value, const Variant& width, const Variant& fill) {
  return text::PadRight(CStr(value), PadWidth(width), FillCharacter(fill));
}

std::string PadLeft(const Variant& value, const Variant& width, const Variant& fill) {
  const size_t count = PadWidth(width);
  return text::Right(text::Repeat(FillCharacter(fill), count) + CStr(value), count);
}

VariantArray SplitToArray(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  if (separator.empty()) {
    parts.push_back(text);
  } else {
    size_t from = 0;
    for (size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, from)) {
      parts.push_back(text.substr(from, at - from));
      from = at + separator.size();
    }
    parts.push_back(text.substr(from));
  }
  VariantArray array(static_cast<int32_t>(parts.size()), 1);
  for (size_t i = 0; i < parts.size(); ++i) {
    array.At(static_cast<int32_t>(i) + 1) = Variant(std::move(parts[i]));
  }
  return array;
}

int32_t CountOccurrences(std::string_view text, std::string_view search) {
  if (text.empty() || search.empty()) return 0;
  int32_t count = 0;
  for (size_t at = text.find(search); at != std::string_view::npos;
       at = text.find(search, at + search.size())) {
    ++count;
  }
  return count;
}

std::string TextBetween(std::string_view text, std::string_view start_mark,
                        std::string_view end_mark) {
  const size_t start = text.find(start_mark);
  if (start == std::string_view::npos) return "";
  const size_t from = start + start_mark.size();
  const size_t end = text.find(end_mark, from);
  if (end == std::string_view::npos) return "";
  return std::string(text.substr(from, end - from));
}

Variant ColumnLetters(int16_t column) {
  if (column < 1) throw VbError(5);
  return Variant(detail::ColumnLetters(column));
}

int32_t FindHeaderColumn(const Table& header, const std::string& name) {
  for (int32_t column = 1; column <= header.ColUpper(); ++column) {
    const Variant& cell = header.At(1, column);
    if (!cell.IsNull() && CStr(cell) == name) return column;
  }
  return 0;
}

double TruncateDecimals(double value, double decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::floor(value * scale) / scale;
}

Variant NullToZero(const Variant& value) {
  return value.IsNull() ? Variant(static_cast<int16_t>(0)) : value;
}

std::string ReplaceUmlauts(const std::string& text) {
  // All seven are two-byte sequences starting with 0xC3, and no replacement forms another one, so
  // one pass gives what replacing Ü, Ä, Ö, ü, ä, ö, ß one after another gives.
  if (text.find('\xC3') == std::string::npos) return text;
  std::string result;
  result.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view spelled_out =
        text[i] == '\xC3' && i + 1 < text.size() ? SpelledOutUmlaut(text[i + 1]) : "";
    if (spelled_out.empty()) {
      result.push_back(text[i]);
    } else {
      result.append(spelled_out);
      ++i;
    }
  }
  return result;
}

std::string ReplaceNonAscii(const std::string& text) {
  // No character above 127 has a Windows-1252 byte below 128, so "outside ASCII" is the whole
  // rule. The length limit is the platform's 16-bit character counter.
  if (text::AsciiPrefix(text) == text.size()) {
    if (text.size() > kLongestPlatformText) throw VbError(6);
    return text;
  }
  std::string result;
  result.reserve(text.size());
  size_t characters = 0;
  for (size_t offset = 0; offset < text.size();) {
    if (++characters > kLongestPlatformText) throw VbError(6);
    const char32_t code_point = text::NextCodePoint(text, offset);
    result.push_back(code_point < 0x80 ? static_cast<char>(code_point) : '?');
  }
  return result;
}

}  // namespace lastora
