// The facts a payment's values must meet for the bank's schema to accept its transaction. A row
// that misses one is left out of the document and marked, so a written document is valid by
// construction instead of being found wrong by the bank.
#ifndef LASTORA_GENERATION_SEPA_ROW_CHECK_H_
#define LASTORA_GENERATION_SEPA_ROW_CHECK_H_

#include <cstdint>
#include <optional>
#include <string>

#include "generation/sepa_document.h"

namespace lastora::generation {

inline constexpr size_t kLongestSepaIdentifier = 35;
inline constexpr size_t kLongestSepaName = 70;

struct SepaRowFault {
  int32_t column;       // of the payment table
  std::string message;  // names the field and what is wrong with it
};

// The first fact the transaction misses; the mandate is checked only for direct debits.
std::optional<SepaRowFault> FindSepaRowFault(const SepaTransaction& transaction, bool direct_debit);

// The identifier characters of the schema, without the blank when `blank_allowed` is false.
bool IsSepaIdentifier(std::string_view text, bool blank_allowed);
bool IsIbanShaped(std::string_view iban);
bool IsBicShaped(std::string_view bic);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_SEPA_ROW_CHECK_H_
