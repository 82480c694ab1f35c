// Cleans the text columns of the member table of umlauts and of characters a bank file cannot
// carry.
#ifndef LASTORA_PROCESSING_CHARACTER_CLEANING_H_
#define LASTORA_PROCESSING_CHARACTER_CLEANING_H_

#include "processing/processing_run.h"

namespace lastora::processing {

// Columns 1 to 5, 7 to 11 and 21, column by column. A replaced umlaut colours the cell 16 and
// marks column 29; another replaced character colours it 45 and marks column 28.
void CleanCharacters(ProcessingRun& run);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_CHARACTER_CLEANING_H_
