#include "workbook/unpaid_rows.h"

#include <array>
#include <cstdint>

#include "core/text.h"
#include "lastora/payment_table.h"
#include "lastora/variant.h"

namespace lastora {
namespace {

enum Reason { kError, kNoSequence, kNoIban, kNoBic, kNotGerman, kNoAmount, kOther, kReasons };

constexpr std::array<const char*, kReasons> kReasonTexts = {
    "mit Fehlermeldung (Spalte 26)",
    "ohne Sequenztyp (Spalte 12)",
    "ohne IBAN",
    "ohne BIC",
    "ohne deutsche IBAN",
    "mit Betrag 0 oder ohne Betrag",
    "ohne Datei, die sie aufnimmt (SepaFPI1/SepaFMI1, SepaFPI2/SepaFMI2)"};

std::string Cell(const Table& t, int32_t row, int32_t column) {
  if (column > t.ColUpper()) return "";
  return text::Trim(CStr(t(row, column)));
}

Reason ReasonOf(const Table& t, int32_t row, bool credit_transfer, bool dtaus) {
  if (!Cell(t, row, payment_table::kErrors).empty()) return kError;
  if (!credit_transfer && Cell(t, row, payment_table::kSequenceType).empty()) return kNoSequence;
  const std::string iban = Cell(t, row, payment_table::kIban);
  if (iban.empty()) return kNoIban;
  if (dtaus && !iban.starts_with("DE")) return kNotGerman;
  if (!dtaus && Cell(t, row, payment_table::kBic).empty()) return kNoBic;
  const Variant amount(Cell(t, row, payment_table::kAmount));
  if (!IsNumeric(amount) || CDbl(amount) <= 0) return kNoAmount;
  return kOther;
}

}  // namespace

std::string WhyNothingPaid(const Table& payments, bool credit_transfer, bool dtaus) {
  std::array<int64_t, kReasons> counts{};
  int64_t rows = 0;
  if (payments.IsAllocated()) {
    for (int32_t r = payments.RowLower(); r <= payments.RowUpper(); ++r, ++rows) {
      ++counts[ReasonOf(payments, r, credit_transfer, dtaus)];
    }
  }
  std::string why = "Keine Zahlung geschrieben: von " + std::to_string(rows) + " Zeilen";
  const char* separator = " ";
  for (int reason = 0; reason < kReasons; ++reason) {
    if (counts[reason] == 0) continue;
    why += separator + std::to_string(counts[reason]) + " " + kReasonTexts[reason];
    separator = ", ";
  }
  return why;
}

}  // namespace lastora
