// A DTAUS file of one pass: the header, one payment record per row and the trailer, laid out
// by the record format's tables, in the two forms a club hands over: a readable file with a
// line break after every record and the transfer file of bare 128-character blocks.
#ifndef LASTORA_GENERATION_DTAUS_WRITER_H_
#define LASTORA_GENERATION_DTAUS_WRITER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generation/sepa_kind.h"
#include "generation/text_pieces.h"

namespace lastora::generation {

// The club's own account, already in its field widths (27, 8 and 10 characters).
struct DtausOrderingParty {
  std::string name;
  std::string bank_code;
  std::string account;
};

// The texts need to live only until Append returns.
struct DtausPayment {
  std::string_view bank_code;  // digits
  std::string_view account;    // digits
  int64_t cents = 0;
  std::string_view name;
  std::vector<std::string> purpose_lines;  // 1 to 14, each 27 characters
};

struct DtausTexts {
  std::string readable;  // Windows-1252, records separated by CR LF, final CR LF
  std::string transfer;  // Windows-1252, records back to back, no line end
};

class DtausWriter {
 public:
  // `expected_payments` sizes the record store once.
  DtausWriter(const SepaKind& kind, const DtausOrderingParty& party, size_t expected_payments = 0);

  // Appends the payment's record and returns its amount field. A record that comes out of the
  // wrong length (a number too long for its field) stops the run with the record's text;
  // a bank code or account number that is not a number fails the run.
  std::string Append(const DtausPayment& payment);

  // Both files, each handed to its sink in pieces; `reference` is the 10-character file
  // reference, dates as "ddmmyy" and "ddmmyyyy". Nothing is handed on when the header or the
  // trailer comes out of the wrong length.
  void Write(const std::string& reference, const std::string& creation_date,
             const std::string& execution_date, const TextSink& readable,
             const TextSink& transfer) const;
  // The same as two texts.
  DtausTexts Finish(const std::string& reference, const std::string& creation_date,
                    const std::string& execution_date) const;

  int64_t count() const { return count_; }
  int64_t sum_cents() const { return sum_cents_; }
  int64_t account_sum() const { return account_sum_; }
  int64_t bank_code_sum() const { return bank_code_sum_; }

 private:
  // The A and E records in the files' code page; a record of the wrong length stops the run.
  std::string HeaderRecord(const std::string& reference, const std::string& creation_date,
                           const std::string& execution_date) const;
  std::string TrailerRecord() const;

  const SepaKind& kind_;
  DtausOrderingParty party_;
  std::string party_name_upper_;
  // The payment records in the files' code page, back to back as the transfer file has them;
  // the readable file puts a line end after each one.
  std::string records_;
  std::vector<size_t> record_ends_;
  std::string record_;  // the record being laid out, kept for its capacity
  int64_t count_ = 0;
  int64_t sum_cents_ = 0;
  int64_t account_sum_ = 0;
  int64_t bank_code_sum_ = 0;
};

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_DTAUS_WRITER_H_
