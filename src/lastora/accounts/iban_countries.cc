#include "accounts/iban_countries.h"

#include <array>

namespace lastora::detail {
namespace {

// Where a national BBAN holds a branch code or a check digit, it belongs to one of the two parts
// as the lengths say; callers only ever see "bank part" and "account part".
constexpr std::array<IbanCountry, 31> kIbanCountries = {{
    {"DE", 8, 10, true, "18n"},        {"BE", 3, 9, true, "12n"},
    {"BG", 8, 10, false, "4a6n8c"},    {"DK", 4, 10, true, "14n"},
    {"EE", 4, 12, true, "16n"},        {"FI", 6, 8, true, "14n"},
    {"FR", 10, 13, false, "10n11c2n"}, {"GI", 4, 15, false, "4a15c"},
    {"GB", 10, 8, false, "4a14n"},     {"GR", 7, 16, false, "7n16c"},
    {"IE", 10, 8, false, "4a14n"},     {"IS", 6, 16, true, "22n"},
    {"IT", 11, 12, false, "1a10n12c"}, {"LI", 5, 12, false, "5n12c"},
    {"LT", 5, 11, true, "16n"},        {"LU", 5, 11, false, "3n13c"},
    {"LV", 4, 13, false, "4a13c"},     {"MC", 10, 13, false, "10n11c2n"},
    {"NL", 4, 10, false, "4a10n"},     {"NO", 4, 7, true, "11n"},
    {"AT", 5, 11, true, "16n"},        {"PL", 8, 16, true, "24n"},
    {"PT", 8, 13, true, "21n"},        {"SE", 3, 17, true, "20n"},
    {"CH", 5, 12, false, "5n12c"},     {"SK", 4, 16, true, "20n"},
    {"SI", 5, 10, true, "15n"},        {"ES", 8, 12, true, "20n"},
    {"CZ", 4, 16, true, "20n"},        {"HU", 8, 16, true, "24n"},
    {"CY", 8, 16, false, "8n16c"},
}};

bool FitsKind(char kind, char c) {
  const bool digit = c >= '0' && c <= '9';
  const bool letter = c >= 'A' && c <= 'Z';
  switch (kind) {
    case 'n':
      return digit;
    case 'a':
      return letter;
    default:
      return digit || letter;
  }
}

}  // namespace

const IbanCountry* FindIbanCountry(std::string_view code) {
  for (const IbanCountry& country : kIbanCountries) {
    if (country.code == code) return &country;
  }
  return nullptr;
}

size_t FirstBbanMismatch(const IbanCountry& country, std::string_view bban) {
  size_t position = 0;
  size_t count = 0;
  for (const char f : country.bban_format) {
    if (f >= '0' && f <= '9') {
      count = count * 10 + static_cast<size_t>(f - '0');
      continue;
    }
    for (; count > 0; --count, ++position) {
      if (position >= bban.size() || !FitsKind(f, bban[position])) return position;
    }
  }
  return position == bban.size() ? std::string_view::npos : position;
}

}  // namespace lastora::detail
