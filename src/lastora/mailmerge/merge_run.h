// The mail-merge run: letters and labels for the selected members, printed, saved and queued
// for e-mail.
#ifndef LASTORA_MAILMERGE_MERGE_RUN_H_
#define LASTORA_MAILMERGE_MERGE_RUN_H_

#include <cstdint>
#include <string>

#include "lastora/table.h"

namespace lastora {

struct MergeRequest {
  int32_t definition_set = 0;  // numbers the e-mail job files
  const Table& records;
  const Table& header;
  Table& definitions;          // the run writes columns 5 and 21 to 24 back
  int16_t definition_row = 0;  // 0: every row
  int32_t record_row = 0;      // above 0: this record alone
  int32_t picture_left = 0;
  int32_t picture_top = 0;
  bool no_print = false;
  bool blank_forms = false;
};

// Runs the merge through the process-wide office and returns the result text.
std::string RunMailMerge(const MergeRequest& request);

}  // namespace lastora

#endif  // LASTORA_MAILMERGE_MERGE_RUN_H_
