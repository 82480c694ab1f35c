// The payment list that goes with a data file: one line per payment under a heading, and the
// total, in fixed columns for printing.
#ifndef LASTORA_GENERATION_PAYMENT_LIST_H_
#define LASTORA_GENERATION_PAYMENT_LIST_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "core/spill_file.h"
#include "generation/sepa_kind.h"
#include "generation/text_pieces.h"

namespace lastora::generation {

struct PaymentListHeading {
  std::string order_text;      // SepaAART
  std::string today;           // "DD.MM.YYYY"
  std::string message_id;      // as the data file carries it
  std::string execution_date;  // "DD.MM.YYYY"
};

class PaymentList {
 public:
  // `expected_payments` sizes the store once.
  explicit PaymentList(size_t expected_payments = 0);

  void Append(std::string_view name, std::string_view bic, std::string_view iban, int64_t cents,
              std::string_view purpose);

  // The list as its file has it: Windows-1252 with CR LF line ends and the final extra line
  // end, handed to `sink` in pieces.
  void Write(const SepaKind& kind, const PaymentListHeading& heading, int64_t sum_cents,
             const TextSink& sink) const;

 private:
  std::string row_;           // the row being laid out, in UTF-8
  std::string rows_;          // the finished rows not yet spilled, already in the file's code page
  files::SpillFile spilled_;  // the earlier rows of a long list
  int64_t count_ = 0;
};

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_PAYMENT_LIST_H_
