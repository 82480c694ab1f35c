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
