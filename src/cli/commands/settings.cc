// settings: the commented settings file to start from.
#include <lastora/settings_file.h>

#include <memory>

#include "commands/commands.h"

namespace lastora::cli {

void AddSettingsCommand(CLI::App& app, Commands& commands) {
  auto show_template = std::make_shared<bool>(false);
  CLI::App* sub = app.add_subcommand("settings", "Einstellungsdatei");
  sub->add_flag("--template", *show_template, "kommentierte Vorlage mit allen Feldern ausgeben")
      ->required();
  commands.push_back({sub, [show_template](CommandContext& c) {
                        c.out << SettingsTemplate();
                        return kExitOk;
                      }});
}

}  // namespace lastora::cli
