// iban and bic: single account look-ups.
#include <lastora/account_lookup.h>
#include <lastora/class1.h>
#include <lastora/workbook_error.h>

#include <memory>

#include "commands/commands.h"

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

int Iban(const IbanOptions& options, CommandContext& context) {
  Class1 component;
  if (options.build) {
    if (!options.ibans.empty())
      throw WorkbookError("--build nimmt keine IBAN, nur --bank-code und --account");
    const AccountAnswer built =
        BuildIban(component, options.country, options.bank_code, options.account);
    context.out << built.text << "\n";
    return built.ok ? kExitOk : kExitFailed;
  }
  if (options.ibans.empty()) throw WorkbookError("keine IBAN angegeben");
  int status = kExitOk;
  for (const std::string& given : options.ibans) {
    const AccountAnswer checked = CheckIban(component, given);
    if (checked.ok) {
      context.out << checked.text << "\n";
    } else {
      context.out << given << ": " << checked.text << "\n";
      status = kExitFailed;
    }
  }
  return status;
}

int Bic(const BicOptions& options, CommandContext& context) {
  Class1 component;
  BankCodeLookup lookup(component, options.bank_codes);
  int status = kExitOk;
  for (const std::string& query : options.queries) {
    const BankAnswer found = lookup.Find(query);
    if (found.result == "ok") {
      context.out << query << ": " << (found.bic.empty() ? "(ohne BIC)" : found.bic) << ", "
                  << found.bank << "\n";
    } else {
      context.out << query << ": " << found.result << "\n";
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
  iban_app->add_option("iban", iban->ibans, "zu prüfende IBANs");
  iban_app->add_flag("--build", iban->build, "IBAN bilden");
  iban_app->add_option("--country", iban->country, "Länderkennzeichen")->default_val("DE");
  iban_app->add_option("--bank-code", iban->bank_code, "Bankleitzahl");
  iban_app->add_option("--account", iban->account, "Kontonummer");
  commands.push_back({iban_app, [iban](CommandContext& c) { return Iban(*iban, c); }});

  auto bic = std::make_shared<BicOptions>();
  CLI::App* bic_app = app.add_subcommand("bic", "BIC und Bank zu IBAN oder Bankleitzahl finden");
  bic_app->add_option("--bank-codes", bic->bank_codes, "Bankleitzahlendatei der Bundesbank")
      ->required();
  bic_app->add_option("iban-oder-blz", bic->queries, "IBANs oder Bankleitzahlen")->required();
  commands.push_back({bic_app, [bic](CommandContext& c) { return Bic(*bic, c); }});
}

}  // namespace lastora::cli
