// What the mandate register's source files share: the open database and the rules that keep a
// mandate's first and last collection in step with its collections.
#ifndef LASTORA_WORKBOOK_REGISTER_IMPL_H_
#define LASTORA_WORKBOOK_REGISTER_IMPL_H_

#include <optional>
#include <string>
#include <string_view>

#include "lastora/mandate_register.h"
#include "workbook/register_sqlite.h"

namespace lastora::mandate_register {

class Register::Impl {
 public:
  explicit Impl(const std::string& path) : db(path, kBusyMilliseconds) {}
  detail::Database db;

  // Long enough for another process to write a large run; a user waits rather than fails.
  static constexpr int kBusyMilliseconds = 60000;
};

namespace detail {

// Every mandate, in the column order ReadMandate expects.
inline constexpr const char* kAllMandatesSql =
    "SELECT reference, debtor_name, iban, bic, signature_date, first_collection, "
    "first_sequence_type, last_collection, last_sequence_type, state FROM mandates";
Mandate ReadMandate(const Statement& row);

// Recomputes first and last collection and state of the mandates `scope` selects (an SQL
// condition on mandates with one parameter, bound to `value`).
void RefreshMandates(Database& db, const char* scope, int64_t value);
void RefreshMandates(Database& db, const char* scope, std::string_view value);

// "YYYY-MM-DD" from "DD.MM.YYYY" or "YYYY-MM-DD"; nullopt for anything else or no such day.
std::optional<std::string> ParseDay(std::string_view text);
std::string DayFromSerial(double serial);
double SerialFromDay(const std::string& day);   // day as ParseDay returns it
std::string GermanDay(const std::string& day);  // "DD.MM.YYYY"

}  // namespace detail
}  // namespace lastora::mandate_register

#endif  // LASTORA_WORKBOOK_REGISTER_IMPL_H_
