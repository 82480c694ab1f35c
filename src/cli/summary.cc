#include "summary.h"

#include <lastora/payment_table.h>
#include <lastora/run_summary.h>

#include <iomanip>

namespace lastora::cli {
namespace {

// The payment table's files begin with one line of column titles.
constexpr int32_t kHeadingLines = 1;

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

// The stated and counted figures as a small table.
void PrintCheckedFigures(std::ostream& out, const std::vector<CheckedFigure>& figures) {
  out << "  " << std::left << std::setw(18) << "" << std::right << std::setw(16) << "laut Datei"
      << std::setw(16) << "gezählt"
      << "\n";
  for (const CheckedFigure& figure : figures) {
    out << "  " << std::left << std::setw(18) << figure.label << std::right << std::setw(16)
        << figure.stated << std::setw(16) << figure.counted
        << (figure.same ? "" : "   <- abweichend") << "\n";
  }
}

bool AllSame(const std::vector<CheckedFigure>& figures) {
  for (const CheckedFigure& figure : figures) {
    if (!figure.same) return false;
  }
  return true;
}

// The checker's own result, unless it was "ok" and the figures or files say otherwise.
std::string Headline(const std::string& result, const std::vector<std::string>& faults) {
  if (result != "ok" || faults.empty()) return result;
  std::string headline = "Fehler:";
  const char* separator = " ";
  for (const std::string& fault : faults) {
    headline += separator + fault;
    separator = "; ";
  }
  return headline;
}

std::string RowErrorsText(int64_t rows) {
  return std::to_string(rows) + (rows == 1 ? " Zahlung" : " Zahlungen") +
         " mit Fehlern (falsche IBAN, Betrag)";
}

CheckVerdict VerdictOf(const std::string& result, bool failed, bool row_errors) {
  if (result != "ok" || failed) return CheckVerdict::kFailed;
  return row_errors ? CheckVerdict::kRowErrors : CheckVerdict::kSound;
}

int64_t Count(const SEPAVALUES& counter) {
  const Variant value(counter.Value);
  return !counter.Value.empty() && IsNumeric(value) ? static_cast<int64_t>(CDbl(value)) : 0;
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
  const bool produced = record.ProgErzeResu.Value == "ok" || !record.ProgErzeFil1.Value.empty() ||
                        !record.ProgErzeFil2.Value.empty();
  if (!produced) return;
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

void PrintWithoutAccount(std::ostream& out, const Table& values) {
  if (!values.IsAllocated() || values.ColUpper() < payment_table::kIban) return;
  int64_t without = 0;
  // A row whose account the processing refused carries its own message.
  const auto blank = [&values](int32_t r, int32_t c) {
    return c > values.ColUpper() || CStr(values(r, c)).find_first_not_of(' ') == std::string::npos;
  };
  for (int32_t r = values.RowLower(); r <= values.RowUpper(); ++r) {
    if (blank(r, payment_table::kIban) && blank(r, payment_table::kErrors)) ++without;
  }
  if (without == 0) return;
  out << "  " << without << (without == 1 ? " Mitglied" : " Mitglieder")
      << " ohne Bankverbindung (nicht im Einzug)\n";
}

void PrintNotices(std::ostream& out, const std::vector<std::string>& notices) {
  for (const std::string& notice : notices) out << "Hinweis: " << notice << "\n";
}

void PrintWarnings(std::ostream& out, const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) out << "Warnung: " << warning << "\n";
}

void PrintRegisterNews(std::ostream& out, const RegisterNews& news) {
  if (news.dates_from_register) {
    out << "Mandatsregister: " << *news.dates_from_register
        << " Zeilen mit dem Datum der ersten Abbuchung aus dem Register\n";
  }
  if (news.recorded_run != 0) {
    out << "Mandatsregister: eingetragen als Lauf " << news.recorded_run << "\n";
  }
  if (news.refused_repeats != 0) {
    out << "Mandatsregister: ging der frühere Lauf nie zur Bank, ihn mit \"lastora runs --cancel\" "
           "stornieren; sollen die Mitglieder wirklich ein zweites Mal zahlen, den Aufruf mit "
           "--again wiederholen\n";
  }
}

int32_t PrintRowFindings(std::ostream& out, const Table& values) {
  const std::vector<RowFinding> findings = RowFindings(values);
  if (!findings.empty()) out << "Zeilen mit Fehlern oder Warnungen:\n";
  int32_t with_errors = 0;
  for (const RowFinding& finding : findings) {
    out << "  Zeile " << finding.row + kHeadingLines << " (" << finding.name << ")\n";
    if (!finding.errors.empty()) out << "    Fehler:  " << finding.errors << "\n";
    if (!finding.warnings.empty()) out << "    Warnung: " << finding.warnings << "\n";
    if (!finding.errors.empty()) ++with_errors;
  }
  return with_errors;
}

CheckVerdict PrintSepaCheck(std::ostream& out, const SEPAVARIABLEN& record, bool two_files,
                            const std::vector<std::string>& schema_verdicts) {
  const std::vector<CheckedFigure> figures = CheckedFigures(record);
  const int64_t wrong_ibans = Count(record.ProgChecFehl);
  std::vector<std::string> faults;
  for (const std::string& verdict : schema_verdicts) {
    if (verdict != "ok") faults.push_back(verdict);
  }
  const bool invalid = !faults.empty();
  if (!AllSame(figures)) faults.push_back("Angaben der Datei und gezählte Werte weichen ab");
  if (wrong_ibans > 0) faults.push_back(RowErrorsText(wrong_ibans));
  out << "Prüfung SEPA: " << Headline(record.ProgChecResu.Value, faults) << "\n";
  if (SepaFilesRead(record, two_files)) PrintSepaFiles(out, record, two_files);
  for (size_t i = 0; i < schema_verdicts.size(); ++i) {
    out << "  Schema (" << i + 1 << ". Datei): " << schema_verdicts[i] << "\n";
  }
  PrintCheckedFigures(out, figures);
  out << "  Falsche IBANs: " << record.ProgChecFehl.Value << "\n";
  return VerdictOf(record.ProgChecResu.Value, invalid || !AllSame(figures), wrong_ibans > 0);
}

CheckVerdict PrintDtausCheck(std::ostream& out, const SEPAVARIABLEN& record) {
  const std::vector<CheckedFigure> figures = CheckedFigures(record);
  const int64_t row_errors = Count(record.ProgChecFehl);
  std::vector<std::string> faults;
  if (!AllSame(figures)) faults.push_back("Angaben der Datei und gezählte Werte weichen ab");
  if (row_errors > 0) faults.push_back(RowErrorsText(row_errors));
  out << "Prüfung DTAUS: " << Headline(record.ProgChecResu.Value, faults) << "\n";
  if (DtausHeaderRead(record)) {
    out << "  " << record.SepaAART.Value << ", " << record.KreditorNAME.Value << ", BLZ "
        << record.KreditorIBAN.Value;
    // The execution date is optional in the header; without one the field holds only its points.
    if (record.SepaADAT.Value.find_first_of("0123456789") != std::string::npos) {
      out << ", Ausführung " << record.SepaADAT.Value;
    }
    out << "\n";
    PrintCheckedFigures(out, figures);
  }
  // The sums of accounts and bank codes are added up only when the trailer was reached.
  if (!record.ProgChecISUM.Value.empty()) {
    out << "  Kontosumme " << record.ProgChecISUM.Value << ", BLZ-Summe "
        << record.ProgChecBSUM.Value << "\n";
  }
  return VerdictOf(record.ProgChecResu.Value, !AllSame(figures), row_errors > 0);
}

}  // namespace lastora::cli
