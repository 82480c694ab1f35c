// The last step of the processing run: remittance lines and mandate checks of every paying row.
#ifndef LASTORA_PROCESSING_REMITTANCE_STEP_H_
#define LASTORA_PROCESSING_REMITTANCE_STEP_H_

#include "processing/processing_run.h"
#include "processing/remittance_lines.h"

namespace lastora::processing {

// Rows with an amount other than 0 (negative ones included) get their lines in column 9, a
// warning when the lines are too long, and an error when their mandate reference is missing or
// repeats one of an earlier row. Other rows get an empty column 9.
void BuildRemittanceAndCheckMandates(ProcessingRun& run, const RemittanceLayout& layout);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_REMITTANCE_STEP_H_
