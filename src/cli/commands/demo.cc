// demo: the sample club from member list to checked payment files.
#include <lastora/collection_date.h>
#include <lastora/platform.h>
#include <lastora/schema_check.h>
#include <lastora/session.h>
#include <lastora/table_files.h>
#include <lastora/workbook.h>
#include <lastora/workbook_error.h>

#include <filesystem>
#include <optional>

#include "all_steps.h"
#include "commands/commands.h"
#include "sample_club.h"
#include "summary.h"

namespace lastora::cli {
namespace fs = std::filesystem;
namespace {

constexpr const char* kSettingsName = "verein.ini";

void CopySampleClub(const fs::path& folder) {
  std::error_code error;
  // The letters' folders: the mail merge writes into them but never creates them.
  for (const char* sub :
       {"Logdateien", "Vorlagen", "Briefe", "Etiketten", "Sendedaten/_Postfach"}) {
    if (!error) fs::create_directories(folder / sub, error);
  }
  if (error)
    throw WorkbookError("Ordner nicht angelegt: " + folder.string() + " (" + error.message() + ")");
  for (const SampleFile& file : SampleClubFiles()) {
    WriteWholeFile((folder / file.name).string(), file.bytes, "Beispieldatei");
  }
}

// Reads the files just written back, as the treasurer would before sending them.
bool CheckWritten(const fs::path& out_dir, const SEPAVARIABLEN& record, CommandContext& context) {
  const std::string& first = record.ProgErzeFil1.Value;
  const std::string& second = record.ProgErzeFil2.Value;
  if (first.empty() && second.empty()) return true;
  Workbook checker{SettingsFile()};
  const std::string file1 = (out_dir / (first.empty() ? second : first)).string();
  const std::string file2 = first.empty() || second.empty() ? "" : (out_dir / second).string();
  const bool ok = checker.CheckSepa(file1, file2);
  std::vector<std::string> schema_verdicts{SchemaVerdict(file1)};
  if (!file2.empty()) schema_verdicts.push_back(SchemaVerdict(file2));
  // The sample club's deliberate faults are rows of the member list, never the files.
  return ok && PrintSepaCheck(context.out, checker.record(), !file2.empty(), schema_verdicts) ==
                   CheckVerdict::kSound;
}

// The sample club names a fixed collection date; a demo run after it moves the date to the
// earliest one the bank takes, as the treasurer would, rather than stop.
void KeepCollectionDateAhead(SEPAVARIABLEN& record, std::ostream& out) {
  const double now = GetClock()->Now();
  if (CheckCollectionDate(record, now).stop.empty()) return;
  const auto day = EarliestCollectionDay(static_cast<int64_t>(now), false);
  record.SepaADAT.Value = Format(Variant::Date(static_cast<double>(day)), "DD.MM.YYYY");
  out << "Hinweis: Abbuchungsdatum des Beispielvereins auf den " << record.SepaADAT.Value
      << " verschoben\n";
}

int Demo(const std::string& folder, CommandContext& context) {
  const fs::path root(folder);
  CopySampleClub(root);
  std::optional<ScopedHome> home;
  if (context.global.home.empty()) home.emplace(folder);
  context.out << "Beispielverein in " << folder << "\n";

  Workbook workbook(SettingsFile::Load((root / kSettingsName).string()));
  KeepCollectionDateAhead(workbook.record(), context.out);
  const fs::path out_dir = root / "Ausgabe";
  const AllSteps steps{"", out_dir.string(), false};
  const bool generated =
      RunAllSteps(workbook, steps, (root / "Zahlungen.xlsx").string(), context.out);
  PrintRowFindings(context.out, workbook.payments().values);
  workbook.SaveResults();
  const bool checked = generated && CheckWritten(out_dir, workbook.record(), context);
  // Then the contribution notices and address labels, saved and queued for e-mail, not printed.
  MergeOptions letters;
  letters.settings = (root / kSettingsName).string();
  letters.definitions = (root / "Serienbriefe.csv").string();
  letters.members = (root / "Mitglieder.csv").string();
  letters.no_print = true;
  const bool merged = MergeLetters(letters, context) == kExitOk;
  return checked && merged ? kExitOk : kExitFailed;
}

}  // namespace

void AddDemoCommand(CLI::App& app, Commands& commands) {
  auto folder = std::make_shared<std::string>("lastora-demo");
  CLI::App* sub = app.add_subcommand(
      "demo", "Beispielverein anlegen, verarbeiten, Dateien erzeugen und prüfen");
  sub->add_option("ordner", *folder, "Ordner für den Beispielverein")->default_val("lastora-demo");
  commands.push_back({sub, [folder](CommandContext& c) { return Demo(*folder, c); }});
}

}  // namespace lastora::cli
