#include "lastora/run_summary.h"

namespace lastora {
namespace {

bool IsFilled(const Variant& cell) {
  return !cell.IsEmpty() && !cell.IsNull() && !(cell.IsString() && cell.AsString().empty());
}

std::string Text(const Table& values, int32_t row, int32_t col) {
  if (col > values.ColUpper()) return "";
  const Variant& cell = values(row, col);
  return IsFilled(cell) ? CStr(cell) : "";
}

CheckedFigure Figure(const std::string& label, const std::string& stated,
                     const std::string& counted) {
  const Variant a(stated), b(counted);
  const bool numeric = IsNumeric(a) && IsNumeric(b) && !stated.empty() && !counted.empty();
  return {label, stated, counted, numeric ? CDbl(a) == CDbl(b) : stated == counted};
}

}  // namespace

std::string MoneyText(const std::string& amount) {
  const Variant value(amount);
  if (amount.empty() || !IsNumeric(value)) return amount.empty() ? "0,00" : amount;
  return Format(Variant(CDbl(value)), "0.00");
}

std::vector<RowFinding> RowFindings(const Table& values) {
  std::vector<RowFinding> findings;
  for (int32_t r = values.RowLower(); r <= values.RowUpper(); ++r) {
    RowFinding finding{r - values.RowLower() + 1, Text(values, r, 21), Text(values, r, 26),
                       Text(values, r, 27)};
    if (finding.errors.empty() && finding.warnings.empty()) continue;
    if (finding.name.empty()) finding.name = Text(values, r, 3);
    findings.push_back(std::move(finding));
  }
  return findings;
}

std::vector<CheckedFigure> CheckedFigures(const SEPAVARIABLEN& record) {
  return {
      Figure("Anzahl", record.ProgChecKANZ.Value, record.ProgChecDANZ.Value),
      Figure("Summe", MoneyText(record.ProgChecKSUM.Value), MoneyText(record.ProgChecDSUM.Value))};
}

bool SepaFilesRead(const SEPAVARIABLEN& record, bool two_files) {
  return record.ProgChecPAO1.Value == "ok" && (!two_files || record.ProgChecPAO2.Value == "ok");
}

bool DtausHeaderRead(const SEPAVARIABLEN& record) {
  return !record.ProgChecDANZ.Value.empty() && record.ProgChecDANZ.Value != "0";
}

}  // namespace lastora
