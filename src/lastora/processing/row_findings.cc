#include "processing/row_findings.h"

#include "lastora/payment_table.h"
#include "processing/cells.h"

namespace lastora::processing {

void RowFindings::Colour(int32_t row, int32_t column, int32_t colour) {
  colours_(row, column) = Variant(colour);
}

void RowFindings::Error(int32_t row, int32_t column, const std::string& message) {
  Colour(row, column, payment_table::kErrorColour);
  figures_.errors.Add(1);
  AppendRowMessage(values_(row, payment_table::kErrors), message);
}

void RowFindings::Warning(int32_t row, int32_t column, const std::string& message) {
  Colour(row, column, payment_table::kWarningColour);
  figures_.warnings.Add(1);
  AppendRowMessage(values_(row, payment_table::kWarnings), message);
}

}  // namespace lastora::processing
