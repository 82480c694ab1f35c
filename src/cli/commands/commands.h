// The program's commands. Each Add function puts its subcommands on the app and registers what
// runs when one of them is chosen.
#ifndef LASTORA_CLI_COMMANDS_COMMANDS_H_
#define LASTORA_CLI_COMMANDS_COMMANDS_H_

#include <lastora/mandate_register.h>

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace lastora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// Files were written, but rows were left out or carry errors, or no row was paid.
inline constexpr int kExitIncomplete = 3;

// The options every command shares.
struct GlobalOptions {
  std::string now;   // "YYYY-MM-DD hh:mm:ss": a fixed clock for reproducible files
  bool yes = false;  // answer every dialog with its default
  std::string home;  // the program folder (log folder, templates)
};

struct CommandContext {
  const GlobalOptions& global;
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  CLI::App* app;
  std::function<int(CommandContext&)> run;
};
using Commands = std::vector<Command>;

void AddPaymentCommands(CLI::App& app, Commands& commands);  // process, generate, run
void AddCheckCommands(CLI::App& app, Commands& commands);    // check, xml-check
void AddAccountCommands(CLI::App& app, Commands& commands);  // iban, bic
void AddImportCommand(CLI::App& app, Commands& commands);
void AddSettingsCommand(CLI::App& app, Commands& commands);
void AddDemoCommand(CLI::App& app, Commands& commands);
void AddMergeCommand(CLI::App& app, Commands& commands);
void AddRegisterCommands(CLI::App& app, Commands& commands);  // runs, mandates

// Which mandate register a payment command uses.
struct RegisterChoice {
  std::string file;  // empty: lastora.db beside the settings file
  bool off = false;
};
void AddRegisterOptions(CLI::App& sub, RegisterChoice& choice);
// The chosen register, created when missing; nullopt when the user chose none.
std::optional<mandate_register::Register> OpenRegister(const RegisterChoice& choice,
                                                       const std::string& settings);

struct MergeOptions {
  std::string settings;
  std::string definitions;
  std::string members;
  int16_t definition_row = 0;  // 0: every definition
  int32_t record_row = 0;      // 0: every member
  int32_t definition_set = 1;
  bool no_print = false;
  bool blank = false;
};
// Runs the mail merge and prints its result; the demo uses it for the sample club's letters.
int MergeLetters(const MergeOptions& options, CommandContext& context);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_COMMANDS_COMMANDS_H_
