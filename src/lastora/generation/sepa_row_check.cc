#include "generation/sepa_row_check.h"

#include <algorithm>
#include <string_view>

#include "core/text.h"
#include "lastora/payment_table.h"

namespace lastora::generation {
namespace {

constexpr int64_t kLargestCents = 99'999'999'999;

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsUpper(c) || IsDigit(c) || (c >= 'a' && c <= 'z'); }

// The schema's identifier class lists its signs separated by '|' inside brackets, which makes
// the bar one of them; what the validator accepts is what counts here.
bool IsIdentifierChar(char c, bool blank_allowed) {
  if (IsAlnum(c)) return true;
  if (c == ' ') return blank_allowed;
  return std::string_view("+?/-:().,'|").find(c) != std::string_view::npos;
}

bool IsIsoDate(std::string_view date) {
  if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsDigit(date[i])) return false;
  }
  return true;
}

SepaRowFault Fault(int32_t column, std::string_view field, std::string_view what) {
  return {column, std::string(field) + " " + std::string(what) +
                      " - Zahlung nicht in die Datei übernommen"};
}

std::optional<SepaRowFault> IdentifierFault(std::string_view id, int32_t column,
                                            std::string_view field, bool blank_allowed) {
  if (id.empty()) return Fault(column, field, "fehlt");
  if (id.size() > kLongestSepaIdentifier) return Fault(column, field, "länger als 35 Zeichen");
  if (!IsSepaIdentifier(id, blank_allowed)) {
    return Fault(column, field, "enthält unzulässige Zeichen");
  }
  return std::nullopt;
}

}  // namespace

bool IsSepaIdentifier(std::string_view text, bool blank_allowed) {
  return std::all_of(text.begin(), text.end(),
                     [blank_allowed](char c) { return IsIdentifierChar(c, blank_allowed); });
}

bool IsIbanShaped(std::string_view iban) {
  if (iban.size() < 5 || iban.size() > 34) return false;
  if (!IsUpper(iban[0]) || !IsUpper(iban[1]) || !IsDigit(iban[2]) || !IsDigit(iban[3])) {
    return false;
  }
  return std::all_of(iban.begin() + 4, iban.end(), IsAlnum);
}

bool IsBicShaped(std::string_view bic) {
  if (bic.size() != 8 && bic.size() != 11) return false;
  if (!std::all_of(bic.begin(), bic.begin() + 6, IsUpper)) return false;
  if (!(IsUpper(bic[6]) || (bic[6] >= '2' && bic[6] <= '9'))) return false;
  if (!(IsDigit(bic[7]) || (IsUpper(bic[7]) && bic[7] != 'O'))) return false;
  return std::all_of(bic.begin() + 8, bic.end(), [](char c) { return IsUpper(c) || IsDigit(c); });
}

std::optional<SepaRowFault> FindSepaRowFault(const SepaTransaction& transaction,
                                             bool direct_debit) {
  namespace pt = payment_table;
  if (auto fault = IdentifierFault(transaction.end_to_end_id, pt::kPaymentId, "Payment-ID",
                                   /*blank_allowed=*/true)) {
    return fault;
  }
  if (transaction.cents < 1 || transaction.cents > kLargestCents) {
    return Fault(pt::kAmount, "Betrag", "nicht zwischen 0,01 und 999999999,99");
  }
  if (!IsBicShaped(transaction.bic)) return Fault(pt::kBic, "BIC", "ungültig");
  const size_t name_length = text::Length(transaction.name);
  if (name_length == 0) return Fault(pt::kName, "Name", "fehlt");
  if (name_length > kLongestSepaName) return Fault(pt::kName, "Name", "länger als 70 Zeichen");
  if (!IsIbanShaped(transaction.iban)) return Fault(pt::kIban, "IBAN", "ungültig");
  if (!direct_debit) return std::nullopt;
  if (auto fault = IdentifierFault(transaction.mandate_id, pt::kMandateId, "Mandatsreferenz",
                                   /*blank_allowed=*/false)) {
    return fault;
  }
  if (transaction.mandate_date.empty()) return Fault(pt::kMandateDate, "Mandatsdatum", "fehlt");
  if (!IsIsoDate(transaction.mandate_date)) {
    return Fault(pt::kMandateDate, "Mandatsdatum", "ist kein Datum");
  }
  return std::nullopt;
}

}  // namespace lastora::generation
