#include "import/workbook_reader.h"

#include <charconv>
#include <filesystem>

#include "lastora/variant.h"
#include "lastora/vb_error.h"

namespace lastora::detail {
namespace {

// Reads exactly `width` digits at `pos`; advances pos.
bool ReadDigits(std::string_view s, size_t& pos, size_t width, int& value) {
  if (pos + width > s.size()) return false;
  const char* begin = s.data() + pos;
  const auto [end, error] = std::from_chars(begin, begin + width, value);
  if (error != std::errc() || end != begin + width) return false;
  pos += width;
  return true;
}

bool Expect(std::string_view s, size_t& pos, char c) {
  if (pos >= s.size() || s[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

VbError UnreadableError(const std::string& path, const std::string& reason) {
  return VbError(1004, "Die Datei kann nicht gelesen werden (" + reason + "): " + path);
}

void ThrowUnreadable(const std::string& path, const std::string& reason) {
  throw UnreadableError(path, reason);
}

std::optional<double> ParseIsoDateTime(std::string_view text) {
  size_t pos = 0;
  int year = 0, month = 0, day = 0;
  if (!ReadDigits(text, pos, 4, year) || !Expect(text, pos, '-') ||
      !ReadDigits(text, pos, 2, month) || !Expect(text, pos, '-') ||
      !ReadDigits(text, pos, 2, day)) {
    return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  double serial = MakeDate(year, month, day);
  if (pos < text.size() && (text[pos] == 'T' || text[pos] == ' ')) {
    ++pos;
    int hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, pos, 2, hour) || !Expect(text, pos, ':') ||
        !ReadDigits(text, pos, 2, minute)) {
      return std::nullopt;
    }
    if (Expect(text, pos, ':') && !ReadDigits(text, pos, 2, second)) return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    serial += MakeTime(hour, minute, second);
  }
  return serial;
}

std::string SheetNameFromPath(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

}  // namespace lastora::detail
