// One SEPA payment document (pain.008.002.02 or pain.001.002.03) with exactly one payment
// information block, written as text line by line with the fixed indentation banks' tools
// and the checker of this system expect.
#ifndef LASTORA_GENERATION_SEPA_DOCUMENT_H_
#define LASTORA_GENERATION_SEPA_DOCUMENT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generation/sepa_kind.h"
#include "generation/text_pieces.h"

namespace lastora::generation {

// The values of the group header and the payment-information header.
struct SepaHeader {
  std::string message_id;
  std::string payment_info_id;
  std::string creation_time;   // "YYYY-MM-DDThh:mm:ssZ"
  std::string requested_date;  // "YYYY-MM-DD"
  std::string sequence_type;   // "FRST" or "RCUR"; written only for kinds with a local instrument
  std::string own_name;
  std::string own_iban;
  std::string own_bic;
  std::string creditor_id;  // direct debits only
};

// One payment as it goes into the document; texts are written XML-escaped. The views need to
// live only until Append returns.
struct SepaTransaction {
  std::string_view end_to_end_id;
  int64_t cents = 0;
  std::string_view bic;
  std::string_view name;
  std::string_view iban;
  std::string_view remittance;
  std::string_view mandate_id;    // direct debits only
  std::string_view mandate_date;  // "YYYY-MM-DD", direct debits only
};

class SepaDocument {
 public:
  // `expected_transactions` sizes the store once, so a large collection is not copied while it
  // grows.
  SepaDocument(const SepaKind& kind, size_t expected_transactions);

  void Append(const SepaTransaction& transaction);
  int64_t count() const { return count_; }
  int64_t sum_cents() const { return sum_cents_; }

  // The whole file: header, transactions, closing lines, and the final extra line end, handed
  // to `sink` in pieces.
  void Write(const SepaHeader& header, const TextSink& sink) const;
  // The same as one text.
  std::string Text(const SepaHeader& header) const;

  // Part of the document written once with markers in place of its values; every payment
  // then costs a handful of appends instead of thirty formatted lines. order[k] names the
  // value that follows pieces[k].
  struct Template {
    std::vector<std::string> pieces;
    std::vector<size_t> order;
  };

 private:
  void AppendHeader(std::string& out, const SepaHeader& header) const;
  void AppendOwnParty(std::string& out, const SepaHeader& header) const;

  const SepaKind& kind_;
  Template block_;       // from the opening tag to the payer's account
  Template remittance_;  // the remittance block, for payments that have a text
  std::string block_end_;
  // The transactions' values, XML-escaped, each behind its length; the document's markup is
  // only added while it is written, so the collection holds a tenth of the file's size.
  std::string values_;
  int64_t count_ = 0;
  int64_t sum_cents_ = 0;
};

// "YYYY-MM-DDThh:mm:ssZ" for a local date serial: the "Z" is part of the format the banks'
// portals have accepted from this product all along, although the time is local.
std::string SepaCreationTime(double local_serial);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_SEPA_DOCUMENT_H_
