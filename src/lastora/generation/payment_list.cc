#include "generation/payment_list.h"

#include <algorithm>

#include "core/cents.h"
#include "core/text.h"
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
// A row with a long purpose column; unused room is never mapped.
constexpr size_t kRowSizeHint = 256;
// Rows held in memory before they move to the spill file.
constexpr size_t kSpillAt = size_t{4} << 20;

std::string Heading(const SepaKind& kind, const PaymentListHeading& heading) {
  std::string head;
  text::AppendPadRight(head, "Sammel-" + heading.order_text, kTitleWidth);
  head.append(" vom ").append(heading.today).append(" (").append(heading.message_id).append(")");
  head += kCrLf;
  text::AppendPadRight(head, "Buchung", kTitleWidth);
  head.append(" zum ").append(heading.execution_date).append(kCrLf);
  head += kCrLf;
  head += "  NR  ";
  text::AppendPadRight(head, kind.list_party, 1 + kNameWidth);
  text::AppendPadRight(head, "BIC", 1 + kBicWidth);
  text::AppendPadRight(head, "IBAN", 1 + kIbanWidth);
  text::AppendPadRight(head, "BETRAG", kCurrency.size() + kAmountWidth + 1);
  head.append("VERW.ZWECK").append(kCrLf);
  head.append(kRuleLength, '-').append(kCrLf);
  return head;
}

std::string Total(int64_t sum_cents) {
  std::string total = "SUMME:";
  total.append(kTotalGap, ' ').append(kCurrency);
  AppendRightAligned(total, money::CentsText(sum_cents, kDecimalComma), kAmountWidth);
  total.append(kCrLf).append(kCrLf);
  return total;
}

}  // namespace

PaymentList::PaymentList(size_t expected_payments) {
  rows_.reserve(std::min(expected_payments * kRowSizeHint, kSpillAt + kRowSizeHint));
}

void PaymentList::Append(std::string_view name, std::string_view bic, std::string_view iban,
                         int64_t cents, std::string_view purpose) {
  ++count_;
  row_.clear();
  AppendRightAligned(row_, std::to_string(count_), kNumberWidth);
  row_ += ' ';
  text::AppendPadRight(row_, name, kNameWidth);
  row_ += ' ';
  text::AppendPadRight(row_, bic, kBicWidth);
  row_ += ' ';
  text::AppendPadRight(row_, iban, kIbanWidth);
  row_ += ' ';
  row_ += kCurrency;
  AppendRightAligned(row_, money::CentsText(cents, kDecimalComma), kAmountWidth);
  row_ += ' ';
  row_ += purpose;
  row_ += kCrLf;
  text::AppendWindows1252(rows_, row_);
  if (rows_.size() >= kSpillAt) spilled_.Take(rows_);
}

void PaymentList::Write(const SepaKind& kind, const PaymentListHeading& heading, int64_t sum_cents,
                        const TextSink& sink) const {
  sink(text::ToWindows1252(Heading(kind, heading)));
  spilled_.Replay(sink);
  sink(rows_);
  sink(Total(sum_cents));
}

}  // namespace lastora::generation
