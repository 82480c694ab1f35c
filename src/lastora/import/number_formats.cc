#include "import/number_formats.h"

namespace lastora::detail {
namespace {

// The built-in formats that show a date or a time (14-22 everywhere, 27-36 and 50-58 in East
// Asian installations, 45-47 the minute and second formats).
bool IsBuiltinDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
         (id >= 50 && id <= 58);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsDateFormat(int id, std::string_view code) {
  if (code.empty()) return IsBuiltinDateFormat(id);
  // Quoted literals, escaped characters and bracketed colours or locales say nothing about the
  // value; an elapsed-time bracket ("[h]") does.
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = Lower(code[i]);
    if (c == '"') {
      const size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      const size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) return false;
      const char first = close > i + 1 ? Lower(code[i + 1]) : '\0';
      if (first == 'h' || first == 'm' || first == 's') return true;
      i = close;
    } else if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 's') {
      return true;
    }
  }
  return false;
}

}  // namespace lastora::detail
