// The mandate register on the command line: the options that choose it for process, generate
// and run, and the commands that show and correct it (runs, mandates).
#include <lastora/mandate_register.h>

#include <filesystem>
#include <memory>

#include "commands/commands.h"

namespace lastora::cli {
namespace {

namespace fs = std::filesystem;
using mandate_register::Register;
using mandate_register::RegisterError;

std::string RegisterPath(const RegisterChoice& choice, const std::string& settings) {
  if (!choice.file.empty()) return choice.file;
  const fs::path beside = settings.empty() ? fs::path() : fs::absolute(settings).parent_path();
  return (beside / mandate_register::kDefaultFileName).string();
}

std::string EuroText(int64_t cents) {
  const int64_t whole = cents < 0 ? -cents : cents;
  std::string fraction = std::to_string(whole % 100);
  if (fraction.size() < 2) fraction.insert(0, "0");
  return (cents < 0 ? "-" : "") + std::to_string(whole / 100) + "," + fraction;
}

std::string DayText(const std::optional<std::string>& day, const std::string& type) {
  if (!day) return "-";
  const std::string german = day->substr(8, 2) + "." + day->substr(5, 2) + "." + day->substr(0, 4);
  return type.empty() ? german : german + " " + type;
}

void PrintRun(std::ostream& out, const mandate_register::Run& run) {
  out << "Lauf " << run.id << " vom " << run.recorded_at << ", " << run.state << ", " << run.count
      << " Abbuchungen, " << EuroText(run.sum_cents) << " EUR\n";
  for (const mandate_register::RunFile& file : run.files) {
    out << "  " << file.file_name << ": " << file.message_id << ", " << file.payment_information_id
        << ", " << file.count << " Zahlungen, " << EuroText(file.sum_cents) << " EUR\n";
  }
}

struct RegisterCommandOptions {
  RegisterChoice choice;
  std::string settings;
  int64_t cancel = 0;
  std::string export_file;
  std::string import_file;
};

// The commands that only read the register must not leave an empty one behind.
Register OpenExisting(const RegisterCommandOptions& options) {
  const std::string path = RegisterPath(options.choice, options.settings);
  if (!fs::exists(path)) {
    throw RegisterError("Kein Mandatsregister " + path +
                        ": es entsteht mit dem ersten Lauf von process, generate oder run.");
  }
  return Register::Open(path);
}

int Runs(const RegisterCommandOptions& options, CommandContext& context) {
  Register reg = OpenExisting(options);
  if (options.cancel != 0) {
    reg.CancelRun(options.cancel);
    context.out << "Lauf " << options.cancel
                << " storniert: seine Abbuchungen zählen nicht mehr für FRST/RCUR.\n";
    return kExitOk;
  }
  const std::vector<mandate_register::Run> runs = reg.ListRuns();
  if (runs.empty()) context.out << "Noch keine Läufe im Mandatsregister.\n";
  for (const mandate_register::Run& run : runs) PrintRun(context.out, run);
  return kExitOk;
}

int Mandates(const RegisterCommandOptions& options, CommandContext& context) {
  if (!options.import_file.empty()) {
    Register reg = Register::Open(RegisterPath(options.choice, options.settings));
    const int32_t touched = reg.ImportMandates(options.import_file);
    context.out << touched << " Mandate aus " << options.import_file << " übernommen.\n";
    return kExitOk;
  }
  Register reg = OpenExisting(options);
  if (!options.export_file.empty()) {
    reg.ExportMandates(options.export_file);
    context.out << "Mandate geschrieben: " << options.export_file << "\n";
    return kExitOk;
  }
  for (const mandate_register::Mandate& mandate : reg.ListMandates()) {
    context.out << mandate.reference << "  " << mandate.debtor_name << "  " << mandate.iban
                << "  erste " << DayText(mandate.first_collection, mandate.first_sequence_type)
                << ", letzte " << DayText(mandate.last_collection, mandate.last_sequence_type)
                << ", " << mandate.state << "\n";
  }
  return kExitOk;
}

void AddWhichRegister(CLI::App& sub, RegisterCommandOptions& options) {
  sub.add_option("-s,--settings", options.settings,
                 "Einstellungsdatei, neben der das Register liegt");
  sub.add_option("--register", options.choice.file, "Mandatsregister (sonst lastora.db)");
}

}  // namespace

void AddRegisterOptions(CLI::App& sub, RegisterChoice& choice) {
  CLI::Option* file = sub.add_option(
      "--register", choice.file, "Mandatsregister (sonst lastora.db neben der Einstellungsdatei)");
  sub.add_flag("--no-register", choice.off, "ohne Mandatsregister arbeiten")->excludes(file);
}

std::optional<Register> OpenRegister(const RegisterChoice& choice, const std::string& settings) {
  if (choice.off) return std::nullopt;
  return Register::Open(RegisterPath(choice, settings));
}

void AddRegisterCommands(CLI::App& app, Commands& commands) {
  auto options = std::make_shared<RegisterCommandOptions>();
  CLI::App* runs = app.add_subcommand("runs", "die Läufe im Mandatsregister, der neueste zuerst");
  AddWhichRegister(*runs, *options);
  runs->add_option("--cancel", options->cancel,
                   "Lauf stornieren, dessen Dateien nie zur Bank gingen (Nummer aus der Liste)");
  commands.push_back({runs, [options](CommandContext& c) { return Runs(*options, c); }});

  options = std::make_shared<RegisterCommandOptions>();
  CLI::App* mandates = app.add_subcommand("mandates", "die Mandate im Mandatsregister");
  AddWhichRegister(*mandates, *options);
  CLI::Option* out =
      mandates->add_option("--export", options->export_file, "Mandate als CSV-Datei schreiben");
  mandates
      ->add_option("--import", options->import_file,
                   "Daten der ersten Abbuchung aus einer CSV-Datei übernehmen")
      ->excludes(out);
  commands.push_back({mandates, [options](CommandContext& c) { return Mandates(*options, c); }});
}

}  // namespace lastora::cli
