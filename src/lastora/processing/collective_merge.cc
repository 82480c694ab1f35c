#include "processing/collective_merge.h"

#include <array>
#include <string>

#include "component/write_log.h"
#include "processing/cells.h"

namespace lastora::processing {
namespace {

constexpr std::array<int32_t, 4> kSummedColumns = {kOneOffColumn, kBackPaymentColumn, kCreditColumn,
                                                   kContributionColumn};

void MergeIntoNext(Table& values, int32_t row) {
  const int32_t previous = row - 1;
  if (IsBlankCell(values(row, kAmountColumn))) values(row, kAmountColumn) = Variant("0");
  values(row, kMemberTextColumn) = Variant(CellText(values(previous, kMemberTextColumn)) + " / " +
                                           CellText(values(row, kMemberTextColumn)));
  values(previous, kMemberTextColumn) = Variant("");
  for (int32_t column : kSummedColumns) {
    values(row, column) =
        Variant(CellNumber(values(previous, column)) + CellNumber(values(row, column)));
  }
  for (int32_t column : {kOneOffColumn, kBackPaymentColumn, kCreditColumn, kContributionColumn,
                         kAmountColumn, kRemittanceLinesColumn}) {
    values(previous, column) = Variant("");
  }
}

}  // namespace

void MergeCollectivePayments(ProcessingRun& run) {
  WriteLog("11000", 1, "", "52", "", "", "");
  if (run.last_row < 1) return;
  Class1& object = run.object;
  object.strKontoVor = CellText(run.values(1, kAccountColumn));
  for (int32_t row = 2; row <= run.last_row; ++row) {
    object.strKontoAkt = CellText(run.values(row, kAccountColumn));
    if (!object.strKontoAkt.empty() && object.strKontoAkt == object.strKontoVor) {
      MergeIntoNext(run.values, row);
    }
    object.strKontoVor = object.strKontoAkt;
  }
}

}  // namespace lastora::processing
