#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/text.h"
#include "lastora/mandate_register.h"
#include "lastora/payment_table.h"
#include "lastora/variant.h"
#include "workbook/register_impl.h"

namespace lastora::mandate_register {
namespace {

namespace column = payment_table;

// A mandate not used for this many months has expired under the scheme's rules.
constexpr int kExpiryMonths = 36;

std::optional<std::string> CellText(const Table& values, int32_t row, int32_t col) {
  const Variant& cell = values(row, col);
  if (cell.IsEmpty() || cell.IsNull()) return std::nullopt;
  std::string text = CStr(cell);
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The day a cell names, as the register keeps days; nullopt for a blank or unreadable cell.
std::optional<std::string> CellDay(const Table& values, int32_t row, int32_t col) {
  const Variant& cell = values(row, col);
  if (cell.IsDate()) return detail::DayFromSerial(cell.AsDate());
  const auto text = CellText(values, row, col);
  if (!text) return std::nullopt;
  return detail::ParseDay(*text);
}

std::string CompactIban(std::string iban) {
  iban.erase(std::remove(iban.begin(), iban.end(), ' '), iban.end());
  return text::UCase(iban);
}

bool Expired(const std::string& last_collection, double today) {
  const double last = detail::SerialFromDay(last_collection);
  return MakeDate(Year(last), Month(last) + kExpiryMonths, Day(last)) < Int(today);
}

// Judges one row against its mandate; true when the row took its first-debit date from it.
bool JudgeRow(Table& values, int32_t row, const Mandate& mandate, double today,
              TableOutcome& outcome) {
  if (const auto iban = CellText(values, row, column::kIban);
      iban && !mandate.iban.empty() && CompactIban(*iban) != CompactIban(mandate.iban)) {
    outcome.warnings.push_back({row, "IBAN weicht vom Mandatsregister ab (bisher " + mandate.iban +
                                         "): die Bank braucht die Änderung des Mandats"});
  }
  if (!mandate.last_collection) return false;
  // A signature after the last collection is a renewed mandate: it starts afresh with FRST.
  const auto signed_on = CellDay(values, row, column::kMandateDate);
  if (signed_on && *signed_on > *mandate.last_collection) return false;
  if (Expired(*mandate.last_collection, today)) {
    outcome.errors.push_back(
        {row, "Mandat " + mandate.reference + " seit der letzten Abbuchung am " +
                  detail::GermanDay(*mandate.last_collection) +
                  " über 36 Monate nicht genutzt und damit erloschen: neues Mandat "
                  "unterschreiben lassen und das neue Mandatsdatum eintragen"});
    return false;
  }
  if (CellText(values, row, column::kFirstCollection) || !mandate.first_collection) return false;
  values(row, column::kFirstCollection) =
      Variant::Date(detail::SerialFromDay(*mandate.first_collection));
  return true;
}

}  // namespace

TableOutcome Register::ApplyToTable(Table& values, double today) const {
  TableOutcome outcome;
  if (!values.IsAllocated() || values.ColUpper() < column::kFirstCollection) return outcome;
  // One pass over the register instead of a query per row: a query per row pays for its own
  // read lock and statement reset, which dominated a large club's table.
  std::unordered_map<std::string, Mandate> mandates;
  detail::Statement all(impl_->db, detail::kAllMandatesSql);
  while (all.Step()) {
    Mandate mandate = detail::ReadMandate(all);
    std::string reference = mandate.reference;
    mandates.emplace(std::move(reference), std::move(mandate));
  }
  for (int32_t row = values.RowLower(); row <= values.RowUpper(); ++row) {
    const auto reference = CellText(values, row, column::kMandateId);
    if (!reference) continue;
    const auto found = mandates.find(*reference);
    if (found == mandates.end()) continue;
    if (!JudgeRow(values, row, found->second, today, outcome)) continue;
    ++outcome.dates_from_register;
    outcome.dated_rows.push_back(row);
  }
  return outcome;
}

}  // namespace lastora::mandate_register
