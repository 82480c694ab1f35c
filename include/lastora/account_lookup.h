// Single account look-ups for a caller: an IBAN checked or built, the BIC and bank of an IBAN or
// a German bank code.
#ifndef LASTORA_ACCOUNT_LOOKUP_H_
#define LASTORA_ACCOUNT_LOOKUP_H_

#include <string>

#include "lastora/class1.h"
#include "lastora/export.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// Whether a text that Get_IBAN returned is its message about a wrong input, not an IBAN.
bool IsAccountMessage(const std::string& get_iban_result);

struct AccountAnswer {
  bool ok = false;
  std::string text;  // the IBAN, or the component's message
};
// The given IBAN (blanks allowed) checked.
AccountAnswer CheckIban(Class1& component, const std::string& given);
AccountAnswer BuildIban(Class1& component, std::string country, std::string bank_code,
                        std::string account);

struct BankAnswer {
  std::string result;  // "ok" or why the look-up failed
  std::string bic;     // may be empty for a bank without one
  std::string bank;
};

// The Bundesbank's bank-code table, read once for many look-ups.
class BankCodeLookup {
 public:
  // WorkbookError naming the file when it cannot be read as a bank-code table.
  BankCodeLookup(Class1& component, const std::string& bank_code_file);
  // query: an IBAN (blanks allowed) or an 8-digit German bank code.
  BankAnswer Find(const std::string& query);

 private:
  Class1& component_;
  Table bank_codes_;
};

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_ACCOUNT_LOOKUP_H_
