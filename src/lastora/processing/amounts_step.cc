#include "processing/amounts_step.h"

#include <string>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "component/write_log.h"
#include "core/text.h"
#include "lastora/payment_table.h"
#include "processing/cells.h"
#include "processing/sequence_type.h"

namespace lastora::processing {
namespace {

// SepaFuncBMAX is known to be a number once the check is on; SepaFuncBMIN is read the first time
// an amount is compared with it, and fails the run there when it is not a number.
class AmountLimits {
 public:
  AmountLimits(const SEPAVARIABLEN& settings, bool on)
      : on_(on), lower_text_(settings.SepaFuncBMIN.Value) {
    if (on_) upper_ = CDbl(Variant(settings.SepaFuncBMAX.Value));
  }

  // The catalogue number of the warning an amount earns, or 0.
  int WarningFor(double amount) {
    if (!on_) return 0;
    if (amount >= upper_) return msg::kUpperAmountLimit;
    if (!lower_read_) {
      lower_ = CDbl(Variant(lower_text_));
      lower_read_ = true;
    }
    if (amount <= lower_) return msg::kLowerAmountLimit;
    return 0;
  }

 private:
  bool on_;
  double upper_ = 0;
  const std::string& lower_text_;
  bool lower_read_ = false;
  double lower_ = 0;
};

bool MergedAway(const Table& values, int32_t row) {
  for (int32_t column : {payment_table::kContribution, payment_table::kOneOff,
                         payment_table::kCredit, payment_table::kBackPayment}) {
    if (!IsBlankCell(values(row, column))) return false;
  }
  return true;
}

// A bank the payment method cannot reach: the amount is set to 0 and the former one kept in the
// message. Returns true when the row was rejected.
bool RejectedBank(ProcessingRun& run, int32_t row) {
  Table& values = run.values;
  int32_t column = 0;
  int message = 0;
  if (run.options.dtaus && !CellText(values(row, payment_table::kIban)).starts_with("DE")) {
    column = payment_table::kIban;
    message = msg::kNotGermanAmountZeroed;
  } else if (run.options.sepa && IsBlankCell(values(row, payment_table::kBic))) {
    column = payment_table::kBic;
    message = msg::kNoBicAmountZeroed;
  } else {
    return false;
  }
  run.findings.Error(row, column, Message(message) + CellText(values(row, payment_table::kAmount)));
  values(row, payment_table::kAmount) = Variant(int16_t{0});
  run.findings.Colour(row, payment_table::kAmount, payment_table::kErrorColour);
  return true;
}

double RowAmount(const ProcessingRun& run, int32_t row) {
  const Table& values = run.values;
  if (run.options.credit_transfer) return CellNumber(values(row, payment_table::kCredit));
  return CellNumber(values(row, payment_table::kContribution)) +
         CellNumber(values(row, payment_table::kOneOff)) -
         CellNumber(values(row, payment_table::kCredit)) +
         CellNumber(values(row, payment_table::kBackPayment));
}

void SettleRow(ProcessingRun& run, AmountLimits& limits, int32_t row) {
  Table& values = run.values;
  values(row, payment_table::kSequenceType) = Variant("");
  if (MergedAway(values, row)) return;
  if (IsBlankCell(values(row, payment_table::kIban))) {
    values(row, payment_table::kAmount) = Variant("");
    return;
  }
  if (RejectedBank(run, row)) return;
  if (IsBlankCell(values(row, payment_table::kMemberText))) {
    values(row, payment_table::kMemberText) = values(row, payment_table::kMemberName);
  }
  const double amount = RowAmount(run, row);
  run.object.dblBetrag = amount;
  values(row, payment_table::kAmount) = Variant(amount);
  if (amount >= 0) {
    if (const int warning = limits.WarningFor(amount); warning != 0) {
      run.findings.Warning(row, payment_table::kAmount, Message(warning));
    }
  } else {
    run.findings.Error(row, payment_table::kAmount, Message(msg::kAmountBelowZero));
  }
  if (amount <= 0) return;
  const SequenceChoice choice =
      ChooseSequenceType(run.options, run.settings.SepaLART.Value,
                         values(row, payment_table::kFirstCollection), run.object.datZeitFirst);
  if (!choice.type.empty()) values(row, payment_table::kSequenceType) = Variant(choice.type);
  run.figures.CountPayment(choice.second_file, amount);
}

}  // namespace

void SettleAmounts(ProcessingRun& run) {
  WriteLog("11000", 1, "", "54", "", "", "");
  run.object.boolWarnung = OptionOn(run.settings.SepaFuncWARN.Value) &&
                           IsNumeric(Variant(run.settings.SepaFuncBMAX.Value));
  AmountLimits limits(run.settings, run.object.boolWarnung);
  for (int32_t row = run.last_row; row >= 1; --row) SettleRow(run, limits, row);
}

}  // namespace lastora::processing
