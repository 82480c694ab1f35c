#include <lastora/session.h>
#include <lastora/workbook_error.h>
#include <unistd.h>

#include <iostream>
#include <memory>

#include "commands/commands.h"
#include "german_cli.h"
#include "lastora_cli.h"
#include "program_home.h"
#include "terminal_dialogs.h"

namespace lastora::cli {
namespace {

void AddGlobalOptions(CLI::App& app, GlobalOptions& global) {
  app.add_option("--now", global.now,
                 "feste Uhrzeit \"JJJJ-MM-TT hh:mm:ss\" (reproduzierbare Dateien)")
      ->check([](const std::string& text) {
        return ParseNow(text) ? std::string() : "kein Zeitpunkt JJJJ-MM-TT hh:mm:ss: " + text;
      });
  app.add_flag("--yes", global.yes, "jede Rückfrage mit der Vorgabe beantworten");
  app.add_option("--home", global.home,
                 "Programmordner (Logdateien, Vorlagen); sonst LASTORA_HOME, für ein installiertes "
                 "Programm ~/.local/share/lastora");
}

// Asks on the terminal when someone sits at it and did not say --yes.
std::shared_ptr<Dialogs> MakeDialogs(const GlobalOptions& global, std::ostream& err) {
  const bool ask = !global.yes && isatty(STDIN_FILENO);
  return std::make_shared<TerminalDialogs>(ask ? &std::cin : nullptr, err);
}

}  // namespace

int RunLastora(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
  CLI::App app{"lastora: SEPA-Lastschriften, Überweisungen und DTAUS-Dateien für Vereine",
               "lastora"};
  SpeakGerman(app);
  app.set_version_flag("--version", "lastora " LASTORA_VERSION, "Version zeigen");
  app.require_subcommand(1);
  app.fallthrough();
  GlobalOptions global;
  AddGlobalOptions(app, global);
  Commands commands;
  AddDemoCommand(app, commands);
  AddPaymentCommands(app, commands);
  AddCheckCommands(app, commands);
  AddAccountCommands(app, commands);
  AddImportCommand(app, commands);
  AddSettingsCommand(app, commands);
  AddMergeCommand(app, commands);
  AddRegisterCommands(app, commands);
  GroupSubcommandHelp(app);

  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
  }
  for (const Command& command : commands) {
    if (!command.app->parsed()) continue;
    try {
      ScopedSession session({global.now, ProgramHome(global.home)}, MakeDialogs(global, err));
      CommandContext context{global, out, err};
      return command.run(context);
    } catch (const WorkbookError& e) {
      err << "lastora: " << e.what() << "\n";
      return kExitFailed;
    } catch (const mandate_register::RegisterError& e) {
      err << "lastora: " << e.what() << "\n";
      return kExitFailed;
    }
  }
  return kExitUsage;
}

}  // namespace lastora::cli
