#include "processing/run_figures.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/cents.h"
#include "lastora/variant.h"

namespace lastora::processing {
namespace {

// The caller's settings hold figures as text with up to 15 significant digits, and a sum is
// carried through that text after every payment. Keeping the same rounding here gives the sums
// the caller has always seen, without formatting and parsing a text per row.
double AsStoredInText(double value) {
  char buffer[40];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  double stored = value;
  std::from_chars(buffer, written.ptr, stored);
  return stored;
}

// Below this a sum of whole cents has at most 15 digits, so its text holds it exactly.
constexpr double kLargestExactCentSum = 1e11;

bool IsWholeCents(double value, int64_t* cents) {
  if (!(std::fabs(value) < kLargestExactCentSum)) return false;
  *cents = money::ToCents(value);
  return static_cast<double>(*cents) / 100 == value;
}

// Two amounts of whole cents add up, through the text, to the double nearest their exact sum:
// the common case, worked out in cents without the text.
double SumAsStoredInText(double a, double b) {
  const double sum = a + b;
  int64_t a_cents = 0;
  int64_t b_cents = 0;
  if (IsWholeCents(a, &a_cents) && IsWholeCents(b, &b_cents) &&
      std::fabs(sum) < kLargestExactCentSum) {
    return static_cast<double>(a_cents + b_cents) / 100;
  }
  return AsStoredInText(sum);
}

}  // namespace

void SettingFigure::Reset() {
  field_.Value = std::string("0");
  read_ = false;
}

void SettingFigure::Add(double amount) {
  if (!read_) {
    value_ = field_.Value.empty() ? 0.0 : CDbl(Variant(field_.Value));
    read_ = true;
  }
  value_ = SumAsStoredInText(value_, amount);
}

void SettingFigure::WriteBack() {
  if (read_) field_.Value = CStr(Variant(value_));
}

RunFigures::RunFigures(SEPAVARIABLEN& settings)
    : errors(settings.ProgBearFehl),
      warnings(settings.ProgBearWarn),
      characters(settings.ProgBearZeic),
      umlauts(settings.ProgBearUmla),
      payments(settings.ProgBearDANZ),
      first_file_payments(settings.ProgBearDAN1),
      second_file_payments(settings.ProgBearDAN2),
      total(settings.ProgBearDSUM),
      first_file_total(settings.ProgBearDSU1),
      second_file_total(settings.ProgBearDSU2) {}

RunFigures::~RunFigures() {
  // Runs while a failure unwinds too; a figure that cannot be written keeps its old text rather
  // than ending the process.
  for (SettingFigure* figure :
       {&errors, &warnings, &characters, &umlauts, &payments, &first_file_payments,
        &second_file_payments, &total, &first_file_total, &second_file_total}) {
    try {
      figure->WriteBack();
    } catch (...) {
    }
  }
}

void RunFigures::ResetFileFigures() {
  for (SettingFigure* figure : {&payments, &first_file_payments, &second_file_payments, &total,
                                &first_file_total, &second_file_total}) {
    figure->Reset();
  }
}

void RunFigures::CountPayment(bool second_file, double amount) {
  payments.Add(1);
  total.Add(amount);
  (second_file ? second_file_payments : first_file_payments).Add(1);
  (second_file ? second_file_total : first_file_total).Add(amount);
}

}  // namespace lastora::processing
