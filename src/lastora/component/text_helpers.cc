// Text and number helpers. Widths and cuts count characters (code points), never bytes.
#include <cmath>
#include <utility>
#include <vector>

#include "component/helpers.h"
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

}  // namespace

std::string RemoveBlanks(const std::string& text) { return text::Replace(text, " ", ""); }

std::string PadRight(const Variant& value, const Variant& width, const Variant& fill) {
  const size_t count = PadWidth(width);
  return text::Left(CStr(value) + text::Repeat(FillCharacter(fill), count), count);
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

Variant ColumnLetters(int16_t& column) {
  if (column < 1) throw VbError(5);
  std::string letters;
  for (int rest = column; rest > 0; rest = (rest - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (rest - 1) % 26));
  }
  return Variant(std::move(letters));
}

int32_t FindHeaderColumn(const Table& header, const std::string& name) {
  for (int32_t column = 1; column <= header.ColUpper(); ++column) {
    const Variant& cell = header.At(1, column);
    if (!cell.IsNull() && CStr(cell) == name) return column;
  }
  return 0;
}

double TruncateDecimals(double& value, double& decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::floor(value * scale) / scale;
}

Variant NullToZero(const Variant& value) {
  return value.IsNull() ? Variant(static_cast<int16_t>(0)) : value;
}

std::string ReplaceUmlauts(const std::string& text) {
  static constexpr std::pair<std::string_view, std::string_view> kUmlauts[] = {
      {"Ü", "Ue"}, {"Ä", "Ae"}, {"Ö", "Oe"}, {"ü", "ue"}, {"ä", "ae"}, {"ö", "oe"}, {"ß", "ss"}};
  std::string result = text;
  for (const auto& [umlaut, spelled_out] : kUmlauts) {
    result = text::Replace(result, umlaut, spelled_out);
  }
  return result;
}

std::string ReplaceNonAscii(const std::string& text) {
  // No character above 127 has a Windows-1252 byte below 128, so "outside ASCII" is the whole
  // rule. The length limit is the platform's 16-bit character counter.
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
