#include "summary.h"

#include <iomanip>

#include "core/text.h"

namespace lastora::cli {
namespace {

bool IsFilled(const Variant& cell) {
  return !cell.IsEmpty() && !cell.IsNull() && !(cell.IsString() && cell.AsString().empty());
}

std::string Text(const Table& values, int32_t row, int32_t col) {
  if (col > values.ColUpper()) return "";
  const Variant& cell = values(row, col);
  return IsFilled(cell) ? CStr(cell) : "";
}

void Counters(std::ostream& out, const SEPAVALUES& errors, const SEPAVALUES& warnings,
              const SEPAVALUES& characters, const SEPAVALUES& umlauts) {
  out << "  Fehler " << errors.Value << ", Warnungen " << warnings.Value << ", Zeichen ersetzt "
      << characters.Value << ", Umlaute ersetzt " << umlauts.Value << "\n";
}

void Figures(std::ostream& out, const std::string& label, const SEPAVALUES& count,
             const SEPAVALUES& sum) {
  out << "  " << label << ": " << (count.Value.empty() ? "0" : count.Value) << " Zahlungen, "
      << Money(sum.Value) << " EUR\n";
}

// One line of a checker's figures; returns whether stated and counted agree.
bool Compare(std::ostream& out, const std::string& label, const std::string& stated,
             const std::string& counted) {
  const Variant a(stated), b(counted);
  const bool numeric = IsNumeric(a) && IsNumeric(b) && !stated.empty() && !counted.empty();
  const bool same = numeric ? CDbl(a) == CDbl(b) : stated == counted;
  out << "  " << std::left << std::setw(18) << label << std::right << std::setw(16) << stated
      << std::setw(16) << counted << (same ? "" : "   <- abweichend") << "\n";
  return same;
}

void CompareHeader(std::ostream& out) {
  out << "  " << std::left << std::setw(18) << "" << std::right << std::setw(16) << "laut Datei"
      << std::setw(16) << "gezählt"
      << "\n";
}

void PrintSepaFiles(std::ostream& out, const SEPAVARIABLEN& record, bool two_files) {
  out << "  " << record.SepaAART.Value << ", " << record.KreditorNAME.Value << ", "
      << record.KreditorIBAN.Value << ", erstellt " << record.Import__MDAT.Value << "\n";
  // The component counts per file only inside the run; it hands back the totals.
  const auto file = [&out](const char* label, const SEPAVALUES& message_id,
                           const SEPAVALUES& sequence, const SEPAVALUES& date,
                           const SEPAVALUES& count, const SEPAVALUES& sum) {
    out << "  " << label << ": " << message_id.Value << ", " << sequence.Value << ", " << date.Value
        << ", laut Datei " << count.Value << " Zahlungen, " << Money(sum.Value) << " EUR\n";
  };
  file("Datei 1", record.SepaFMI1, record.SepaLAR1, record.SepaADA1, record.ProgChecKAN1,
       record.ProgChecKSU1);
  if (two_files) {
    file("Datei 2", record.SepaFMI2, record.SepaLAR2, record.SepaADA2, record.ProgChecKAN2,
         record.ProgChecKSU2);
  }
}

}  // namespace

std::string Money(const std::string& amount) {
  const Variant value(amount);
  if (amount.empty() || !IsNumeric(value)) return amount.empty() ? "0,00" : amount;
  return Format(Variant(CDbl(value)), "0.00");
}

void PrintImport(std::ostream& out, const SEPAVARIABLEN& record) {
  out << "Import: " << record.ProgImpoResu.Value << "\n";
  out << "  Fehler " << record.ProgImpoFehl.Value << ", Warnungen " << record.ProgImpoWarn.Value
      << "\n";
}

void PrintProcessing(std::ostream& out, const SEPAVARIABLEN& record) {
  out << "Verarbeitung: " << record.ProgBearResu.Value << "\n";
  Counters(out, record.ProgBearFehl, record.ProgBearWarn, record.ProgBearZeic, record.ProgBearUmla);
  Figures(out, "Gesamt", record.ProgBearDANZ, record.ProgBearDSUM);
  Figures(out, "Datei 1 (FRST, FNAL, OOFF, Überweisung)", record.ProgBearDAN1, record.ProgBearDSU1);
  Figures(out, "Datei 2 (RCUR)", record.ProgBearDAN2, record.ProgBearDSU2);
}

void PrintGeneration(std::ostream& out, const SEPAVARIABLEN& record) {
  out << "Erzeugung: " << record.ProgErzeResu.Value << "\n";
  const auto pass = [&out](const char* label, const SEPAVALUES& file, const SEPAVALUES& count,
                           const SEPAVALUES& sum, const SEPAVALUES& outcome) {
    if (file.Value.empty()) return;
    out << "  " << label << ": " << file.Value << ", " << count.Value << " Zahlungen, "
        << Money(sum.Value) << " EUR, Prüfung: " << outcome.Value << "\n";
  };
  pass("Datei 1", record.ProgErzeFil1, record.ProgErzeDAN1, record.ProgErzeDSU1,
       record.ProgErzePAO1);
  pass("Datei 2", record.ProgErzeFil2, record.ProgErzeDAN2, record.ProgErzeDSU2,
       record.ProgErzePAO2);
  Figures(out, "Gesamt", record.ProgErzeDANZ, record.ProgErzeDSUM);
  out << "  Warnungen " << record.ProgErzeWarn.Value << "\n";
}

void PrintFiles(std::ostream& out, const std::string& title,
                const std::vector<std::string>& files) {
  if (files.empty()) return;
  out << title << ":\n";
  for (const std::string& file : files) out << "  " << file << "\n";
}

void PrintNotices(std::ostream& out, const std::vector<std::string>& notices) {
  for (const std::string& notice : notices) out << "Hinweis: " << notice << "\n";
}

int32_t PrintRowFindings(std::ostream& out, const Table& values) {
  int32_t with_errors = 0;
  bool any = false;
  for (int32_t r = values.RowLower(); r <= values.RowUpper(); ++r) {
    const std::string errors = Text(values, r, 26);
    const std::string warnings = Text(values, r, 27);
    if (errors.empty() && warnings.empty()) continue;
    if (!any) out << "Zeilen mit Fehlern oder Warnungen:\n";
    any = true;
    std::string name = Text(values, r, 21);
    if (name.empty()) name = Text(values, r, 3);
    out << "  Zeile " << (r - values.RowLower() + 1) << " (" << name << ")\n";
    if (!errors.empty()) out << "    Fehler:  " << errors << "\n";
    if (!warnings.empty()) out << "    Warnung: " << warnings << "\n";
    if (!errors.empty()) ++with_errors;
  }
  return with_errors;
}

bool PrintSepaCheck(std::ostream& out, const SEPAVARIABLEN& record, bool two_files) {
  out << "Prüfung SEPA: " << record.ProgChecResu.Value << "\n";
  // A document that could not be loaded was never read: the record still holds the settings'
  // values, which would pass for the file's.
  const bool read =
      record.ProgChecPAO1.Value == "ok" && (!two_files || record.ProgChecPAO2.Value == "ok");
  if (read) PrintSepaFiles(out, record, two_files);
  CompareHeader(out);
  bool same = Compare(out, "Anzahl", record.ProgChecKANZ.Value, record.ProgChecDANZ.Value);
  same &= Compare(out, "Summe", Money(record.ProgChecKSUM.Value), Money(record.ProgChecDSUM.Value));
  out << "  Falsche IBANs: " << record.ProgChecFehl.Value << "\n";
  return same;
}

bool PrintDtausCheck(std::ostream& out, const SEPAVARIABLEN& record) {
  out << "Prüfung DTAUS: " << record.ProgChecResu.Value << "\n";
  out << "  " << record.SepaAART.Value << ", " << record.KreditorNAME.Value << ", BLZ "
      << record.KreditorIBAN.Value << ", Ausführung " << record.SepaADAT.Value << "\n";
  CompareHeader(out);
  bool same = Compare(out, "Anzahl", record.ProgChecKANZ.Value, record.ProgChecDANZ.Value);
  same &= Compare(out, "Summe", Money(record.ProgChecKSUM.Value), Money(record.ProgChecDSUM.Value));
  out << "  Kontosumme " << record.ProgChecISUM.Value << ", BLZ-Summe " << record.ProgChecBSUM.Value
      << "\n";
  return same;
}

}  // namespace lastora::cli
