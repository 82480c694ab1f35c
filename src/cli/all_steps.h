// The all-steps run (import, processing, numbering, generation) with its summary, shared by
// `run` and `demo`.
#ifndef LASTORA_CLI_ALL_STEPS_H_
#define LASTORA_CLI_ALL_STEPS_H_

#include <ostream>
#include <string>

#include "workbook.h"

namespace lastora::cli {

struct AllSteps {
  std::string members;  // empty: Import__FILE
  std::string out_dir;  // empty: stop after the processing run
  bool dtaus = false;
  std::string table_path;  // where the payment table goes; empty: nowhere
};

// Runs the steps until one does not end "ok" (a run that failed halfway leaves a table that
// must not replace a good one) and prints what each did and the files written. The
// payment table is written only when the processing run completed. Returns whether every step
// ended "ok".
bool RunAllSteps(Workbook& workbook, const AllSteps& steps, std::ostream& out);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_ALL_STEPS_H_
