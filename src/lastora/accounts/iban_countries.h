// The countries whose IBANs the component builds and checks, with the split of their BBAN.
#ifndef LASTORA_ACCOUNTS_IBAN_COUNTRIES_H_
#define LASTORA_ACCOUNTS_IBAN_COUNTRIES_H_

#include <cstddef>
#include <string_view>

namespace lastora::detail {

struct IbanCountry {
  std::string_view code;
  int bank_length;     // characters of the bank part, right after the check digits
  int account_length;  // characters of the account part, the rest of the BBAN
  bool numeric_only;   // the BBAN may hold digits only
  // The BBAN's layout in the IBAN registry's notation: runs of a count and a kind, "a" a letter
  // "A" to "Z", "n" a digit, "c" either ("4a14n": four letters, then fourteen digits).
  std::string_view bban_format;

  int IbanLength() const { return 4 + bank_length + account_length; }
};

// nullptr for a country outside the table.
const IbanCountry* FindIbanCountry(std::string_view code);

// The 0-based position of the first BBAN character that its layout does not allow there
// (std::string_view::npos when all fit). The BBAN is assumed to have the country's length.
size_t FirstBbanMismatch(const IbanCountry& country, std::string_view bban);

}  // namespace lastora::detail

#endif  // LASTORA_ACCOUNTS_IBAN_COUNTRIES_H_
