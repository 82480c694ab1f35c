#include "lastora/table_files.h"

#include <filesystem>
#include <utility>

#include "core/files.h"
#include "lastora/csv.h"
#include "lastora/read_failure.h"
#include "lastora/text_file.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"
#include "workbook/xlsx_file.h"

namespace lastora {

const std::vector<std::string>& PaymentHeader() {
  static const std::vector<std::string> header = {"",
                                                  "Nr",
                                                  "Kontoinhaber",
                                                  "IBAN",
                                                  "BIC",
                                                  "Bank",
                                                  "Payment-ID",
                                                  "Betrag",
                                                  "Verwendungszweck",
                                                  "Mandatsreferenz",
                                                  "Mandatsdatum",
                                                  "Sequenz",
                                                  "Einmalbetrag",
                                                  "Nachzahlung",
                                                  "Gutschrift",
                                                  "Beitrag Zeitraum",
                                                  "Beitrag je Periode",
                                                  "Eintritt",
                                                  "Austritt",
                                                  "Erste Abbuchung",
                                                  "Mitglied",
                                                  "Kontonummer",
                                                  "BLZ",
                                                  "Land",
                                                  "Verwendungstext",
                                                  "Fehler",
                                                  "Warnungen",
                                                  "Zeichen ersetzt",
                                                  "Umlaute ersetzt"};
  return header;
}

bool HasExtension(const std::string& path, const std::string& extension) {
  std::string actual = std::filesystem::path(path).extension().string();
  for (char& c : actual) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return actual == extension;
}

std::string ReadTextFile(const std::string& path, const std::string& what) {
  try {
    return DecodeTextFileInPlace(files::ReadWhole(path)).text;
  } catch (const VbError& e) {
    throw WorkbookError(what + " nicht lesbar: " + path + " (" + e.description() + ")");
  }
}

void WriteTableFile(const std::string& path, const ColouredTable& table,
                    const std::vector<std::string>& header) {
  if (HasExtension(path, ".xlsx")) {
    WriteXlsx(path, table, header);
    return;
  }
  if (!HasExtension(path, ".csv")) {
    throw WorkbookError("Tabelle nicht geschrieben: " + path + " (erlaubt sind .xlsx und .csv)");
  }
  try {
    files::FileWriter file(path);
    file.Write(kUtf8Bom);
    TableToCsvPieces(table.values, header, [&file](std::string_view piece) { file.Write(piece); });
    file.Commit();
  } catch (const VbError& e) {
    throw WorkbookError("Tabelle nicht geschrieben: " + path + " (" + e.description() + ")");
  }
}

void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& what) {
  try {
    files::WriteWhole(path, bytes);
  } catch (const VbError& e) {
    throw WorkbookError(what + " nicht geschrieben: " + path + " (" + e.description() + ")");
  }
}

ColouredTable ReadPaymentTable(const std::string& path, Class1& component) {
  Table values;
  if (HasExtension(path, ".csv")) {
    try {
      values = CsvTextToTable(ReadTextFile(path, "Zahlungstabelle"), 2);
    } catch (const CsvQuoteError& e) {
      throw WorkbookError("Zahlungstabelle nicht lesbar: " + path + ": " + e.what());
    }
  } else {
    if (!std::filesystem::exists(path)) throw WorkbookError("Zahlungstabelle fehlt: " + path);
    // The component looks for a bare file name in the program folder.
    const std::string absolute = std::filesystem::absolute(path).string();
    const std::string result = WithReadFailureReason(
        component.GetColumnsFromExcelFile(absolute, values, "", 2), absolute, "", 2);
    if (result != "ok") {
      throw WorkbookError("Zahlungstabelle nicht lesbar: " + path + ": " + result);
    }
  }
  if (!values.IsAllocated()) throw WorkbookError("Zahlungstabelle ohne Zeilen: " + path);
  // A table written by another program may lack the trailing columns; they read empty.
  if (values.ColCount() < kPaymentColumns) values.ResizeColumns(kPaymentColumns);
  ColouredTable table{std::move(values), Table()};
  table.colours = Table(table.values.RowCount(), table.values.ColCount());
  return table;
}

}  // namespace lastora
