// merge: letters and labels for the members from the mail-merge definitions.
#include <lastora/class1.h>
#include <lastora/csv.h>
#include <lastora/member_list.h>
#include <lastora/session.h>
#include <lastora/settings_file.h>
#include <lastora/table_files.h>
#include <lastora/workbook_error.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "commands/commands.h"

namespace lastora::cli {
namespace {

// The run reads definition columns up to 24 and writes 21 to 24 back.
constexpr int32_t kDefinitionColumns = 24;

// The definitions file: a title row, then one definition per row in the run's column order.
Table ReadDefinitions(const std::string& path) {
  const Table read = CsvToTable(ParseCsv(ReadTextFile(path, "Serienbrief-Definitionen")), 2);
  if (!read.IsAllocated()) throw WorkbookError("Keine Serienbrief-Definition in " + path);
  Table definitions(read.RowCount(), std::max(read.ColCount(), kDefinitionColumns));
  for (int32_t row = 1; row <= read.RowUpper(); ++row) {
    for (int32_t column = 1; column <= read.ColUpper(); ++column) {
      definitions(row, column) = read(row, column);
    }
  }
  return definitions;
}

// The member list: its first row holds the field titles, the rest one member each.
void ReadMembers(const std::string& path, Table& header, Table& records) {
  Class1 component;
  Table rows;
  const std::string result =
      ReadSheet(component, std::filesystem::absolute(path).string(), "", 1, rows);
  if (result != "ok") throw WorkbookError(path + ": " + result);
  header = Table(1, rows.ColCount());
  for (int32_t column = 1; column <= rows.ColUpper(); ++column) header(1, column) = rows(1, column);
  records = rows.RowCount() > 1 ? Table(rows.RowCount() - 1, rows.ColCount()) : Table();
  for (int32_t row = 2; row <= rows.RowUpper(); ++row) {
    for (int32_t column = 1; column <= rows.ColUpper(); ++column) {
      records(row - 1, column) = rows(row, column);
    }
  }
}

}  // namespace

int MergeLetters(const MergeOptions& options, CommandContext& context) {
  SettingsFile::Load(options.settings);  // refuses a settings file that is missing or broken
  // Templates, print settings and logo lie below the club's folder, where its settings are.
  std::optional<ScopedHome> home;
  if (context.global.home.empty()) {
    home.emplace(std::filesystem::absolute(options.settings).parent_path().string());
  }
  Table definitions = ReadDefinitions(options.definitions);
  Table header;
  Table records;
  ReadMembers(options.members, header, records);
  Class1 component;
  const std::string result = component.ext_CreateSerienbrief(
      options.definition_set, records, header, definitions, options.definition_row,
      options.record_row, "", 0, 0, options.no_print, options.blank);
  context.out << result << "\n";
  return result.starts_with("Seriendruck ok") ? kExitOk : kExitFailed;
}

void AddMergeCommand(CLI::App& app, Commands& commands) {
  auto options = std::make_shared<MergeOptions>();
  CLI::App* sub =
      app.add_subcommand("merge", "Serienbriefe und Etiketten drucken, speichern, mailen");
  sub->add_option("-s,--settings", options->settings, "Einstellungsdatei des Vereins")->required();
  sub->add_option("--definitions", options->definitions,
                  "Serienbrief-Definitionen (.csv, eine Titelzeile)")
      ->required();
  sub->add_option("-m,--members", options->members, "Mitgliederliste (.csv, .xlsx, .ods, .xls)")
      ->required();
  sub->add_option("--definition", options->definition_row, "nur diese Definitionszeile")
      ->check(CLI::NonNegativeNumber);
  sub->add_option("--row", options->record_row, "nur dieses Mitglied (Zeile ohne Titelzeile)")
      ->check(CLI::NonNegativeNumber);
  sub->add_option("--set", options->definition_set, "Nummer für die Namen der Mail-Aufträge");
  sub->add_flag("--no-print", options->no_print, "nichts drucken");
  sub->add_flag("--blank", options->blank, "leere Vordrucke ohne Mitgliedsdaten");
  commands.push_back({sub, [options](CommandContext& c) { return MergeLetters(*options, c); }});
}

}  // namespace lastora::cli
