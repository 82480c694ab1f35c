#include "processing/remittance_step.h"

#include <algorithm>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/text.h"
#include "lastora/payment_table.h"
#include "processing/cells.h"
#include "processing/mandate_register.h"

namespace lastora::processing {
namespace {

bool HasAmount(const Variant& amount) { return CellNumber(amount) != 0; }

void CheckMandate(ProcessingRun& run, MandateRegister& mandates, int32_t row) {
  run.object.strMandID = text::Trim(CellText(run.values(row, payment_table::kMandateId)));
  switch (mandates.Record(run.object.strMandID)) {
    case MandateFinding::kNone:
      break;
    case MandateFinding::kMissing:
      run.findings.Error(row, payment_table::kMandateId, Message(msg::kMandateMissing));
      break;
    case MandateFinding::kDuplicate:
      run.findings.Error(row, payment_table::kMandateId, Message(msg::kMandateDuplicate));
      break;
  }
}

}  // namespace

void BuildRemittanceAndCheckMandates(ProcessingRun& run, const RemittanceLayout& layout) {
  Table& values = run.values;
  MandateRegister mandates(run.object.mandate_references(),
                           static_cast<size_t>(std::max(run.last_row, 0)));
  for (int32_t row = 1; row <= run.last_row; ++row) {
    if (!HasAmount(values(row, payment_table::kAmount))) {
      values(row, payment_table::kRemittanceLines) = Variant("");
      continue;
    }
    std::string payment_id, mandate, member_text;  // conversions of cells that hold no text
    std::string lines = BuildRemittanceLines(
        layout, {CellTextView(values(row, payment_table::kPaymentId), payment_id),
                 CellTextView(values(row, payment_table::kMandateId), mandate),
                 CellTextView(values(row, payment_table::kMemberText), member_text)});
    const bool too_long = RemittanceTooLong(lines, run.options.dtaus);
    values(row, payment_table::kRemittanceLines) = Variant(std::move(lines));
    if (too_long)
      run.findings.Warning(row, payment_table::kRemittanceLines, Message(msg::kRemittanceTooLong));
    CheckMandate(run, mandates, row);
  }
}

}  // namespace lastora::processing
