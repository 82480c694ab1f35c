// A member's contribution for the billing window: which span of the window is billed, how many
// months that is, and what the member pays for them.
#ifndef LASTORA_PROCESSING_CONTRIBUTION_H_
#define LASTORA_PROCESSING_CONTRIBUTION_H_

#include <cstdint>
#include <optional>
#include <string>

namespace lastora::processing {

// Dates are date serials (days since 1899-12-30).
struct BillingWindow {
  double first = 0;
  double last = 0;
};

// How the month of an entry or exit inside the window is billed (SepaFuncAZYK).
enum class ChangeMonthRule {
  kWholeWindow,  // "Vollen Zeitrahmen abrechnen"
  kNothing,      // "Nichts abrechnen"
  kBillMonth,    // "Wechselmonat abrechnen"
  kSkipMonth,    // "Wechselmonat nicht abrechnen", and any other text
};

ChangeMonthRule ChangeMonthRuleFrom(const std::string& setting);

// Months per contribution period (SepaCYCL): "Jahr" 12, "Halbjahr" 6, "Dritteljahr" 4,
// "Vierteljahr" 3, "2 Monate" 2, anything else 1.
int PeriodFactor(const std::string& cycle);

struct BilledSpan {
  double entry = 0;
  double exit = 0;
};

// The part of the window a member pays for. Without a date the member belongs to the window from
// its start or to its end. `rule_on` false bills the whole window whatever the dates inside it.
BilledSpan BilledSpanOf(std::optional<double> entry, std::optional<double> exit,
                        const BillingWindow& window, bool rule_on, ChangeMonthRule rule);

// Days / 30, rounded half to even (15 days are 0 months, 45 days 2).
int16_t BilledMonths(const BilledSpan& span);

// months x contribution / factor, cut (not rounded) to whole cents.
double ContributionAmount(int16_t months, double contribution, int factor);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_CONTRIBUTION_H_
