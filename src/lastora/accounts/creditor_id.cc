#include "accounts/creditor_id.h"

#include <algorithm>
#include <string>

#include "accounts/iban_check_digits.h"

namespace lastora::detail {
namespace {

constexpr size_t kBusinessCodeEnd = 7;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool CreditorIdCheckDigitsValid(std::string_view creditor_id) {
  if (creditor_id.size() <= kBusinessCodeEnd) return false;
  std::string upper(creditor_id);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  });
  const auto letter_or_digit = [](char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z'); };
  if (!std::all_of(upper.begin(), upper.end(), letter_or_digit)) return false;
  if (!IsDigit(upper[2]) || !IsDigit(upper[3])) return false;
  // Laid out as an IBAN whose account part is the national part, the check digits are the same.
  const std::string as_iban = upper.substr(0, 4) + upper.substr(kBusinessCodeEnd);
  return IbanCheckDigits(as_iban) == (upper[2] - '0') * 10 + (upper[3] - '0');
}

}  // namespace lastora::detail
