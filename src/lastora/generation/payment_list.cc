#include "generation/payment_list.h"

#include "generation/amount.h"
#include "generation/fixed_width.h"

namespace lastora::generation {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr char kDecimalComma = ',';

// Column widths; the heading's words start where their columns do.
constexpr size_t kNumberWidth = 5;
constexpr size_t kNameWidth = 31;
constexpr size_t kBicWidth = 14;
constexpr size_t kIbanWidth = 27;
constexpr size_t kAmountWidth = 12;
constexpr std::string_view kCurrency = "EUR ";
constexpr size_t kTitleWidth = 25;
constexpr size_t kRuleLength = 200;
constexpr size_t kTotalGap = 75;

}  // namespace

void PaymentList::Append(const std::string& name, const std::string& bic, const std::string& iban,
                         int64_t cents, const std::string& purpose) {
  ++count_;
  AppendRightAligned(rows_, std::to_string(count_), kNumberWidth);
  rows_ += ' ';
  AppendLeftAligned(rows_, name, kNameWidth);
  rows_ += ' ';
  AppendLeftAligned(rows_, bic, kBicWidth);
  rows_ += ' ';
  AppendLeftAligned(rows_, iban, kIbanWidth);
  rows_ += ' ';
  rows_ += kCurrency;
  AppendRightAligned(rows_, CentsText(cents, kDecimalComma), kAmountWidth);
  rows_ += ' ';
  rows_ += purpose;
  rows_ += kCrLf;
}

std::string PaymentList::Text(const SepaKind& kind, const PaymentListHeading& heading,
                              int64_t sum_cents) const {
  std::string out;
  out.reserve(rows_.size() + 1024);
  AppendLeftAligned(out, "Sammel-" + heading.order_text, kTitleWidth);
  out.append(" vom ").append(heading.today).append(" (").append(heading.message_id).append(")");
  out += kCrLf;
  AppendLeftAligned(out, "Buchung", kTitleWidth);
  out.append(" zum ").append(heading.execution_date).append(kCrLf);
  out += kCrLf;
  out += "  NR  ";
  AppendLeftAligned(out, kind.list_party, 1 + kNameWidth);
  AppendLeftAligned(out, "BIC", 1 + kBicWidth);
  AppendLeftAligned(out, "IBAN", 1 + kIbanWidth);
  AppendLeftAligned(out, "BETRAG", kCurrency.size() + kAmountWidth + 1);
  out.append("VERW.ZWECK").append(kCrLf);
  out.append(kRuleLength, '-').append(kCrLf);
  out += rows_;
  out.append("SUMME:").append(kTotalGap, ' ').append(kCurrency);
  AppendRightAligned(out, CentsText(sum_cents, kDecimalComma), kAmountWidth);
  out.append(kCrLf).append(kCrLf);
  return out;
}

}  // namespace lastora::generation
