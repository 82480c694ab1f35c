// iban and bic: single account look-ups.
#include <memory>

#include "cli_error.h"
#include "commands/commands.h"
#include "component/catalogue.h"
#include "component/helpers.h"
#include "lastora/class1.h"

namespace lastora::cli {
namespace {

struct IbanOptions {
  std::vector<std::string> ibans;
  bool build = false;
  std::string country = "DE";
  std::string bank_code;
  std::string account;
};

struct BicOptions {
  std::string bank_codes;
  std::vector<std::string> queries;
};

bool IsMessage(const std::string& result) { return result.starts_with("SEPA-Checker: "); }

int Iban(const IbanOptions& options, CommandContext& context) {
  Class1 component;
  if (options.build) {
    if (!options.ibans.empty())
      throw CliError("--build nimmt keine IBAN, nur --bank-code und --account");
    std::string country = options.country, bank_code = options.bank_code, account = options.account;
    const std::string iban = component.Get_IBAN("", country, bank_code, account);
    context.out << iban << "\n";
    return IsMessage(iban) ? kExitFailed : kExitOk;
  }
  if (options.ibans.empty()) throw CliError("keine IBAN angegeben");
  int status = kExitOk;
  for (const std::string& given : options.ibans) {
    const std::string result = component.Get_IBAN(RemoveBlanks(given));
    if (IsMessage(result)) {
      context.out << given << ": " << result << "\n";
      status = kExitFailed;
    } else {
      context.out << result << "\n";
    }
  }
  return status;
}

// A bank code alone is looked up as the bank part of a German IBAN.
std::string AsIban(const std::string& query) {
  const std::string compact = RemoveBlanks(query);
  const bool bank_code =
      compact.size() == 8 && compact.find_first_not_of("0123456789") == std::string::npos;
  return bank_code ? "DE00" + compact : compact;
}

int Bic(const BicOptions& options, CommandContext& context) {
  Class1 component;
  component.settings().ProgBLZ_File.Value = options.bank_codes;
  Table bank_codes;
  if (!component.Check_BLZ_File(bank_codes)) {
    throw CliError(Message(56) + " " + options.bank_codes);
  }
  int status = kExitOk;
  SEPAVARIABLEN settings;
  for (const std::string& query : options.queries) {
    Table unused_values, unused_colours, passed_on;
    std::string iban = AsIban(query), bic, bank_code, bank;
    const std::string result =
        component.Check_BIC(1, 23, 8, 5, "intern", settings, unused_values, unused_colours,
                            bank_codes, passed_on, iban, bic, bank_code, bank);
    if (result == "ok") {
      context.out << query << ": " << (bic.empty() ? "(ohne BIC)" : bic) << ", " << bank << "\n";
    } else {
      context.out << query << ": " << result << "\n";
      status = kExitFailed;
    }
  }
  return status;
}

}  // namespace

void AddAccountCommands(CLI::App& app, Commands& commands) {
  auto iban = std::make_shared<IbanOptions>();
  CLI::App* iban_app =
      app.add_subcommand("iban", "IBAN prüfen oder aus Bankleitzahl und Konto bilden");
  iban_app->add_option("ibans", iban->ibans, "zu prüfende IBANs");
  iban_app->add_flag("--build", iban->build, "IBAN bilden");
  iban_app->add_option("--country", iban->country, "Länderkennzeichen")->default_val("DE");
  iban_app->add_option("--bank-code", iban->bank_code, "Bankleitzahl");
  iban_app->add_option("--account", iban->account, "Kontonummer");
  commands.push_back({iban_app, [iban](CommandContext& c) { return Iban(*iban, c); }});

  auto bic = std::make_shared<BicOptions>();
  CLI::App* bic_app = app.add_subcommand("bic", "BIC und Bank zu IBAN oder Bankleitzahl finden");
  bic_app->add_option("--bank-codes", bic->bank_codes, "Bankleitzahlendatei der Bundesbank")
      ->required();
  bic_app->add_option("queries", bic->queries, "IBANs oder Bankleitzahlen")->required();
  commands.push_back({bic_app, [bic](CommandContext& c) { return Bic(*bic, c); }});
}

}  // namespace lastora::cli
