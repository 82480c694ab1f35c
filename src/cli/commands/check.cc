// check and xml-check: reading payment files back.
#include <lastora/schema_check.h>
#include <lastora/workbook.h>
#include <lastora/workbook_error.h>

#include <filesystem>
#include <future>
#include <memory>

#include "commands/commands.h"
#include "summary.h"

namespace lastora::cli {
namespace {

struct CheckOptions {
  std::vector<std::string> files;
  std::string settings;
  std::string output;
  bool external = false;
  bool save = false;
};

void RequireFile(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) throw WorkbookError("Datei fehlt: " + path);
}

int Check(const CheckOptions& options, CommandContext& context) {
  for (const std::string& file : options.files) RequireFile(file);
  Workbook workbook(options.settings.empty() ? SettingsFile()
                                             : SettingsFile::Load(options.settings));
  const bool sepa = LooksLikeXml(options.files.front());
  CheckVerdict verdict = CheckVerdict::kFailed;
  if (sepa) {
    const std::string second = options.files.size() > 1 ? options.files[1] : "";
    // The schema validation, the slower reading, runs beside the component's check.
    std::vector<std::future<std::string>> validations;
    for (const std::string& file : options.files) {
      validations.push_back(SchemaVerdictInBackground(file));
    }
    workbook.CheckSepa(options.files.front(), second);
    std::vector<std::string> schema_verdicts;
    for (std::future<std::string>& validation : validations) {
      schema_verdicts.push_back(validation.get());
    }
    verdict = PrintSepaCheck(context.out, workbook.record(), !second.empty(), schema_verdicts);
  } else {
    if (options.files.size() > 1) throw WorkbookError("DTAUS: je Prüfung nur eine Datei");
    workbook.CheckDtaus(options.files.front(), options.external);
    verdict = PrintDtausCheck(context.out, workbook.record());
  }
  PrintRowFindings(context.out, workbook.payments().values);
  if (!options.output.empty() && workbook.payments().values.IsAllocated()) {
    workbook.WritePayments(options.output);
    PrintFiles(context.out, "Geschrieben", {options.output});
  }
  if (options.save) {
    if (options.settings.empty()) throw WorkbookError("--save braucht -s EINSTELLUNGEN");
    workbook.SaveResults();
  }
  switch (verdict) {
    case CheckVerdict::kSound:
      return kExitOk;
    case CheckVerdict::kRowErrors:
      return kExitIncomplete;
    case CheckVerdict::kFailed:
      break;
  }
  return kExitFailed;
}

int XmlCheck(const std::string& file, CommandContext& context) {
  RequireFile(file);
  Class1 component;
  const std::string reason = component.SEPA_Check_XMLStruktur(file);
  context.out << file << ": " << (reason.empty() ? "wohlgeformt" : reason) << "\n";
  return reason.empty() ? kExitOk : kExitFailed;
}

}  // namespace

void AddCheckCommands(CLI::App& app, Commands& commands) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* check = app.add_subcommand(
      "check", "SEPA-XML- oder DTAUS-Datei prüfen: Angaben der Datei und gezählte Werte");
  check->add_option("datei", options->files, "Datei, bei SEPA auch eine zweite")
      ->required()
      ->expected(1, 2);
  check->add_option("-s,--settings", options->settings, "Einstellungsdatei");
  check->add_option("-o,--output", options->output, "gelesene Zahlungen (.xlsx oder .csv)");
  check->add_flag("--extern", options->external, "DTAUS-Datei eines anderen Programms");
  check->add_flag("--save", options->save, "Ergebnisse in die Einstellungsdatei schreiben");
  commands.push_back({check, [options](CommandContext& c) { return Check(*options, c); }});

  auto file = std::make_shared<std::string>();
  CLI::App* xml = app.add_subcommand("xml-check", "prüfen, ob eine XML-Datei wohlgeformt ist");
  xml->add_option("datei", *file, "XML-Datei")->required();
  commands.push_back({xml, [file](CommandContext& c) { return XmlCheck(*file, c); }});
}

}  // namespace lastora::cli
