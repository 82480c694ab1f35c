// Merges consecutive rows that pay from one account into the last row of the run, so the account
// is debited once.
#ifndef LASTORA_PROCESSING_COLLECTIVE_MERGE_H_
#define LASTORA_PROCESSING_COLLECTIVE_MERGE_H_

#include "processing/processing_run.h"

namespace lastora::processing {

// Only neighbours merge: the table's order is the caller's, and a run of rows with one account
// ends up in its last row, its remittance texts joined by " / ".
void MergeCollectivePayments(ProcessingRun& run);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_COLLECTIVE_MERGE_H_
