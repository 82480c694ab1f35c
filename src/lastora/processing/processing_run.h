// What every step of the processing run works on.
#ifndef LASTORA_PROCESSING_PROCESSING_RUN_H_
#define LASTORA_PROCESSING_PROCESSING_RUN_H_

#include <cstdint>

#include "lastora/class1.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "processing/processing_options.h"
#include "processing/row_findings.h"
#include "processing/run_figures.h"

namespace lastora::processing {

// Columns of the member table.
inline constexpr int32_t kAccountColumn = 4;
inline constexpr int32_t kBicColumn = 5;
inline constexpr int32_t kPaymentIdColumn = 7;
inline constexpr int32_t kAmountColumn = 8;
inline constexpr int32_t kRemittanceLinesColumn = 9;
inline constexpr int32_t kMandateColumn = 10;
inline constexpr int32_t kSequenceTypeColumn = 12;
inline constexpr int32_t kOneOffColumn = 13;
inline constexpr int32_t kBackPaymentColumn = 14;
inline constexpr int32_t kCreditColumn = 15;
inline constexpr int32_t kContributionColumn = 16;
inline constexpr int32_t kPeriodContributionColumn = 17;
inline constexpr int32_t kEntryColumn = 18;
inline constexpr int32_t kExitColumn = 19;
inline constexpr int32_t kFirstCollectionColumn = 20;
inline constexpr int32_t kMemberNameColumn = 21;
inline constexpr int32_t kMemberTextColumn = 25;
inline constexpr int32_t kCharactersMarkColumn = 28;
inline constexpr int32_t kUmlautsMarkColumn = 29;

struct ProcessingRun {
  Class1& object;  // its public working fields hold the values of the row last handled
  SEPAVARIABLEN& settings;
  Table& values;
  Table& colours;
  ProcessingOptions options;
  RunFigures& figures;
  RowFindings findings;
  int32_t last_row;  // rows 1 to last_row are members
};

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_PROCESSING_RUN_H_
