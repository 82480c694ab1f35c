// The workbook's steps with the mandate register: first-debit dates and findings for the
// processing run, used identifiers before a generation, the run's record after it.
#include <array>
#include <filesystem>
#include <string>

#include "core/cents.h"
#include "core/number_text.h"
#include "core/text.h"
#include "generation/sepa_kind.h"
#include "lastora/payment_table.h"
#include "lastora/platform.h"
#include "lastora/workbook.h"
#include "lastora/workbook_error.h"

namespace lastora {
namespace {

namespace column = payment_table;
using mandate_register::Collection;
using mandate_register::RegisterError;
using mandate_register::RunFile;

using Setting = SEPAVALUES SEPAVARIABLEN::*;

// The two files of a run, as the settings name them and the processing run counts them.
struct FileSettings {
  Setting message_id;
  Setting payment_information_id;
  Setting file_name;
  Setting processed_count;
  Setting processed_sum;
};
constexpr std::array<FileSettings, 2> kFiles = {{
    {&SEPAVARIABLEN::SepaFMI1, &SEPAVARIABLEN::SepaFPI1, &SEPAVARIABLEN::ProgErzeFil1,
     &SEPAVARIABLEN::ProgBearDAN1, &SEPAVARIABLEN::ProgBearDSU1},
    {&SEPAVARIABLEN::SepaFMI2, &SEPAVARIABLEN::SepaFPI2, &SEPAVARIABLEN::ProgErzeFil2,
     &SEPAVARIABLEN::ProgBearDAN2, &SEPAVARIABLEN::ProgBearDSU2},
}};

// A text cell, as nearly all are, is trimmed in place: a run reads six cells of every row.
std::string CellString(const Variant& cell) {
  if (cell.IsString()) return text::Trim(cell.AsString());
  return cell.IsEmpty() || cell.IsNull() ? std::string() : text::Trim(CStr(cell));
}

// A text amount is read once, not once to ask and once to convert.
double CellAmount(const Variant& cell) {
  if (!cell.IsString()) return IsNumeric(cell) ? CDbl(cell) : 0;
  double amount = 0;
  return detail::ParseNumberText(cell.AsString(), &amount) == detail::NumberTextResult::kNumber
             ? amount
             : 0;
}

bool NamesNothing(const std::string& id) { return id.empty() || id == "-"; }

// Which file a row goes into (0 or 1), as the generation sorts them; -1 for none.
int FileOfRow(const Table& values, int32_t row, bool credit_transfer, int first_file) {
  if (CellAmount(values(row, column::kAmount)) <= 0) return -1;
  if (credit_transfer) return first_file;
  const std::string sequence = CellString(values(row, column::kSequenceType));
  if (sequence.empty()) return -1;
  if (sequence == "FRST") return 0;
  if (sequence == "RCUR") return 1;
  return first_file;
}

// The identifiers (already derived) of the files a generation from this table would write:
// those of the files that some row goes into.
std::vector<RunFile> FilesAhead(const SEPAVARIABLEN& record, const Table& values) {
  std::array<bool, 2> runs{}, used{};
  int first_file = -1;
  for (size_t f = 0; f < kFiles.size(); ++f) {
    runs[f] = !NamesNothing(text::Trim((record.*kFiles[f].message_id).Value)) &&
              !NamesNothing(text::Trim((record.*kFiles[f].payment_information_id).Value));
    if (runs[f] && first_file < 0) first_file = static_cast<int>(f);
  }
  const bool credit_transfer = generation::SepaKindFor(record.SepaAART.Value).credit_transfer;
  for (int32_t row = 1; values.IsAllocated() && row <= values.RowUpper(); ++row) {
    const int file = FileOfRow(values, row, credit_transfer, first_file);
    if (file >= 0) used[static_cast<size_t>(file)] = true;
  }
  std::vector<RunFile> files;
  for (size_t f = 0; f < kFiles.size(); ++f) {
    if (!runs[f] || !used[f]) continue;
    files.push_back({"", (record.*kFiles[f].message_id).Value,
                     (record.*kFiles[f].payment_information_id).Value, 0, 0});
  }
  return files;
}

std::string IsoDay(double serial) { return Format(Variant::Date(serial), "YYYY-MM-DD"); }

// Names the first few mandates; a treasurer looks them up before deciding.
// planned[i] is the collection of row rows[i].
std::string RepeatText(const Table& values, const std::vector<int32_t>& rows,
                       const std::vector<std::string>& planned,
                       const std::vector<mandate_register::Repeat>& repeats, const std::string& day,
                       bool allowed) {
  constexpr size_t kNamed = 3;
  const mandate_register::Repeat& first = repeats.front();
  std::string text = "Mandatsregister: " + std::to_string(repeats.size()) +
                     (repeats.size() == 1 ? " Mandat wurde" : " Mandate wurden") + " am " + day +
                     " schon abgebucht (Lauf " + std::to_string(first.run_id) + " vom " +
                     first.recorded_at + "): ";
  for (size_t i = 0; i < repeats.size() && i < kNamed; ++i) {
    const std::string name = CellString(values(rows[repeats[i].index], column::kName));
    text +=
        (i == 0 ? "" : ", ") + planned[repeats[i].index] + (name.empty() ? "" : " (" + name + ")");
  }
  if (repeats.size() > kNamed)
    text += " und " + std::to_string(repeats.size() - kNamed) + " weitere";
  return text + (allowed ? "; sie werden auf Wunsch ein zweites Mal abgebucht"
                         : "; keine Datei geschrieben, damit niemand doppelt belastet wird");
}

Collection CollectionOfRow(const Table& values, int32_t row, const std::string& day) {
  const Variant& signed_on = values(row, column::kMandateDate);
  // A date in text form goes as it stands: the register reads each distinct text once.
  std::optional<std::string> signature;
  if (signed_on.IsDate()) {
    signature = IsoDay(signed_on.AsDate());
  } else if (std::string text = CellString(signed_on); !text.empty()) {
    signature = std::move(text);
  }
  return Collection{CellString(values(row, column::kMandateId)),
                    CellString(values(row, column::kName)),
                    CellString(values(row, column::kIban)),
                    CellString(values(row, column::kBic)),
                    signature,
                    CellString(values(row, column::kPaymentId)),
                    money::ToCents(CellAmount(values(row, column::kAmount))),
                    CellString(values(row, column::kSequenceType)),
                    day};
}

void AppendNote(Variant& cell, const std::string& note) {
  const std::string existing = CellString(cell);
  cell = Variant(existing.empty() ? note : existing + ", " + note);
}

void AddToSetting(SEPAVALUES& setting, double change) {
  const Variant present(setting.Value);
  setting.Value = CStr(Variant((IsNumeric(present) ? CDbl(present) : 0) + change));
}

}  // namespace

mandate_register::TableOutcome Workbook::TakeFromRegister() {
  register_news_.dates_from_register.reset();
  if (register_ == nullptr || WritesDtaus(false) ||
      generation::SepaKindFor(record_.SepaAART.Value).credit_transfer) {
    return {};
  }
  try {
    mandate_register::TableOutcome outcome =
        register_->ApplyToTable(payments_.values, GetClock()->Now());
    register_news_.dates_from_register = outcome.dates_from_register;
    return outcome;
  } catch (const RegisterError& error) {
    throw WorkbookError(error.what());
  }
}

// The scheme allows one FRST per mandate. The processing run reads a first-debit date inside the
// billing period as "first collected in this period"; a date the register holds was a collection
// of an earlier run, so the row follows as RCUR.
void Workbook::FollowRegisteredCollections(const std::vector<int32_t>& dated_rows) {
  if (text::Trim(record_.SepaLART.Value) == "FRST") return;
  Table& values = payments_.values;
  for (const int32_t row : dated_rows) {
    if (CellString(values(row, column::kSequenceType)) != "FRST") continue;
    const double amount = CellAmount(values(row, column::kAmount));
    AddToSetting(record_.*kFiles[0].processed_count, -1);
    AddToSetting(record_.*kFiles[0].processed_sum, -amount);
    AddToSetting(record_.*kFiles[1].processed_count, 1);
    AddToSetting(record_.*kFiles[1].processed_sum, amount);
    values(row, column::kSequenceType) = Variant("RCUR");
  }
}

// An expired mandate must not be collected: its row leaves the files (no sequence type) and the
// run's figures, as if the processing run had refused it.
void Workbook::MarkRegisterFindings(const mandate_register::TableOutcome& outcome) {
  FollowRegisteredCollections(outcome.dated_rows);
  Table& values = payments_.values;
  for (const mandate_register::RowFinding& finding : outcome.warnings) {
    AppendNote(values(finding.row, column::kWarnings), finding.message);
    payments_.colours(finding.row, column::kIban) = Variant(column::kWarningColour);
    AddToSetting(record_.ProgBearWarn, 1);
  }
  for (const mandate_register::RowFinding& finding : outcome.errors) {
    AppendNote(values(finding.row, column::kErrors), finding.message);
    payments_.colours(finding.row, column::kMandateDate) = Variant(column::kErrorColour);
    AddToSetting(record_.ProgBearFehl, 1);
    const int file = FileOfRow(values, finding.row, false, 0);
    if (file < 0) continue;
    const double amount = CellAmount(values(finding.row, column::kAmount));
    AddToSetting(record_.*kFiles[static_cast<size_t>(file)].processed_count, -1);
    AddToSetting(record_.*kFiles[static_cast<size_t>(file)].processed_sum, -amount);
    AddToSetting(record_.ProgBearDANZ, -1);
    AddToSetting(record_.ProgBearDSUM, -amount);
    values(finding.row, column::kSequenceType) = Variant("");
  }
}

std::string Workbook::UsedIdsRefusal(bool dtaus) const {
  if (register_ == nullptr || dtaus) return "";
  try {
    register_->RefuseUsedIds(FilesAhead(record_, payments_.values));
  } catch (const RegisterError& error) {
    return error.what();
  }
  return "";
}

std::string Workbook::RepeatRefusal(bool dtaus) {
  if (register_ == nullptr || dtaus ||
      generation::SepaKindFor(record_.SepaAART.Value).credit_transfer) {
    return "";
  }
  const Table& values = payments_.values;
  const double serial = CDate(Variant(record_.SepaADAT.Value));
  const std::string day = IsoDay(serial);
  std::vector<std::string> planned;
  std::vector<int32_t> rows;
  std::vector<mandate_register::Repeat> repeats;
  try {
    // Nearly always nothing was collected on that day or later; then no row needs reading.
    if (!register_->MayHaveRepeats(day)) return "";
    for (int32_t row = 1; values.IsAllocated() && row <= values.RowUpper(); ++row) {
      if (FileOfRow(values, row, false, 0) < 0) continue;
      std::string reference = CellString(values(row, column::kMandateId));
      if (reference.empty()) continue;
      planned.push_back(std::move(reference));
      rows.push_back(row);
    }
    repeats = register_->FindRepeats(planned, day);
  } catch (const RegisterError& error) {
    return error.what();
  }
  if (repeats.empty()) return "";
  const std::string text = RepeatText(values, rows, planned, repeats,
                                      Format(Variant::Date(serial), "DD.MM.YYYY"), collect_again_);
  if (!collect_again_) {
    register_news_.refused_repeats = static_cast<int32_t>(repeats.size());
    return text;
  }
  AddWarning(text);
  return "";
}

Workbook::StagedGeneration Workbook::StageGeneration(const std::string& out_dir, bool dtaus) {
  if (register_ == nullptr || dtaus) return {};
  const auto& written = component_.written_rows();
  const bool credit_transfer = generation::SepaKindFor(record_.SepaAART.Value).credit_transfer;
  const std::string day = IsoDay(CDate(Variant(record_.SepaADAT.Value)));
  mandate_register::Run run;
  run.settings_file = settings_file_.path().empty()
                          ? std::string()
                          : std::filesystem::absolute(settings_file_.path()).string();
  std::vector<Collection> collections;
  if (!credit_transfer) collections.reserve(written[0].size() + written[1].size());
  for (size_t f = 0; f < kFiles.size(); ++f) {
    if (written[f].empty()) continue;
    const std::filesystem::path name = (record_.*kFiles[f].file_name).Value;
    RunFile file{std::filesystem::absolute(std::filesystem::path(out_dir) / name)
                     .lexically_normal()
                     .string(),
                 (record_.*kFiles[f].message_id).Value,
                 (record_.*kFiles[f].payment_information_id).Value,
                 static_cast<int64_t>(written[f].size()), 0};
    for (const int32_t row : written[f]) {
      Collection collection = CollectionOfRow(payments_.values, row, day);
      file.sum_cents += collection.amount_cents;
      if (!credit_transfer) collections.push_back(std::move(collection));
    }
    run.files.push_back(std::move(file));
  }
  if (run.files.empty()) return {};
  try {
    return {register_->StageRun(run, collections), ""};
  } catch (const RegisterError& error) {
    return {std::nullopt, error.what()};
  }
}

std::string Workbook::RecordGeneration(StagedGeneration staged) {
  std::string refusal = std::move(staged.refusal);
  if (staged.run) {
    try {
      register_news_.recorded_run = staged.run->Commit();
    } catch (const RegisterError& error) {
      refusal = error.what();
    }
  }
  if (refusal.empty()) return "ok";
  return "Dateien geschrieben, aber nicht im Mandatsregister eingetragen: " + refusal;
}

}  // namespace lastora
