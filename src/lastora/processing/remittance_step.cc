#include "processing/remittance_step.h"

#include <algorithm>

#include "component/catalogue.h"
#include "core/text.h"
#include "processing/cells.h"
#include "processing/mandate_register.h"

namespace lastora::processing {
namespace {

constexpr int kMessageTooLong = 131;
constexpr int kMessageMandateMissing = 132;
constexpr int kMessageMandateDuplicate = 133;

bool HasAmount(const Variant& amount) { return CellNumber(amount) != 0; }

void CheckMandate(ProcessingRun& run, MandateRegister& mandates, int32_t row) {
  run.object.strMandID = text::Trim(CellText(run.values(row, kMandateColumn)));
  switch (mandates.Record(run.object.strMandID)) {
    case MandateFinding::kNone:
      break;
    case MandateFinding::kMissing:
      run.findings.Error(row, kMandateColumn, Message(kMessageMandateMissing));
      break;
    case MandateFinding::kDuplicate:
      run.findings.Error(row, kMandateColumn, Message(kMessageMandateDuplicate));
      break;
  }
}

}  // namespace

void BuildRemittanceAndCheckMandates(ProcessingRun& run, const RemittanceLayout& layout) {
  Table& values = run.values;
  MandateRegister mandates(run.object.mandate_references(),
                           static_cast<size_t>(std::max(run.last_row, 0)));
  for (int32_t row = 1; row <= run.last_row; ++row) {
    if (!HasAmount(values(row, kAmountColumn))) {
      values(row, kRemittanceLinesColumn) = Variant("");
      continue;
    }
    std::string payment_id, mandate, member_text;  // conversions of cells that hold no text
    std::string lines =
        BuildRemittanceLines(layout, {CellTextView(values(row, kPaymentIdColumn), payment_id),
                                      CellTextView(values(row, kMandateColumn), mandate),
                                      CellTextView(values(row, kMemberTextColumn), member_text)});
    const bool too_long = RemittanceTooLong(lines, run.options.dtaus);
    values(row, kRemittanceLinesColumn) = Variant(std::move(lines));
    if (too_long) run.findings.Warning(row, kRemittanceLinesColumn, Message(kMessageTooLong));
    CheckMandate(run, mandates, row);
  }
}

}  // namespace lastora::processing
