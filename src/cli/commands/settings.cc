// settings: the commented settings file to start from, or the settings a file gives, checked.
#include <lastora/settings_file.h>

#include <memory>

#include "commands/commands.h"

namespace lastora::cli {
namespace {

struct SettingsOptions {
  bool show_template = false;
  std::string settings;
};

// Everything a run will refuse is said now, not halfway through a collection.
int ShowSettings(const SettingsOptions& options, CommandContext& context) {
  const SettingsFile file = SettingsFile::Load(options.settings);
  context.out << SettingsInUse(file);
  file.Require(file.record(),
               RequiredSettings(true, true, file.record().SepaVERF.Value == "DTAUS"));
  return kExitOk;
}

}  // namespace

void AddSettingsCommand(CLI::App& app, Commands& commands) {
  auto options = std::make_shared<SettingsOptions>();
  CLI::App* sub = app.add_subcommand(
      "settings", "Einstellungen einer Datei geprüft zeigen, oder die Vorlage ausgeben");
  CLI::Option* show_template = sub->add_flag("--template", options->show_template,
                                             "kommentierte Vorlage mit allen Feldern ausgeben");
  CLI::Option* settings = sub->add_option("-s,--settings", options->settings, "Einstellungsdatei");
  show_template->excludes(settings);
  commands.push_back({sub, [options](CommandContext& c) {
                        if (options->show_template) {
                          c.out << SettingsTemplate();
                          return kExitOk;
                        }
                        if (options->settings.empty()) {
                          c.err << "lastora: settings: --template oder -s DATEI angeben\n";
                          return kExitUsage;
                        }
                        return ShowSettings(*options, c);
                      }});
}

}  // namespace lastora::cli
