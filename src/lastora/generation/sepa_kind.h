// The kinds of order the generation run writes, and everything in which their files differ,
// as one table: the writers read names from here instead of asking which kind they write.
#ifndef LASTORA_GENERATION_SEPA_KIND_H_
#define LASTORA_GENERATION_SEPA_KIND_H_

#include <string>
#include <string_view>

namespace lastora::generation {

struct SepaKind {
  bool credit_transfer;
  std::string_view message;           // "pain.008.002.02" or "pain.001.002.03"
  std::string_view initiation;        // root child: "CstmrDrctDbtInitn" or "CstmrCdtTrfInitn"
  std::string_view payment_method;    // "DD" or "TRF"
  std::string_view local_instrument;  // "CORE", "B2B" or empty: then no LclInstrm and no SeqTp
  std::string_view requested_date;    // "ReqdColltnDt" or "ReqdExctnDt"
  std::string_view own_party;         // the ordering party's element stem: "Cdtr" or "Dbtr"
  std::string_view other_party;       // the row's element stem: "Dbtr" or "Cdtr"
  std::string_view transaction;       // "DrctDbtTxInf" or "CdtTrfTxInf"
  std::string_view list_party;        // payment-list heading of the name column
  std::string_view dtaus_file_kind;   // A3: "LK" or "GK"
  std::string_view dtaus_text_key;    // C7a: "05" or "51"
};

// The kind that the order text (SepaAART) selects: the catalogue's "Überweisung",
// "Basislastschrift" or "Firmenlastschrift"; any other text is a direct debit without a local
// instrument.
const SepaKind& SepaKindFor(const std::string& order_text);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_SEPA_KIND_H_
