// The payment list that goes with a data file: one line per payment under a heading, and the
// total, in fixed columns for printing.
#ifndef LASTORA_GENERATION_PAYMENT_LIST_H_
#define LASTORA_GENERATION_PAYMENT_LIST_H_

#include <cstdint>
#include <string>

#include "generation/sepa_kind.h"

namespace lastora::generation {

struct PaymentListHeading {
  std::string order_text;      // SepaAART
  std::string today;           // "DD.MM.YYYY"
  std::string message_id;      // as the data file carries it
  std::string execution_date;  // "DD.MM.YYYY"
};

class PaymentList {
 public:
  void Append(const std::string& name, const std::string& bic, const std::string& iban,
              int64_t cents, const std::string& purpose);

  // The list in UTF-8 with CR LF line ends and the final extra line end.
  std::string Text(const SepaKind& kind, const PaymentListHeading& heading,
                   int64_t sum_cents) const;

 private:
  std::string rows_;
  int64_t count_ = 0;
};

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_PAYMENT_LIST_H_
