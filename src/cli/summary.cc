#include "summary.h"

#include <lastora/run_summary.h>

#include <iomanip>

namespace lastora::cli {
namespace {

void Counters(std::ostream& out, const SEPAVALUES& errors, const SEPAVALUES& warnings,
              const SEPAVALUES& characters, const SEPAVALUES& umlauts) {
  out << "  Fehler " << errors.Value << ", Warnungen " << warnings.Value << ", Zeichen ersetzt "
      << characters.Value << ", Umlaute ersetzt " << umlauts.Value << "\n";
}

void Figures(std::ostream& out, const std::string& label, const SEPAVALUES& count,
             const SEPAVALUES& sum) {
  out << "  " << label << ": " << (count.Value.empty() ? "0" : count.Value) << " Zahlungen, "
      << MoneyText(sum.Value) << " EUR\n";
}

// The stated and counted figures as a small table; returns whether all agree.
bool PrintCheckedFigures(std::ostream& out, const SEPAVARIABLEN& record) {
  out << "  " << std::left << std::setw(18) << "" << std::right << std::setw(16) << "laut Datei"
      << std::setw(16) << "gezählt"
      << "\n";
  bool same = true;
  for (const CheckedFigure& figure : CheckedFigures(record)) {
    out << "  " << std::left << std::setw(18) << figure.label << std::right << std::setw(16)
        << figure.stated << std::setw(16) << figure.counted
        << (figure.same ? "" : "   <- abweichend") << "\n";
    same = same && figure.same;
  }
  return same;
}

void PrintSepaFiles(std::ostream& out, const SEPAVARIABLEN& record, bool two_files) {
  out << "  " << record.SepaAART.Value << ", " << record.KreditorNAME.Value << ", "
      << record.KreditorIBAN.Value << ", erstellt " << record.Import__MDAT.Value << "\n";
  // The component counts per file only inside the run; it hands back the totals.
  const auto file = [&out](const char* label, const SEPAVALUES& message_id,
                           const SEPAVALUES& sequence, const SEPAVALUES& date,
                           const SEPAVALUES& count, const SEPAVALUES& sum) {
    out << "  " << label << ": " << message_id.Value << ", " << sequence.Value << ", " << date.Value
        << ", laut Datei " << count.Value << " Zahlungen, " << MoneyText(sum.Value) << " EUR\n";
  };
  file("Datei 1", record.SepaFMI1, record.SepaLAR1, record.SepaADA1, record.ProgChecKAN1,
       record.ProgChecKSU1);
  if (two_files) {
    file("Datei 2", record.SepaFMI2, record.SepaLAR2, record.SepaADA2, record.ProgChecKAN2,
         record.ProgChecKSU2);
  }
}

}  // namespace

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
        << MoneyText(sum.Value) << " EUR, Prüfung: " << outcome.Value << "\n";
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

void PrintRegisterNews(std::ostream& out, const RegisterNews& news) {
  if (news.dates_from_register) {
    out << "Mandatsregister: " << *news.dates_from_register
        << " Zeilen mit dem Datum der ersten Abbuchung aus dem Register\n";
  }
  if (news.recorded_run != 0) {
    out << "Mandatsregister: eingetragen als Lauf " << news.recorded_run << "\n";
  }
}

int32_t PrintRowFindings(std::ostream& out, const Table& values) {
  const std::vector<RowFinding> findings = RowFindings(values);
  if (!findings.empty()) out << "Zeilen mit Fehlern oder Warnungen:\n";
  int32_t with_errors = 0;
  for (const RowFinding& finding : findings) {
    out << "  Zeile " << finding.row << " (" << finding.name << ")\n";
    if (!finding.errors.empty()) out << "    Fehler:  " << finding.errors << "\n";
    if (!finding.warnings.empty()) out << "    Warnung: " << finding.warnings << "\n";
    if (!finding.errors.empty()) ++with_errors;
  }
  return with_errors;
}

bool PrintSepaCheck(std::ostream& out, const SEPAVARIABLEN& record, bool two_files) {
  out << "Prüfung SEPA: " << record.ProgChecResu.Value << "\n";
  if (SepaFilesRead(record, two_files)) PrintSepaFiles(out, record, two_files);
  const bool same = PrintCheckedFigures(out, record);
  out << "  Falsche IBANs: " << record.ProgChecFehl.Value << "\n";
  return same;
}

bool PrintDtausCheck(std::ostream& out, const SEPAVARIABLEN& record) {
  out << "Prüfung DTAUS: " << record.ProgChecResu.Value << "\n";
  out << "  " << record.SepaAART.Value << ", " << record.KreditorNAME.Value << ", BLZ "
      << record.KreditorIBAN.Value << ", Ausführung " << record.SepaADAT.Value << "\n";
  const bool same = PrintCheckedFigures(out, record);
  out << "  Kontosumme " << record.ProgChecISUM.Value << ", BLZ-Summe " << record.ProgChecBSUM.Value
      << "\n";
  return same;
}

}  // namespace lastora::cli
