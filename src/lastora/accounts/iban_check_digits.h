// ISO 7064 MOD 97-10 check digits of an IBAN.
#ifndef LASTORA_ACCOUNTS_IBAN_CHECK_DIGITS_H_
#define LASTORA_ACCOUNTS_IBAN_CHECK_DIGITS_H_

#include <string_view>

namespace lastora::detail {

// The check digits (2 to 98) that the IBAN should carry; its own characters 3 and 4 are ignored.
// Only digits and "A" to "Z" are accepted; anything else throws VbError 13, the failure the
// platform's number conversion gives for such a text.
int IbanCheckDigits(std::string_view iban);

}  // namespace lastora::detail

#endif  // LASTORA_ACCOUNTS_IBAN_CHECK_DIGITS_H_
