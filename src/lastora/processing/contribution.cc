#include "processing/contribution.h"

#include "component/catalogue.h"
#include "component/helpers.h"
#include "component/message_ids.h"
#include "lastora/variant.h"

namespace lastora::processing {
namespace {

double FirstDayOfMonth(double date) { return MakeDate(Year(date), Month(date), 1); }
double FirstDayOfNextMonth(double date) { return MakeDate(Year(date), Month(date) + 1, 1); }
double LastDayOfMonth(double date) { return MakeDate(Year(date), Month(date) + 1, 0); }
double LastDayOfPreviousMonth(double date) { return MakeDate(Year(date), Month(date), 0); }

double AdjustedExit(double exit, const BillingWindow& window, ChangeMonthRule rule) {
  switch (rule) {
    case ChangeMonthRule::kWholeWindow:
      return window.last;
    case ChangeMonthRule::kNothing:
      return window.first;
    case ChangeMonthRule::kBillMonth:
      return LastDayOfMonth(exit);
    case ChangeMonthRule::kSkipMonth:
      break;
  }
  return LastDayOfPreviousMonth(exit);
}

double AdjustedEntry(double entry, const BillingWindow& window, ChangeMonthRule rule) {
  switch (rule) {
    case ChangeMonthRule::kWholeWindow:
      return window.first;
    case ChangeMonthRule::kNothing:
      return window.last;
    case ChangeMonthRule::kBillMonth:
      return FirstDayOfMonth(entry);
    case ChangeMonthRule::kSkipMonth:
      break;
  }
  return FirstDayOfNextMonth(entry);
}

// Nothing of the window is billed: both ends on its last day.
BilledSpan NothingBilled(const BillingWindow& window) { return {window.last, window.last}; }

BilledSpan SpanUnderRule(BilledSpan span, const BillingWindow& window, ChangeMonthRule rule) {
  if (span.exit >= window.first) {
    if (span.exit < window.last) span.exit = AdjustedExit(span.exit, window, rule);
    // Leaving in the window's first month when that month is not billed leaves nothing to bill;
    // counting from the window's start would charge a negative month.
    if (span.exit < window.first) return NothingBilled(window);
  } else {
    // Before the window yet before the entry too: an old exit of a member who joined again.
    span.exit = window.last;
  }
  if (span.entry > window.first) span.entry = AdjustedEntry(span.entry, window, rule);
  if (span.entry > span.exit) span.entry = span.exit;
  return span;
}

}  // namespace

ChangeMonthRule ChangeMonthRuleFrom(const std::string& setting) {
  if (setting == Message(msg::kWholeWindow)) return ChangeMonthRule::kWholeWindow;
  if (setting == Message(msg::kBillNothing)) return ChangeMonthRule::kNothing;
  if (setting == Message(msg::kBillChangeMonth)) return ChangeMonthRule::kBillMonth;
  return ChangeMonthRule::kSkipMonth;
}

int PeriodFactor(const std::string& cycle) {
  if (cycle == "Jahr") return 12;
  if (cycle == "Halbjahr") return 6;
  if (cycle == "Dritteljahr") return 4;
  if (cycle == "Vierteljahr") return 3;
  if (cycle == "2 Monate") return 2;
  return 1;
}

BilledSpan BilledSpanOf(std::optional<double> entry, std::optional<double> exit,
                        const BillingWindow& window, bool rule_on, ChangeMonthRule rule) {
  BilledSpan span{entry.value_or(window.first), exit.value_or(window.last)};
  if (span.exit >= window.last) span.exit = window.last;
  if (span.entry > window.last) {
    span = NothingBilled(window);
  } else if (span.exit < window.first && span.exit >= span.entry) {
    span = NothingBilled(window);  // left before the window
  } else if (!rule_on) {
    span = {window.first, window.last};
  } else {
    span = SpanUnderRule(span, window, rule);
  }
  if (span.entry < window.first) span.entry = window.first;
  return span;
}

int16_t BilledMonths(const BilledSpan& span) {
  return CInt(Variant((span.exit - span.entry) / 30));
}

double ContributionAmount(int16_t months, double contribution, int factor) {
  double amount = months * contribution / factor;
  double decimals = 2;
  return TruncateDecimals(amount, decimals);
}

}  // namespace lastora::processing
