#include "lastora/workbook.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <map>
#include <system_error>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/collection_date.h"
#include "lastora/member_list.h"
#include "lastora/numbering.h"
#include "lastora/platform.h"
#include "lastora/read_failure.h"
#include "lastora/schema_check.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"
#include "workbook/joint_accounts.h"
#include "workbook/settings_rules.h"
#include "workbook/unpaid_rows.h"

namespace lastora {
namespace fs = std::filesystem;
namespace {

// A file named in the settings is found beside the settings file unless it is absolute or names
// the program folder ("..\"), which the component resolves itself.
void ResolveBeside(SEPAVALUES& field, const std::string& settings_path) {
  const std::string value = text::Trim(field.Value);
  if (value.empty() || value == "-" || value.starts_with("..\\") || value.starts_with("../")) {
    return;
  }
  const fs::path path(value);
  if (path.is_absolute()) return;
  field.Value = (fs::absolute(settings_path).parent_path() / path).lexically_normal().string();
}

double NumberOf(const std::string& text) {
  const Variant value(text);
  return !text.empty() && IsNumeric(value) ? CDbl(value) : 0;
}

std::string Sum(std::initializer_list<const SEPAVALUES*> fields) {
  double total = 0;
  for (const SEPAVALUES* field : fields) total += NumberOf(field->Value);
  return CStr(Variant(total));
}

void Reset(std::initializer_list<SEPAVALUES*> fields, const char* value) {
  for (SEPAVALUES* field : fields) field->Value = value;
}

// The schema checks of a run's documents, each started as soon as the component has finished
// writing the document, so that validating a large file overlaps the rest of the run.
class DocumentChecks {
 public:
  explicit DocumentChecks(files::FileSet& run_files) : run_files_(run_files) {
    run_files.WhenMemberFinished([this](const std::string& target, const std::string& pending) {
      if (target.ends_with(".xml")) started_.emplace(pending, SchemaVerdictInBackground(pending));
    });
  }
  DocumentChecks(const DocumentChecks&) = delete;
  DocumentChecks& operator=(const DocumentChecks&) = delete;
  // The checks still running are waited for, so none outlives the temporary it reads.
  ~DocumentChecks() { run_files_.WhenMemberFinished(nullptr); }

  std::string Verdict(const std::string& pending) {
    const auto started = started_.find(pending);
    return started == started_.end() ? SchemaVerdict(pending) : started->second.get();
  }

 private:
  files::FileSet& run_files_;
  std::map<std::string, std::future<std::string>> started_;
};

// The component only asks whether a document is well-formed; the bank asks its schema. A
// document the schema refuses is the run's failure, whatever the component said.
std::string JudgeDocuments(SEPAVARIABLEN& record, files::FileSet& run_files, DocumentChecks& checks,
                           const std::string& out_dir, const std::string& result) {
  std::string judged = result;
  for (const auto& [file, outcome] : {std::pair{&record.ProgErzeFil1, &record.ProgErzePAO1},
                                      std::pair{&record.ProgErzeFil2, &record.ProgErzePAO2}}) {
    if (file->Value.empty()) continue;
    const std::string path = out_dir + "/" + file->Value;
    if (outcome->Value == "ok") {
      const std::string verdict = checks.Verdict(run_files.PendingPath(path));
      if (verdict != "ok") outcome->Value = verdict;
    }
    if (outcome->Value == "ok") continue;
    run_files.MarkFailed(path);
    if (judged == "ok") judged = outcome->Value;
  }
  if (judged != result) record.ProgErzePAOK.Value = judged;
  return judged;
}

// The one place where the files of a generation land: all of them when the run is sound; only
// the documents that failed their check, under names no upload picks, when it is not; nothing
// after any other failure, so the folder keeps the previous complete set.
std::string CommitRun(files::FileSet& run_files, const std::string& result,
                      std::vector<std::string>* written) {
  try {
    if (result == "ok") {
      run_files.Commit();
    } else {
      run_files.KeepOnlyFailed();
    }
  } catch (const VbError& e) {
    return FailureText(e.number(), e.description());
  }
  *written = run_files.placed();
  return result;
}

// Each once: the processing run and the generation derive the same identifiers.
void AddOnce(std::vector<std::string>& list, const std::string& text) {
  if (text.empty() || std::find(list.begin(), list.end(), text) != list.end()) return;
  list.push_back(text);
}

}  // namespace

bool LooksLikeXml(const std::string& path) {
  std::string head(64, '\0');
  head.resize(files::FileReader(path).Read(head.data(), head.size()));
  const size_t first = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  return first != std::string::npos && head[first] == '<';
}

Workbook::Workbook(SettingsFile settings)
    : settings_file_(std::move(settings)), record_(settings_file_.record()) {
  const std::string base = settings_file_.path().empty() ? "./" : settings_file_.path();
  ResolveBeside(record_.Import__FILE, base);
  ResolveBeside(record_.ProgBLZ_File, base);
  component_.settings().ProgBLZ_File = record_.ProgBLZ_File;
}

std::string Workbook::CallComponent(const std::function<std::string(VariantArray&)>& run) {
  VariantArray cells;
  RecordToVariablen(cells, record_);
  const std::string result = run(cells);
  VariablenToRecord(cells, record_);
  return result;
}

void Workbook::Stamp(SEPAVALUES SEPAVARIABLEN::*date, SEPAVALUES SEPAVARIABLEN::*time,
                     SEPAVALUES SEPAVARIABLEN::*result, const std::string& text) {
  const Variant now = Variant::Date(GetClock()->Now());
  (record_.*date).Value = Format(now, "DD.MM.YYYY");
  (record_.*time).Value = Format(now, "hh:mm:ss");
  (record_.*result).Value = text;
}

bool Workbook::WritesDtaus(bool asked) const {
  return asked || text::Trim(record_.SepaVERF.Value) == "DTAUS";
}

void Workbook::AddNotice(const std::string& notice) { AddOnce(notices_, notice); }

void Workbook::AddWarning(const std::string& warning) { AddOnce(warnings_, warning); }

void Workbook::WarnWhenNothingPaid(bool dtaus) {
  if (NumberOf(record_.ProgErzeDANZ.Value) > 0) return;
  const bool credit_transfer = text::Trim(record_.SepaAART.Value) == Message(msg::kCreditTransfer);
  AddWarning(WhyNothingPaid(payments_.values, credit_transfer, dtaus));
}

bool Workbook::Import(const std::string& member_file) {
  const std::string path = member_file.empty() ? record_.Import__FILE.Value : member_file;
  if (text::Trim(path).empty()) {
    throw WorkbookError("Keine Mitgliederliste: -m DATEI angeben oder Import__FILE setzen");
  }
  Reset(
      {&record_.ProgImpoFehl, &record_.ProgImpoWarn, &record_.ProgImpoZeic, &record_.ProgImpoUmla},
      "0");
  std::string first_row = text::Trim(record_.Import__LINE.Value);
  if (first_row.empty()) first_row = settings_rules::Default("Import__LINE");
  std::string result;
  Table rows;
  if (first_row.empty() || first_row.find_first_not_of("0123456789") != std::string::npos ||
      first_row.size() > 6 || std::stoi(first_row) < 1) {
    result = Message(39) + first_row;
  } else {
    result = WithReadFailureReason(
        ReadSheet(component_, path, record_.Import__SHEE.Value, std::stoi(first_row), rows),
        fs::absolute(path).string(), record_.Import__SHEE.Value, std::stoi(first_row));
  }
  if (result == "ok") {
    const std::vector<std::string> titles =
        NamesColumnsByTitle(record_)
            ? ReadTitles(component_, path, record_.Import__SHEE.Value, std::stoi(first_row))
            : std::vector<std::string>();
    result = MapMembers(std::move(rows), record_, payments_, titles);
  }
  if (result == "ok") result = CompleteAccounts(component_, record_, payments_);
  Stamp(&SEPAVARIABLEN::ProgImpoDate, &SEPAVARIABLEN::ProgImpoTime, &SEPAVARIABLEN::ProgImpoResu,
        result);
  return result == "ok";
}

bool Workbook::Process() {
  settings_file_.Require(record_, RequiredSettings(true, false, false));
  Reset(
      {&record_.ProgBearFehl, &record_.ProgBearWarn, &record_.ProgBearZeic, &record_.ProgBearUmla},
      "0");
  const mandate_register::TableOutcome found = TakeFromRegister();
  // The component merges only adjacent rows of one account.
  std::vector<int32_t> list_order;
  if (record_.SepaFuncCOLL.Value.find(Message(6)) == std::string::npos) {
    list_order = GroupByAccount(payments_);
    record_.ProgBearWarn.Value = std::to_string(WarnDifferentHolders(payments_));
  }
  std::string result = CallComponent([this](VariantArray& cells) {
    return component_.ext_SEPA_Bearbeitung(cells, payments_.values, payments_.colours);
  });
  RestoreOrder(payments_, list_order);
  if (result == "ok") MarkRegisterFindings(found);
  if (result == "ok") {
    const IdentifierPrefix ids = MakeIdentifierPrefix(record_);
    if (ids.result != "ok") {
      result = ids.result;
    } else {
      AddNotice(ids.notice);
      const int32_t numbered = NumberPayments(payments_.values, ids.prefix);
      AddNotice(Message(55) + ": " + std::to_string(numbered) + " Payment-IDs");
    }
  }
  Stamp(&SEPAVARIABLEN::ProgBearDate, &SEPAVARIABLEN::ProgBearTime, &SEPAVARIABLEN::ProgBearResu,
        result);
  return result == "ok";
}

bool Workbook::Generate(const std::string& out_dir, bool dtaus) {
  const bool as_dtaus = WritesDtaus(dtaus);
  settings_file_.Require(record_, RequiredSettings(false, true, as_dtaus));
  written_files_.clear();
  // Figures of a pass that does not run are added in as the caller passes them; of the settings
  // file's earlier run nothing must show after this one failed.
  Reset({&record_.ProgErzeWarn, &record_.ProgErzeDAN1, &record_.ProgErzeDAN2, &record_.ProgErzeDSU1,
         &record_.ProgErzeDSU2, &record_.ProgErzeDANZ, &record_.ProgErzeDSUM},
        "0");
  Reset({&record_.ProgErzePAOK, &record_.ProgErzePAO1, &record_.ProgErzePAO2, &record_.ProgErzeFil1,
         &record_.ProgErzeFil2},
        "");
  register_news_.refused_repeats = 0;
  register_news_.recorded_run = 0;
  std::string result;
  const IdentifierPrefix ids = MakeIdentifierPrefix(record_);
  // One moment for the whole run: the identifiers carry its time of day.
  const double now = GetClock()->Now();
  const CollectionDateCheck date = CheckCollectionDate(record_, now);
  std::error_code error;
  fs::create_directories(out_dir, error);
  if (ids.result != "ok") {
    result = ids.result;
  } else if (!date.stop.empty()) {
    result = date.stop;
  } else if (!fs::is_directory(out_dir)) {
    result = Message(14) + out_dir;
  } else {
    AddNotice(ids.notice);
    AddWarning(date.warning);
    DeriveFileIdentifiers(record_, ids, now);
    result = UsedIdsRefusal(as_dtaus);
    if (result.empty()) result = RepeatRefusal(as_dtaus);
  }
  if (result.empty()) {
    files::FileSet run_files;
    StagedGeneration staged;
    {
      // Ends before the files are placed or dropped, so no check still reads one of them.
      DocumentChecks checks(run_files);
      {
        // Nothing the run writes replaces a file until the run is judged as a whole.
        const files::CollectCommits collect(run_files);
        result = CallComponent([&](VariantArray& cells) {
          return component_.ext_SEPA_Erzeugung(cells, payments_.values, payments_.colours,
                                               out_dir + "/", as_dtaus);
        });
      }
      // The register takes the run while the documents' checks run, but only files that are in
      // place count as collected.
      if (result == "ok") staged = StageGeneration(out_dir, as_dtaus);
      if (!as_dtaus) result = JudgeDocuments(record_, run_files, checks, out_dir, result);
    }
    result = CommitRun(run_files, result, &written_files_);
    if (result == "ok") result = RecordGeneration(std::move(staged));
    if (result == "ok") WarnWhenNothingPaid(as_dtaus);
  }
  Stamp(&SEPAVARIABLEN::ProgErzeDate, &SEPAVARIABLEN::ProgErzeTime, &SEPAVARIABLEN::ProgErzeResu,
        result);
  return result == "ok";
}

bool Workbook::CheckSepa(const std::string& file1, const std::string& file2) {
  Table internal_bank_codes, passed_on;
  const std::string result = CallComponent([&](VariantArray& cells) {
    return component_.ext_SEPA_Checker(cells, payments_.values, payments_.colours,
                                       internal_bank_codes, passed_on, file1,
                                       file2.empty() ? "-" : file2);
  });
  Stamp(&SEPAVARIABLEN::ProgChecDate, &SEPAVARIABLEN::ProgChecTime, &SEPAVARIABLEN::ProgChecResu,
        result);
  return result == "ok";
}

bool Workbook::CheckDtaus(const std::string& file, bool external) {
  // The checker states what the trailer says only once it reaches the trailer, and counts only
  // once it has read the header: figures of an earlier check must not pass for this file's.
  for (SEPAVALUES* figure :
       {&record_.ProgChecDANZ, &record_.ProgChecDSUM, &record_.ProgChecKANZ, &record_.ProgChecKSUM,
        &record_.ProgChecISUM, &record_.ProgChecBSUM, &record_.ProgChecFehl}) {
    figure->Value.clear();
  }
  Table internal_bank_codes, passed_on;
  const std::string result = CallComponent([&](VariantArray& cells) {
    return component_.ext_DTAUS_Checker(cells, payments_.values, payments_.colours,
                                        internal_bank_codes, passed_on, file, external);
  });
  Stamp(&SEPAVARIABLEN::ProgChecDate, &SEPAVARIABLEN::ProgChecTime, &SEPAVARIABLEN::ProgChecResu,
        result);
  return result == "ok";
}

void Workbook::RecordAllSteps() {
  std::string result = "ok";
  for (const SEPAVALUES* step :
       {&record_.ProgImpoResu, &record_.ProgBearResu, &record_.ProgErzeResu}) {
    if (step->Value != "ok" && result == "ok") result = step->Value;
  }
  Stamp(&SEPAVARIABLEN::ProgAlleDate, &SEPAVARIABLEN::ProgAlleTime, &SEPAVARIABLEN::ProgAlleResu,
        result);
  record_.ProgAlleFehl.Value = Sum({&record_.ProgImpoFehl, &record_.ProgBearFehl});
  record_.ProgAlleWarn.Value =
      Sum({&record_.ProgImpoWarn, &record_.ProgBearWarn, &record_.ProgErzeWarn});
  record_.ProgAlleZeic.Value = Sum({&record_.ProgBearZeic});
  record_.ProgAlleUmla.Value = Sum({&record_.ProgBearUmla});
}

StepsRun Workbook::RunAll(const AllSteps& steps) {
  StepsRun run;
  run.generating = !steps.out_dir.empty();
  settings_file_.Require(record_, RequiredSettings(true, run.generating, WritesDtaus(steps.dtaus)));
  run.imported = Import(steps.members);
  run.processed = run.imported && Process();
  run.generated = run.generating && run.processed && Generate(steps.out_dir, steps.dtaus);
  if (run.generating) RecordAllSteps();
  return run;
}

void Workbook::WritePayments(const std::string& path) const {
  WriteTableFile(path, payments_, PaymentHeader());
}

void Workbook::SaveResults() {
  settings_file_.Update(record_, [](std::string_view name) {
    for (std::string_view group : {"ProgImpo", "ProgChec", "ProgBear", "ProgErze", "ProgAlle"}) {
      if (name.starts_with(group)) return true;
    }
    return false;
  });
  settings_file_.Save();
}

}  // namespace lastora
