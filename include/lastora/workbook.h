// The caller's side of the component, as the club's workbook plays it: it holds the settings, the
// component object and the payment table between the steps, and calls the component's methods in
// the workbook's order: import, processing, numbering, generation.
#ifndef LASTORA_WORKBOOK_H_
#define LASTORA_WORKBOOK_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lastora/class1.h"
#include "lastora/export.h"
#include "lastora/mandate_register.h"
#include "lastora/settings_file.h"
#include "lastora/table_files.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// The steps of an all-steps run.
struct AllSteps {
  std::string members;  // empty: Import__FILE
  std::string out_dir;  // empty: stop after the processing run
  bool dtaus = false;
};

// Which steps of an all-steps run ended "ok".
struct StepsRun {
  bool imported = false;
  bool processed = false;
  bool generating = false;  // a generation was asked for
  bool generated = false;
  // Every asked-for step ended "ok".
  bool ok() const { return generating ? generated : processed; }
};

// What the mandate register contributed to the last steps.
struct RegisterNews {
  // Rows that took their first-debit date from it; nullopt when it was not asked.
  std::optional<int32_t> dates_from_register;
  int64_t recorded_run = 0;  // the run the last generation was recorded as; 0: none
  // Mandates the last generation refused to debit a second time on the same day; 0: none.
  int32_t refused_repeats = 0;
};

// SEPA files are XML; anything else is for the DTAUS checker, which names a wrong format.
bool LooksLikeXml(const std::string& path);

class Workbook {
 public:
  explicit Workbook(SettingsFile settings);
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  SEPAVARIABLEN& record() { return record_; }
  Class1& component() { return component_; }
  ColouredTable& payments() { return payments_; }
  void set_payments(ColouredTable payments) { payments_ = std::move(payments); }
  // Things the user should know that are not findings of a row (a cleaned identifier, ...).
  const std::vector<std::string>& notices() const { return notices_; }
  // Things that did not stop the last step but may cost money (a collection date outside the
  // billing window, a generation without a single payment and why).
  const std::vector<std::string>& warnings() const { return warnings_; }
  // The files that the last generation put into place, with their folder: all of a sound run, or
  // only the documents that failed their check (under their "_FEHLERHAFT" names).
  const std::vector<std::string>& written_files() const { return written_files_; }
  // The register the processing run takes first-debit dates from and every SEPA generation is
  // recorded in; nullptr (the default) for none. The caller keeps it open while it is set.
  void set_register(mandate_register::Register* mandates) { register_ = mandates; }
  const RegisterNews& register_news() const { return register_news_; }
  // A generation that would debit a mandate the register shows collected on the same day is
  // refused unless the caller allows it; allowed, it runs with a warning.
  void set_collect_again(bool allowed) { collect_again_ = allowed; }

  // Each step stores its result text in the settings record (Prog...Resu) and returns true
  // when it is "ok". A step whose input is missing is not run.
  // member_file empty: Import__FILE of the settings.
  bool Import(const std::string& member_file);
  bool Process();
  // The files of the run land together at its end, after each document passed the bank's
  // schema; until then, and after any failure, the folder holds what it held before.
  bool Generate(const std::string& out_dir, bool dtaus);
  // The checkers: the payments read from the file(s) become the payment table. file2 may be
  // empty.
  bool CheckSepa(const std::string& file1, const std::string& file2);
  bool CheckDtaus(const std::string& file, bool external);
  // Marks the all-steps run with the combined figures of the steps that ran.
  void RecordAllSteps();
  // Runs the steps until one does not end "ok"; with a generation, records the all-steps run.
  StepsRun RunAll(const AllSteps& steps);

  // Writes the payment table (.xlsx or .csv) with its heading; WorkbookError when it cannot.
  void WritePayments(const std::string& path) const;

  // Writes the run's result fields (those whose names begin with "Prog") into the settings file.
  void SaveResults();

 private:
  // DTAUS files when the caller asks for them or the settings choose the procedure.
  bool WritesDtaus(bool asked) const;
  // Each text once: the processing run and the generation derive the same identifiers.
  void AddNotice(const std::string& notice);
  void AddWarning(const std::string& warning);
  void WarnWhenNothingPaid(bool dtaus);
  std::string CallComponent(const std::function<std::string(VariantArray&)>& run);
  // The register's part of the steps; each does nothing without a register.
  mandate_register::TableOutcome TakeFromRegister();
  void MarkRegisterFindings(const mandate_register::TableOutcome& outcome);
  void FollowRegisteredCollections(const std::vector<int32_t>& dated_rows);
  // The register's refusal of identifiers an earlier run used; empty when none.
  std::string UsedIdsRefusal(bool dtaus) const;
  // The register's objection to debiting members again on a day it shows them collected: the
  // refusal, or empty (and a warning when the caller allowed it).
  std::string RepeatRefusal(bool dtaus);
  // The files and collections the generation wrote, written into the register but kept only
  // by RecordGeneration, once the files are in place; meanwhile their checks run.
  struct StagedGeneration {
    std::optional<mandate_register::StagedRun> run;
    std::string refusal;  // why the register could not take the run; empty when it did
  };
  StagedGeneration StageGeneration(const std::string& out_dir, bool dtaus);
  // "ok", or why the run is not in the register.
  std::string RecordGeneration(StagedGeneration staged);
  void Stamp(SEPAVALUES SEPAVARIABLEN::*date, SEPAVALUES SEPAVARIABLEN::*time,
             SEPAVALUES SEPAVARIABLEN::*result, const std::string& text);

  SettingsFile settings_file_;
  SEPAVARIABLEN record_;
  Class1 component_;
  ColouredTable payments_;
  std::vector<std::string> notices_;
  std::vector<std::string> warnings_;
  std::vector<std::string> written_files_;
  mandate_register::Register* register_ = nullptr;
  bool collect_again_ = false;
  RegisterNews register_news_;
};

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_WORKBOOK_H_
