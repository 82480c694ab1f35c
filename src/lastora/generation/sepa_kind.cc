#include "generation/sepa_kind.h"

#include "component/catalogue.h"

namespace lastora::generation {
namespace {

constexpr std::string_view kDebtorHeading = "ZAHLUNGSPFLICHTIGER";

constexpr SepaKind kCreditTransfer{
    true,   "pain.001.002.03", "CstmrCdtTrfInitn", "TRF", "",  "ReqdExctnDt", "Dbtr",
    "Cdtr", "CdtTrfTxInf",     "EMPFAENGER",       "GK",  "51"};
constexpr SepaKind kCoreDebit{
    false,  "pain.008.002.02", "CstmrDrctDbtInitn", "DD", "CORE", "ReqdColltnDt", "Cdtr",
    "Dbtr", "DrctDbtTxInf",    kDebtorHeading,      "LK", "05"};
constexpr SepaKind kB2bDebit{
    false,  "pain.008.002.02", "CstmrDrctDbtInitn", "DD", "B2B", "ReqdColltnDt", "Cdtr",
    "Dbtr", "DrctDbtTxInf",    kDebtorHeading,      "LK", "05"};
constexpr SepaKind kOtherDebit{
    false,  "pain.008.002.02", "CstmrDrctDbtInitn", "DD", "",  "ReqdColltnDt", "Cdtr",
    "Dbtr", "DrctDbtTxInf",    kDebtorHeading,      "LK", "05"};

struct KindByMessage {
  int message;
  const SepaKind* kind;
};
constexpr KindByMessage kKinds[] = {{170, &kCreditTransfer}, {176, &kCoreDebit}, {177, &kB2bDebit}};

}  // namespace

const SepaKind& SepaKindFor(const std::string& order_text) {
  for (const KindByMessage& entry : kKinds) {
    if (order_text == Message(entry.message)) return *entry.kind;
  }
  return kOtherDebit;
}

}  // namespace lastora::generation
