// CLI11 speaks English; a treasurer reading the program's German messages should not meet
// "Usage" and "is required" in between.
#ifndef LASTORA_CLI_GERMAN_CLI_H_
#define LASTORA_CLI_GERMAN_CLI_H_

#include <CLI/CLI.hpp>
#include <string>

namespace lastora::cli {

// Gives the app German help headings, help and version flags and failure messages. Call it before
// adding options and subcommands: they take the groups and the flags over from the app.
void SpeakGerman(CLI::App& app);

// Puts the subcommands' help flags under the German heading. CLI11 makes a subcommand's help flag
// before the subcommand takes the group over, so call this once all subcommands are added.
void GroupSubcommandHelp(CLI::App& app);

// A parse error of CLI11 in German; texts it does not know pass unchanged.
std::string GermanParseError(const std::string& english);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_GERMAN_CLI_H_
