#include "processing/collective_merge.h"

#include <array>
#include <string>

#include "component/write_log.h"
#include "lastora/payment_table.h"
#include "processing/cells.h"

namespace lastora::processing {
namespace {

constexpr std::array<int32_t, 4> kSummedColumns = {
    payment_table::kOneOff, payment_table::kBackPayment, payment_table::kCredit,
    payment_table::kContribution};

void MergeIntoNext(Table& values, int32_t row) {
  const int32_t previous = row - 1;
  if (IsBlankCell(values(row, payment_table::kAmount)))
    values(row, payment_table::kAmount) = Variant("0");
  values(row, payment_table::kMemberText) =
      Variant(CellText(values(previous, payment_table::kMemberText)) + " / " +
              CellText(values(row, payment_table::kMemberText)));
  values(previous, payment_table::kMemberText) = Variant("");
  for (int32_t column : kSummedColumns) {
    values(row, column) =
        Variant(CellNumber(values(previous, column)) + CellNumber(values(row, column)));
  }
  for (int32_t column :
       {payment_table::kOneOff, payment_table::kBackPayment, payment_table::kCredit,
        payment_table::kContribution, payment_table::kAmount, payment_table::kRemittanceLines}) {
    values(previous, column) = Variant("");
  }
}

}  // namespace

void MergeCollectivePayments(ProcessingRun& run) {
  WriteLog("11000", 1, "", "52", "", "", "");
  if (run.last_row < 1) return;
  Class1& object = run.object;
  object.strKontoVor = CellText(run.values(1, payment_table::kIban));
  for (int32_t row = 2; row <= run.last_row; ++row) {
    object.strKontoAkt = CellText(run.values(row, payment_table::kIban));
    if (!object.strKontoAkt.empty() && object.strKontoAkt == object.strKontoVor) {
      MergeIntoNext(run.values, row);
    }
    object.strKontoVor = object.strKontoAkt;
  }
}

}  // namespace lastora::processing
