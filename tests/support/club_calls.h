// The sample club's collection as a workbook drives it: processing, generation and the check of
// the written files, each call taking what the one before left in the sheets. The Linux library's
// arguments, answers and files are kept in tests/data/club_calls; the automation server's test
// makes the same calls under Wine and must answer the same.
#ifndef LASTORA_TESTS_SUPPORT_CLUB_CALLS_H_
#define LASTORA_TESTS_SUPPORT_CLUB_CALLS_H_

#include <filesystem>
#include <map>
#include <string>

#include "lastora/settings.h"
#include "lastora/table.h"

namespace lastora::testing::club_calls {

// The moment of every call, in the form the programs' fixed-clock options take.
inline constexpr char kMoment[] = "2026-03-02 10:15:30";
// The output folder the generation writes into: the caller names it, relative to the current
// folder, which the calls run in (the program folder).
inline constexpr char kOutputFolder[] = "Ausgabe\\";
// The bank-code file the settings name, copied from the sample club into the program folder.
inline constexpr char kBankCodeFile[] = "BLZ_Auszug.txt";
// The folders of the program folder that the calls write into.
inline constexpr const char* kWrittenFolders[] = {"Ausgabe", "Logdateien"};

// The dump's names: "input." for the arguments, then one prefix per call.
inline constexpr char kInput[] = "input";
inline constexpr char kProcessing[] = "ext_SEPA_Bearbeitung";
inline constexpr char kGeneration[] = "ext_SEPA_Erzeugung";
inline constexpr char kCheck[] = "ext_SEPA_Checker";

// The file the check reads for a pass: the output folder and the file name the generation
// reported, or "-" (no file) when the pass wrote none.
inline std::string CheckedFile(const VariantArray& settings, SEPAVALUES SEPAVARIABLEN::*name) {
  for (const SettingsField& field : SettingsFields()) {
    if (field.member != name) continue;
    const Variant& cell = settings[field.index];
    if (cell.IsString() && !cell.AsString().empty()) {
      return kOutputFolder + std::string(cell.AsString());
    }
  }
  return "-";
}

// The workbook's step between processing and generation: every row with an amount gets its
// payment identifier, made from the settings as they came back from the processing.
void NumberRows(const VariantArray& settings, Table& values);

// Makes a folder the current one for its lifetime.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(previous_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

// The files below the written folders of a program folder, by their path relative to it (with
// "/"), with their bytes.
std::map<std::string, std::string> WrittenFiles(const std::filesystem::path& program_folder);

// The files a run wrote are those of the kept copy, each byte for byte; a failure names the file.
void ExpectSameFiles(const std::map<std::string, std::string>& written,
                     const std::map<std::string, std::string>& kept);

}  // namespace lastora::testing::club_calls

#endif  // LASTORA_TESTS_SUPPORT_CLUB_CALLS_H_
