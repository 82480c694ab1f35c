#include "processing/amounts_step.h"

#include <string>

#include "component/catalogue.h"
#include "component/write_log.h"
#include "core/text.h"
#include "processing/cells.h"
#include "processing/sequence_type.h"

namespace lastora::processing {
namespace {

constexpr int kMessageNoBic = 66;
constexpr int kMessageNotGerman = 67;
constexpr int kMessageBelowZero = 135;
constexpr int kMessageUpperLimit = 136;
constexpr int kMessageLowerLimit = 137;

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
    if (amount >= upper_) return kMessageUpperLimit;
    if (!lower_read_) {
      lower_ = CDbl(Variant(lower_text_));
      lower_read_ = true;
    }
    if (amount <= lower_) return kMessageLowerLimit;
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
  for (int32_t column : {kContributionColumn, kOneOffColumn, kCreditColumn, kBackPaymentColumn}) {
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
  if (run.options.dtaus && !CellText(values(row, kAccountColumn)).starts_with("DE")) {
    column = kAccountColumn;
    message = kMessageNotGerman;
  } else if (run.options.sepa && IsBlankCell(values(row, kBicColumn))) {
    column = kBicColumn;
    message = kMessageNoBic;
  } else {
    return false;
  }
  run.findings.Error(row, column, Message(message) + CellText(values(row, kAmountColumn)));
  values(row, kAmountColumn) = Variant(int16_t{0});
  run.findings.Colour(row, kAmountColumn, kColourError);
  return true;
}

double RowAmount(const ProcessingRun& run, int32_t row) {
  const Table& values = run.values;
  if (run.options.credit_transfer) return CellNumber(values(row, kCreditColumn));
  return CellNumber(values(row, kContributionColumn)) + CellNumber(values(row, kOneOffColumn)) -
         CellNumber(values(row, kCreditColumn)) + CellNumber(values(row, kBackPaymentColumn));
}

void SettleRow(ProcessingRun& run, AmountLimits& limits, int32_t row) {
  Table& values = run.values;
  values(row, kSequenceTypeColumn) = Variant("");
  if (MergedAway(values, row)) return;
  if (IsBlankCell(values(row, kAccountColumn))) {
    values(row, kAmountColumn) = Variant("");
    return;
  }
  if (RejectedBank(run, row)) return;
  if (IsBlankCell(values(row, kMemberTextColumn))) {
    values(row, kMemberTextColumn) = values(row, kMemberNameColumn);
  }
  const double amount = RowAmount(run, row);
  run.object.dblBetrag = amount;
  values(row, kAmountColumn) = Variant(amount);
  if (amount >= 0) {
    if (const int warning = limits.WarningFor(amount); warning != 0) {
      run.findings.Warning(row, kAmountColumn, Message(warning));
    }
  } else {
    run.findings.Error(row, kAmountColumn, Message(kMessageBelowZero));
  }
  if (amount <= 0) return;
  const SequenceChoice choice =
      ChooseSequenceType(run.options, run.settings.SepaLART.Value,
                         values(row, kFirstCollectionColumn), run.object.datZeitFirst);
  if (!choice.type.empty()) values(row, kSequenceTypeColumn) = Variant(choice.type);
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
