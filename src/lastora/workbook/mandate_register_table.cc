#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// A finding's rows in the order of the table, as the caller lists them; one row's findings keep
// theirs.
void SortByRow(std::vector<RowFinding>& findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const RowFinding& a, const RowFinding& b) { return a.row < b.row; });
}

}  // namespace

TableOutcome Register::ApplyToTable(Table& values, double today) const {
  TableOutcome outcome;
  if (!values.IsAllocated() || values.ColUpper() < column::kFirstCollection) return outcome;
  // The table's rows and the register's mandates, both by reference, are walked side by side:
  // one pass over each, and only the mandates a row names are read out. A query per row paid
  // for its own statement reset, and a map of every mandate for memory a large club felt.
  std::vector<std::pair<std::string, int32_t>> rows;
  for (int32_t row = values.RowLower(); row <= values.RowUpper(); ++row) {
    if (auto reference = CellText(values, row, column::kMandateId)) {
      rows.emplace_back(std::move(*reference), row);
    }
  }
  std::sort(rows.begin(), rows.end());
  detail::Statement all(impl_->db,
                        (std::string(detail::kAllMandatesSql) + " ORDER BY reference").c_str());
  auto next = rows.begin();
  while (next != rows.end() && all.Step()) {
    const std::string_view reference = all.TextView(0);
    while (next != rows.end() && next->first < reference) ++next;
    if (next == rows.end() || next->first != reference) continue;
    const Mandate mandate = detail::ReadMandate(all);
    for (; next != rows.end() && next->first == mandate.reference; ++next) {
      if (!JudgeRow(values, next->second, mandate, today, outcome)) continue;
      ++outcome.dates_from_register;
      outcome.dated_rows.push_back(next->second);
    }
  }
  std::sort(outcome.dated_rows.begin(), outcome.dated_rows.end());
  SortByRow(outcome.warnings);
  SortByRow(outcome.errors);
  return outcome;
}

}  // namespace lastora::mandate_register
