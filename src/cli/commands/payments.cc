// process, generate and run: the member list through the processing run to the payment files.
#include <lastora/workbook.h>

#include <memory>

#include "all_steps.h"
#include "commands/commands.h"
#include "summary.h"

namespace lastora::cli {
namespace {

struct PaymentOptions {
  std::string settings;
  std::string members;
  std::string payments;
  std::string out_dir;
  std::string output;
  bool dtaus = false;
  bool save = false;
  bool strict = false;
  bool again = false;
  RegisterChoice mandates;
};

void AddSettingsOptions(CLI::App& sub, PaymentOptions& options) {
  sub.add_option("-s,--settings", options.settings, "Einstellungsdatei")->required();
  sub.add_flag("--save", options.save, "Ergebnisse der Läufe in die Einstellungsdatei schreiben");
  sub.add_flag("--strict", options.strict,
               "Zeilen mit Fehlern ergeben Status 1 statt 3 (Lauf gilt als gescheitert)");
  AddRegisterOptions(sub, options.mandates);
}

void AddAgainOption(CLI::App& sub, PaymentOptions& options) {
  sub.add_flag("--again", options.again,
               "Mandate erneut abbuchen, die das Mandatsregister am selben Tag schon abgebucht "
               "zeigt");
}

// 0 only for a run without a flaw; 3 when its files were written but rows carry errors (and so
// were left out) or nothing was paid; 1 when it failed, or with --strict for rows with errors.
int Finish(Workbook& workbook, const PaymentOptions& options, bool ok, bool generating,
           CommandContext& context) {
  PrintRegisterNews(context.out, workbook.register_news());
  const int32_t rows_with_errors = PrintRowFindings(context.out, workbook.payments().values);
  if (options.save) workbook.SaveResults();
  if (!ok) return kExitFailed;
  if (rows_with_errors > 0) return options.strict ? kExitFailed : kExitIncomplete;
  if (generating && workbook.record().ProgErzeDANZ.Value == "0") return kExitIncomplete;
  return kExitOk;
}

int Process(const PaymentOptions& options, CommandContext& context) {
  Workbook workbook(SettingsFile::Load(options.settings));
  auto mandates = OpenRegister(options.mandates, options.settings);
  if (mandates) workbook.set_register(&*mandates);
  const AllSteps steps{options.members, "", false};
  const bool ok = RunAllSteps(workbook, steps, options.output, context.out);
  return Finish(workbook, options, ok, false, context);
}

int Generate(const PaymentOptions& options, CommandContext& context) {
  Workbook workbook(SettingsFile::Load(options.settings));
  auto mandates = OpenRegister(options.mandates, options.settings);
  if (mandates) workbook.set_register(&*mandates);
  workbook.set_collect_again(options.again);
  workbook.set_payments(ReadPaymentTable(options.payments, workbook.component()));
  const bool generated = workbook.Generate(options.out_dir, options.dtaus);
  PrintGeneration(context.out, workbook.record());
  PrintWithoutAccount(context.out, workbook.payments().values);
  PrintNotices(context.out, workbook.notices());
  PrintWarnings(context.out, workbook.warnings());
  std::vector<std::string> files = workbook.written_files();
  if (!options.output.empty()) {
    workbook.WritePayments(options.output);
    files.push_back(options.output);
  }
  PrintFiles(context.out, "Geschrieben", files);
  return Finish(workbook, options, generated, true, context);
}

int Run(const PaymentOptions& options, CommandContext& context) {
  Workbook workbook(SettingsFile::Load(options.settings));
  auto mandates = OpenRegister(options.mandates, options.settings);
  if (mandates) workbook.set_register(&*mandates);
  workbook.set_collect_again(options.again);
  const AllSteps steps{options.members, options.out_dir, options.dtaus};
  const bool ok = RunAllSteps(workbook, steps, options.output, context.out);
  return Finish(workbook, options, ok, true, context);
}

}  // namespace

void AddPaymentCommands(CLI::App& app, Commands& commands) {
  auto options = std::make_shared<PaymentOptions>();
  CLI::App* process = app.add_subcommand(
      "process", "Mitgliederliste einlesen, verarbeiten und als Zahlungstabelle schreiben");
  AddSettingsOptions(*process, *options);
  process->add_option("-m,--members", options->members, "Mitgliederliste (sonst Import__FILE)");
  process->add_option("-o,--output", options->output, "Zahlungstabelle (.xlsx oder .csv)")
      ->default_val("Zahlungen.xlsx");
  commands.push_back({process, [options](CommandContext& c) { return Process(*options, c); }});

  options = std::make_shared<PaymentOptions>();

  CLI::App* generate =
      app.add_subcommand("generate", "SEPA- oder DTAUS-Dateien aus einer Zahlungstabelle erzeugen");
  AddSettingsOptions(*generate, *options);
  generate->add_option("-p,--payments", options->payments, "Zahlungstabelle (.xlsx oder .csv)")
      ->required();
  generate->add_option("-d,--dir", options->out_dir, "Ausgabeordner")->required();
  generate->add_flag("--dtaus", options->dtaus, "DTAUS statt SEPA-XML");
  AddAgainOption(*generate, *options);
  generate->add_option("-o,--output", options->output,
                       "Zahlungstabelle mit den Hinweisen der Erzeugung schreiben");
  commands.push_back({generate, [options](CommandContext& c) { return Generate(*options, c); }});

  options = std::make_shared<PaymentOptions>();

  CLI::App* run = app.add_subcommand("run", "alle Schritte: einlesen, verarbeiten, erzeugen");
  AddSettingsOptions(*run, *options);
  run->add_option("-m,--members", options->members, "Mitgliederliste (sonst Import__FILE)");
  run->add_option("-d,--dir", options->out_dir, "Ausgabeordner")->required();
  run->add_flag("--dtaus", options->dtaus, "DTAUS statt SEPA-XML");
  AddAgainOption(*run, *options);
  run->add_option("-o,--output", options->output, "Zahlungstabelle (.xlsx oder .csv)");
  commands.push_back({run, [options](CommandContext& c) { return Run(*options, c); }});
}

}  // namespace lastora::cli
