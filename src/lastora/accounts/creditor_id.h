// The check digits of a SEPA creditor identifier: "DE98ZZZ09999999999" is country, two check
// digits, a three-character business code the club may choose freely, and the national part.
#ifndef LASTORA_ACCOUNTS_CREDITOR_ID_H_
#define LASTORA_ACCOUNTS_CREDITOR_ID_H_

#include <string_view>

namespace lastora::detail {

// True when the identifier's characters 3 and 4 are the MOD 97-10 check digits of its country
// and national part; the business code does not take part, so changing it keeps them valid.
// Letters count in either case; a sign other than a letter or digit makes it false.
bool CreditorIdCheckDigitsValid(std::string_view creditor_id);

}  // namespace lastora::detail

#endif  // LASTORA_ACCOUNTS_CREDITOR_ID_H_
