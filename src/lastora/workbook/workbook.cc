#include "lastora/workbook.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "component/catalogue.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/member_list.h"
#include "lastora/numbering.h"
#include "lastora/platform.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"

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

using Snapshot = std::map<fs::path, fs::file_time_type>;

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error)) files[entry.path()] = entry.last_write_time(error);
  }
  return files;
}

std::vector<std::string> ChangedFiles(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> changed;
  for (const auto& [path, time] : after) {
    const auto earlier = before.find(path);
    if (earlier == before.end() || earlier->second != time) changed.push_back(path.string());
  }
  return changed;
}

void Reset(std::initializer_list<SEPAVALUES*> fields, const char* value) {
  for (SEPAVALUES* field : fields) field->Value = value;
}

}  // namespace

bool LooksLikeXml(const std::string& path) {
  const std::string head = files::ReadWhole(path).substr(0, 64);
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

void Workbook::AddNotice(const std::string& notice) {
  if (notice.empty() || std::find(notices_.begin(), notices_.end(), notice) != notices_.end()) {
    return;
  }
  notices_.push_back(notice);
}

bool Workbook::Import(const std::string& member_file) {
  const std::string path = member_file.empty() ? record_.Import__FILE.Value : member_file;
  if (text::Trim(path).empty()) {
    throw WorkbookError("Keine Mitgliederliste: -m DATEI angeben oder Import__FILE setzen");
  }
  Reset(
      {&record_.ProgImpoFehl, &record_.ProgImpoWarn, &record_.ProgImpoZeic, &record_.ProgImpoUmla},
      "0");
  const std::string first_row = text::Trim(record_.Import__LINE.Value);
  std::string result;
  Table rows;
  if (first_row.empty() || first_row.find_first_not_of("0123456789") != std::string::npos ||
      first_row.size() > 6 || std::stoi(first_row) < 1) {
    result = Message(39) + first_row;
  } else {
    result = ReadSheet(component_, path, record_.Import__SHEE.Value, std::stoi(first_row), rows);
  }
  if (result == "ok") result = MapMembers(rows, record_, payments_);
  if (result == "ok") result = CompleteAccounts(component_, record_, payments_);
  Stamp(&SEPAVARIABLEN::ProgImpoDate, &SEPAVARIABLEN::ProgImpoTime, &SEPAVARIABLEN::ProgImpoResu,
        result);
  return result == "ok";
}

bool Workbook::Process() {
  Reset(
      {&record_.ProgBearFehl, &record_.ProgBearWarn, &record_.ProgBearZeic, &record_.ProgBearUmla},
      "0");
  const mandate_register::TableOutcome found = TakeFromRegister();
  std::string result = CallComponent([this](VariantArray& cells) {
    return component_.ext_SEPA_Bearbeitung(cells, payments_.values, payments_.colours);
  });
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
  std::string result;
  const IdentifierPrefix ids = MakeIdentifierPrefix(record_);
  std::error_code error;
  fs::create_directories(out_dir, error);
  if (ids.result != "ok") {
    result = ids.result;
  } else if (!fs::is_directory(out_dir)) {
    result = Message(14) + out_dir;
  } else if (std::string refusal = UsedIdsRefusal(dtaus); !refusal.empty()) {
    result = refusal;
  } else {
    AddNotice(ids.notice);
    DeriveFileIdentifiers(record_, ids.prefix);
    // Figures of a pass that does not run are added in as the caller passes them.
    Reset({&record_.ProgErzeWarn, &record_.ProgErzeDAN1, &record_.ProgErzeDAN2,
           &record_.ProgErzeDSU1, &record_.ProgErzeDSU2},
          "0");
    Reset({&record_.ProgErzePAOK, &record_.ProgErzePAO1, &record_.ProgErzePAO2}, "");
    const bool as_dtaus = dtaus || text::Trim(record_.SepaVERF.Value) == "DTAUS";
    const Snapshot before = TakeSnapshot(out_dir);
    result = CallComponent([&](VariantArray& cells) {
      return component_.ext_SEPA_Erzeugung(cells, payments_.values, payments_.colours,
                                           out_dir + "/", as_dtaus);
    });
    written_files_ = ChangedFiles(before, TakeSnapshot(out_dir));
    if (result == "ok") result = RecordGeneration(out_dir, as_dtaus);
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
  run.imported = Import(steps.members);
  run.processed = run.imported && Process();
  run.generating = !steps.out_dir.empty();
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
