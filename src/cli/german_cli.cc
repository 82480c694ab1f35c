#include "german_cli.h"

#include <functional>
#include <memory>
#include <regex>
#include <utility>

namespace lastora::cli {
namespace {

// CLI11's message patterns, the more particular before the general ones they would also match.
const std::vector<std::pair<std::regex, std::string>>& ErrorPatterns() {
  static const std::vector<std::pair<std::regex, std::string>> patterns = [] {
    const std::pair<const char*, const char*> texts[] = {
        {"^A subcommand is required$", "Befehl fehlt"},
        {"^Requires at least (\\d+) subcommands$", "mindestens $1 Befehle nötig"},
        {"^(.*) is required$", "$1 fehlt"},
        {"^The following arguments? (was|were) not expected: (.*)$", "unerwartet: $2"},
        {"^The value (.*) is not an allowed value for (.*)$", "$1 ist für $2 nicht erlaubt"},
        {"^Could not convert: (.*)$", "nicht lesbar: $1"},
        {"^Expected exactly (\\d+) arguments to (.*), got (\\d+)$",
         "$2 erwartet genau $1 Werte, bekam $3"},
        {"^Expected at least (\\d+) arguments to (.*), got (\\d+)$",
         "$2 erwartet mindestens $1 Werte, bekam $3"},
        {"^(.*): At least (\\d+) required but received (\\d+)$",
         "$1: mindestens $2 Werte nötig, bekam $3"},
        {"^(.*): At Most (\\d+) required but received (\\d+)$",
         "$1: höchstens $2 Werte erlaubt, bekam $3"},
        {"^(.*): (\\d+) required (.*) missing$", "$1: $2 Werte vom Typ $3 fehlen"},
        {"^(.*): too many inputs for a flag$", "$1: ein Schalter nimmt keinen Wert"},
        {"^(.*): Should be true/false or a number$", "$1: erwartet true/false oder eine Zahl"},
        {"^(.*) requires (.*)$", "$1 verlangt $2"},
        {"^(.*) excludes (.*)$", "$1 und $2 schließen einander aus"},
        {"^(.*) was not readable \\(missing\\?\\)$", "$1 nicht lesbar"},
        {"^(.*): Value (.*) not in range .*$",
         "$1: Wert $2 liegt außerhalb des erlaubten Bereichs"},
        {"Number less or equal to 0: \\((.*)\\)", "Zahl größer als 0 erwartet: $1"},
        {"Number less than 0: \\((.*)\\)", "Zahl ab 0 erwartet: $1"},
        {"Failed parsing number: \\((.*)\\)", "keine Zahl: $1"},
    };
    std::vector<std::pair<std::regex, std::string>> compiled;
    for (const auto& [pattern, german] : texts) compiled.emplace_back(std::regex(pattern), german);
    return compiled;
  }();
  return patterns;
}

std::shared_ptr<CLI::Formatter> GermanFormatter() {
  auto formatter = std::make_shared<CLI::Formatter>();
  const std::pair<const char*, const char*> labels[] = {
      {"Usage", "Aufruf"},
      {"OPTIONS", "OPTIONEN"},
      {"SUBCOMMAND", "BEFEHL"},
      {"SUBCOMMANDS", "BEFEHLE"},
      {"Positionals", "Argumente"},
      {"REQUIRED", "Pflicht"},
      {"Env", "Umgebung"},
      {"Needs", "braucht"},
      {"Excludes", "schließt aus"},
      {"TEXT", "TEXT"},
      {"INT", "ZAHL"},
      {"UINT", "ZAHL"},
      {"FLOAT", "ZAHL"},
      {"INT:POSITIVE", "ZAHL ab 1"},
      {"INT:NONNEGATIVE", "ZAHL ab 0"},
  };
  for (const auto& [english, german] : labels) formatter->label(english, german);
  return formatter;
}

}  // namespace

void GroupSubcommandHelp(CLI::App& app) {
  const std::string group = app.get_help_ptr()->get_group();
  for (CLI::App* sub : app.get_subcommands(std::function<bool(CLI::App*)>())) {
    if (CLI::Option* help = sub->get_help_ptr()) help->group(group);
  }
}

std::string GermanParseError(const std::string& english) {
  std::string text = english;
  for (const auto& [pattern, german] : ErrorPatterns()) {
    std::string changed = std::regex_replace(text, pattern, german);
    if (changed != text) return changed;
  }
  return text;
}

void SpeakGerman(CLI::App& app) {
  app.formatter(GermanFormatter());
  app.option_defaults()->group("Optionen");
  app.group("Befehle");
  app.set_help_flag("-h,--help", "diese Hilfe zeigen");
  app.failure_message([](const CLI::App* failed, const CLI::Error& e) {
    std::string help = "lastora";
    for (const CLI::App* sub : failed->get_subcommands()) help += " " + sub->get_name();
    return "lastora: " + GermanParseError(e.what()) + "\nHilfe: " + help + " --help\n";
  });
}

}  // namespace lastora::cli
