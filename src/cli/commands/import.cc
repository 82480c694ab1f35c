// import: one sheet of a spreadsheet as the component reads it.
#include <lastora/class1.h>
#include <lastora/csv.h>
#include <lastora/read_failure.h>
#include <lastora/table_files.h>
#include <lastora/workbook_error.h>

#include <filesystem>
#include <memory>
#include <utility>

#include "commands/commands.h"

namespace lastora::cli {
namespace {

struct ImportOptions {
  std::string file;
  std::string sheet;
  int32_t first_row = 1;
  int16_t sort_column = 0;
  bool descending = false;
  std::string output;
};

int Import(const ImportOptions& options, CommandContext& context) {
  if (!std::filesystem::is_regular_file(options.file))
    throw WorkbookError("Datei fehlt: " + options.file);
  Class1 component;
  Table rows;
  const std::string path = std::filesystem::absolute(options.file).string();
  const std::string result = WithReadFailureReason(
      component.GetColumnsFromExcelFile(path, rows, options.sheet, options.first_row,
                                        options.sort_column, options.descending ? "Desc" : "Asc"),
      path, options.sheet, options.first_row);
  if (result != "ok") {
    context.err << "lastora: " << options.file << ": " << (result.empty() ? "abgebrochen" : result)
                << "\n";
    return kExitFailed;
  }
  if (options.output.empty()) {
    TableToCsvPieces(rows, {}, [&context](std::string_view piece) { context.out << piece; });
    return kExitOk;
  }
  const int32_t row_count = rows.RowCount();
  const int32_t column_count = rows.ColCount();
  // Moved, not copied: an imported sheet may be most of the memory the run takes.
  WriteTableFile(options.output, ColouredTable{std::move(rows), Table()}, {});
  context.out << options.output << ": " << row_count << " Zeilen, " << column_count << " Spalten\n";
  return kExitOk;
}

}  // namespace

void AddImportCommand(CLI::App& app, Commands& commands) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* sub =
      app.add_subcommand("import", "ein Tabellenblatt einlesen (.xlsx, .xls, .ods, .csv)");
  sub->add_option("datei", options->file, "Tabellendatei")->required();
  sub->add_option("--sheet", options->sheet, "Tabellenblatt; leer: das erste");
  sub->add_option("--first-row", options->first_row, "erste Zeile")->check(CLI::PositiveNumber);
  sub->add_option("--sort-column", options->sort_column, "nach dieser Spalte sortieren");
  sub->add_flag("--desc", options->descending, "absteigend sortieren");
  sub->add_option("-o,--output", options->output,
                  "Ausgabe (.xlsx oder .csv); sonst CSV auf stdout");
  commands.push_back({sub, [options](CommandContext& c) { return Import(*options, c); }});
}

}  // namespace lastora::cli
