#include "lastora/account_lookup.h"

#include "component/catalogue.h"
#include "component/helpers.h"
#include "lastora/workbook_error.h"

namespace lastora {
namespace {

// A bank code alone is looked up as the bank part of a German IBAN.
std::string AsIban(const std::string& query) {
  const std::string compact = RemoveBlanks(query);
  const bool bank_code =
      compact.size() == 8 && compact.find_first_not_of("0123456789") == std::string::npos;
  return bank_code ? "DE00" + compact : compact;
}

AccountAnswer Answer(const std::string& result) { return {!IsAccountMessage(result), result}; }

}  // namespace

bool IsAccountMessage(const std::string& get_iban_result) {
  return get_iban_result.starts_with("SEPA-Checker: ");
}

AccountAnswer CheckIban(Class1& component, const std::string& given) {
  return Answer(component.Get_IBAN(RemoveBlanks(given)));
}

AccountAnswer BuildIban(Class1& component, std::string country, std::string bank_code,
                        std::string account) {
  return Answer(component.Get_IBAN("", country, bank_code, account));
}

BankCodeLookup::BankCodeLookup(Class1& component, const std::string& bank_code_file)
    : component_(component) {
  component_.settings().ProgBLZ_File.Value = bank_code_file;
  if (!component_.Check_BLZ_File(bank_codes_)) {
    throw WorkbookError(Message(56) + " " + bank_code_file);
  }
}

BankAnswer BankCodeLookup::Find(const std::string& query) {
  SEPAVARIABLEN settings;
  Table unused_values, unused_colours, passed_on;
  std::string iban = AsIban(query), bank_code;
  BankAnswer answer;
  answer.result =
      component_.Check_BIC(1, 23, 8, 5, "intern", settings, unused_values, unused_colours,
                           bank_codes_, passed_on, iban, answer.bic, bank_code, answer.bank);
  return answer;
}

}  // namespace lastora
