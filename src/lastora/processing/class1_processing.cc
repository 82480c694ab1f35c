// Class1's processing run: the caller's member table becomes payment rows.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "component/catalogue.h"
#include "component/helpers.h"
#include "component/message_ids.h"
#include "component/run_frame.h"
#include "lastora/class1.h"
#include "lastora/payment_table.h"
#include "processing/amounts_step.h"
#include "processing/character_cleaning.h"
#include "processing/collective_merge.h"
#include "processing/contribution_step.h"
#include "processing/processing_run.h"
#include "processing/remittance_lines.h"
#include "processing/remittance_step.h"
#include "processing/remittance_template.h"

namespace lastora {
namespace {

void ResetRunColumns(processing::ProcessingRun& run) {
  for (int32_t row = 1; row <= run.last_row; ++row) {
    run.values(row, payment_table::kPaymentId) = Variant("");
    run.values(row, payment_table::kMemberText) = Variant("");
    run.values(row, payment_table::kContribution) = Variant(int16_t{0});
  }
}

RunEnd ProcessMemberTable(Class1& object, RunContext& context, Table& values, Table& colours) {
  SEPAVARIABLEN& settings = context.settings;
  processing::RunFigures figures(settings);
  processing::ProcessingRun run{object,
                                settings,
                                values,
                                colours,
                                processing::ReadProcessingOptions(settings),
                                figures,
                                processing::RowFindings(values, colours, figures),
                                values.RowUpper()};
  figures.ResetFileFigures();
  ResetRunColumns(run);

  std::optional<std::vector<std::string>> template_lines;
  if (run.options.uses_template) {
    const std::string& file_name = settings.SepaFuncVERP.Value;
    if (!CheckPathAndFile(file_name, "", "")) {
      context.result = Message(msg::kFileMissing) + file_name;
      return RunEnd::kStopped;
    }
    template_lines = processing::ReadRemittanceTemplate(file_name, settings.KreditorID__.Value);
  }

  processing::CleanCharacters(run);
  processing::ComputeContributions(run);
  if (processing::OptionOn(settings.SepaFuncCOLL.Value)) {
    processing::MergeCollectivePayments(run);
  }
  processing::SettleAmounts(run);
  processing::BuildRemittanceAndCheckMandates(
      run, processing::ReadRemittanceLayout(settings, run.options, std::move(template_lines)));
  return RunEnd::kFinished;
}

}  // namespace

std::string Class1::ext_SEPA_Bearbeitung(VariantArray& aVariablen, Table& aZielValues,
                                         Table& aZielColors) {
  SEPAVARIABLEN fresh;
  return RunInFrame("Exit", FinishRule::kOk, aVariablen, fresh, [&](RunContext& context) {
    return ProcessMemberTable(*this, context, aZielValues, aZielColors);
  });
}

}  // namespace lastora
