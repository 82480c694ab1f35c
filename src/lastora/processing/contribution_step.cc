#include "processing/contribution_step.h"

#include <optional>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "component/write_log.h"
#include "core/text.h"
#include "lastora/payment_table.h"
#include "lastora/vb_error.h"
#include "processing/cells.h"
#include "processing/contribution.h"

namespace lastora::processing {
namespace {

struct ContributionSettings {
  BillingWindow window;
  int factor = 1;
  bool rule_on = false;
  ChangeMonthRule rule = ChangeMonthRule::kSkipMonth;
};

// A column mapping is in use when the caller gave it a column number.
bool ColumnMapped(const std::string& setting) {
  return IsNumeric(Variant(setting)) && setting != "0";
}

ContributionSettings ReadContributionSettings(const SEPAVARIABLEN& settings) {
  ContributionSettings read;
  read.window = {CDate(Variant(settings.SepaDAT1.Value)), CDate(Variant(settings.SepaDAT2.Value))};
  read.factor = PeriodFactor(settings.SepaCYCL.Value);
  read.rule_on =
      OptionOn(settings.SepaFuncMONT.Value) && ColumnMapped(settings.Import__MONB.Value) &&
      ColumnMapped(settings.Import__EINT.Value) && ColumnMapped(settings.Import__AUST.Value) &&
      settings.SepaAART.Value != Message(msg::kCreditTransfer);
  read.rule = ChangeMonthRuleFrom(settings.SepaFuncAZYK.Value);
  return read;
}

std::optional<double> DateInCell(const Variant& cell) {
  if (IsBlankCell(cell)) return std::nullopt;
  return CDate(cell);
}

// `value` padded with blanks and cut to `width`, or to what is left beside the amount.
std::string FixedWidthText(const Variant& value, const std::string* amount_text, int32_t width) {
  std::string storage;
  const std::string_view text = CellTextView(value, storage);
  std::string fitted;
  if (amount_text == nullptr) {
    text::AppendPadRight(fitted, text, static_cast<size_t>(width));
    return fitted;
  }
  const auto text_width = width - 1 - static_cast<int32_t>(text::Length(*amount_text));
  if (text_width < 0) throw VbError(5);  // an amount wider than the line
  text::AppendPadRight(fitted, text, static_cast<size_t>(text_width));
  fitted += ' ';
  fitted += *amount_text;
  return fitted;
}

void ComputeRow(ProcessingRun& run, const ContributionSettings& contribution, int32_t row) {
  const double per_period = CellNumber(run.values(row, payment_table::kPeriodContribution));
  if (per_period <= 0) return;
  Class1& object = run.object;
  const BilledSpan span =
      BilledSpanOf(DateInCell(run.values(row, payment_table::kEntryDate)),
                   DateInCell(run.values(row, payment_table::kExitDate)), contribution.window,
                   contribution.rule_on, contribution.rule);
  object.datEintritt = span.entry;
  object.datAustritt = span.exit;
  object.intAnzMonate = BilledMonths(span);
  object.dblBetrag = ContributionAmount(object.intAnzMonate, per_period, contribution.factor);
  run.values(row, payment_table::kContribution) = Variant(object.dblBetrag);
  run.values(row, payment_table::kAmount) = Variant(object.dblBetrag);
  object.strBetrag = Format(run.values(row, payment_table::kAmount), "0.00");
  run.values(row, payment_table::kMemberText) = Variant(MemberRemittanceText(
      run.settings.SepaFuncVER3.Value, run.values(row, payment_table::kMemberName),
      run.values(row, payment_table::kMandateId), object.strBetrag, run.options.line_width));
}

}  // namespace

std::string MemberRemittanceText(const std::string& kind, const Variant& member_name,
                                 const Variant& mandate_reference, const std::string& amount_text,
                                 int32_t width) {
  if (kind == "Mitgliedsname") return FixedWidthText(member_name, nullptr, width);
  if (kind == "Mitgliedsname und Einzelbetrag") {
    return FixedWidthText(member_name, &amount_text, width);
  }
  if (kind == "Mandat-ID") return FixedWidthText(mandate_reference, nullptr, width);
  if (kind == "Mandat-ID und Einzelbetrag") {
    return FixedWidthText(mandate_reference, &amount_text, width);
  }
  return std::string();
}

void ComputeContributions(ProcessingRun& run) {
  WriteLog("11000", 1, "", "51", "", "", "");
  const ContributionSettings contribution = ReadContributionSettings(run.settings);
  run.object.datZeitFirst = contribution.window.first;
  run.object.datZeitLast = contribution.window.last;
  for (int32_t row = 1; row <= run.last_row; ++row) ComputeRow(run, contribution, row);
}

}  // namespace lastora::processing
