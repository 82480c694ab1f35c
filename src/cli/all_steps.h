// The all-steps run (import, processing, numbering, generation) with its summary, shared by
// `run` and `demo`.
#ifndef LASTORA_CLI_ALL_STEPS_H_
#define LASTORA_CLI_ALL_STEPS_H_

#include <lastora/workbook.h>

#include <ostream>
#include <string>

namespace lastora::cli {

// Runs the steps and prints what each did and the files written. The payment table goes to
// table_path (empty: nowhere) only when the processing run completed: a run that failed halfway
// leaves a table that must not replace a good one. Returns whether every step ended "ok".
bool RunAllSteps(Workbook& workbook, const AllSteps& steps, const std::string& table_path,
                 std::ostream& out);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_ALL_STEPS_H_
