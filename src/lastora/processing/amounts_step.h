// The amount of every row, the checks on it, and its sequence type.
#ifndef LASTORA_PROCESSING_AMOUNTS_STEP_H_
#define LASTORA_PROCESSING_AMOUNTS_STEP_H_

#include "processing/processing_run.h"

namespace lastora::processing {

// From the last row to the first: rows merged away and rows without an account get no amount; a
// foreign account (DTAUS) or a missing BIC (SEPA) sets it to 0 as an error; otherwise the amount
// is the contribution plus one-off and back payment minus credit (the credit alone for credit
// transfers), checked against the limits and counted into its file.
void SettleAmounts(ProcessingRun& run);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_AMOUNTS_STEP_H_
