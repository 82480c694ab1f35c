#include "all_steps.h"

#include "summary.h"

namespace lastora::cli {

bool RunAllSteps(Workbook& workbook, const AllSteps& steps, const std::string& table_path,
                 std::ostream& out) {
  const StepsRun run = workbook.RunAll(steps);
  PrintImport(out, workbook.record());
  if (run.imported) PrintProcessing(out, workbook.record());
  if (run.processed) PrintWithoutAccount(out, workbook.payments().values);
  if (run.generating && run.processed) PrintGeneration(out, workbook.record());
  PrintNotices(out, workbook.notices());
  PrintWarnings(out, workbook.warnings());
  std::vector<std::string> files = workbook.written_files();
  if (run.processed && !table_path.empty()) {
    workbook.WritePayments(table_path);
    files.push_back(table_path);
  }
  PrintFiles(out, "Geschrieben", files);
  return run.ok();
}

}  // namespace lastora::cli
