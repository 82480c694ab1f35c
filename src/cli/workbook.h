// The program's stand-in for the club's workbook: it holds the settings, the component object
// and the payment table between the steps, and calls the component's methods in the order the
// workbook does: import, processing, numbering, generation.
#ifndef LASTORA_CLI_WORKBOOK_H_
#define LASTORA_CLI_WORKBOOK_H_

#include <string>
#include <vector>

#include "lastora/class1.h"
#include "settings_file.h"
#include "table_files.h"

namespace lastora::cli {

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
  // The files that the last generation wrote, with their folder.
  const std::vector<std::string>& written_files() const { return written_files_; }

  // Each step stores its result text in the settings record (Prog...Resu) and returns true
  // when it is "ok". A step whose input is missing is not run.
  // member_file empty: Import__FILE of the settings.
  bool Import(const std::string& member_file);
  bool Process();
  bool Generate(const std::string& out_dir, bool dtaus);
  // The checkers: the payments read from the file(s) become the payment table. file2 may be
  // empty.
  bool CheckSepa(const std::string& file1, const std::string& file2);
  bool CheckDtaus(const std::string& file, bool external);
  // Marks the all-steps run with the combined figures of the steps that ran.
  void RecordAllSteps();

  // Writes the run's result fields (those whose names begin with "Prog") into the settings file.
  void SaveResults();

 private:
  // Each notice once: the processing run and the generation derive the same identifiers.
  void AddNotice(const std::string& notice);
  std::string CallComponent(const std::function<std::string(VariantArray&)>& run);
  void Stamp(SEPAVALUES SEPAVARIABLEN::*date, SEPAVALUES SEPAVARIABLEN::*time,
             SEPAVALUES SEPAVARIABLEN::*result, const std::string& text);

  SettingsFile settings_file_;
  SEPAVARIABLEN record_;
  Class1 component_;
  ColouredTable payments_;
  std::vector<std::string> notices_;
  std::vector<std::string> written_files_;
};

}  // namespace lastora::cli

#endif  // LASTORA_CLI_WORKBOOK_H_
