#include "all_steps.h"

#include "summary.h"

namespace lastora::cli {

bool RunAllSteps(Workbook& workbook, const AllSteps& steps, std::ostream& out) {
  const bool imported = workbook.Import(steps.members);
  PrintImport(out, workbook.record());
  const bool processed = imported && workbook.Process();
  if (imported) PrintProcessing(out, workbook.record());
  const bool generating = !steps.out_dir.empty();
  const bool generated = generating && processed && workbook.Generate(steps.out_dir, steps.dtaus);
  if (generating && processed) PrintGeneration(out, workbook.record());
  if (generating) workbook.RecordAllSteps();
  PrintNotices(out, workbook.notices());
  std::vector<std::string> files = workbook.written_files();
  if (processed && !steps.table_path.empty()) {
    WriteTableFile(steps.table_path, workbook.payments(), PaymentHeader());
    files.push_back(steps.table_path);
  }
  PrintFiles(out, "Geschrieben", files);
  return generating ? generated : processed;
}

}  // namespace lastora::cli
