#include "core/files.h"
#include "core/text.h"
#include "lastora/csv.h"
#include "lastora/mandate_register.h"
#include "lastora/table_files.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"
#include "workbook/register_impl.h"

namespace lastora::mandate_register {
namespace {

const std::vector<std::string> kHeader = {
    "Mandat", "Name", "IBAN", "BIC", "Mandatsdatum", "Erste Abbuchung", "Letzte Abbuchung"};
constexpr int32_t kColumns = 7;

Variant DayCell(const std::optional<std::string>& day) {
  return day ? Variant(detail::GermanDay(*day)) : Variant();
}

// Where each column sits in the file; -1 when it has none.
struct Columns {
  int reference = -1, name = -1, iban = -1, bic = -1, signature = -1, first = -1;
};

Columns ReadHeader(const std::vector<std::string>& header, const std::string& path) {
  Columns columns;
  for (int i = 0; i < static_cast<int>(header.size()); ++i) {
    const std::string name = text::LCase(text::Trim(header[static_cast<size_t>(i)]));
    if (name == "mandat" || name == "mandatsreferenz") columns.reference = i;
    if (name == "name") columns.name = i;
    if (name == "iban") columns.iban = i;
    if (name == "bic") columns.bic = i;
    if (name == "mandatsdatum") columns.signature = i;
    if (name == "erste abbuchung") columns.first = i;
  }
  if (columns.reference < 0 || columns.first < 0) {
    throw RegisterError("Die Datei " + path +
                        " braucht in der ersten Zeile die Spalten \"Mandat\" und \"Erste "
                        "Abbuchung\" (durch Semikolon getrennt).");
  }
  return columns;
}

std::string At(const std::vector<std::string>& fields, int column) {
  if (column < 0 || static_cast<size_t>(column) >= fields.size()) return std::string();
  return text::Trim(fields[static_cast<size_t>(column)]);
}

std::optional<std::string> DayAt(const std::vector<std::string>& fields, int column,
                                 const std::string& path, int line) {
  const std::string text = At(fields, column);
  if (text.empty()) return std::nullopt;
  if (auto day = detail::ParseDay(text)) return day;
  throw RegisterError("Die Datei " + path + ", Zeile " + std::to_string(line) + ": \"" + text +
                      "\" ist kein Datum (TT.MM.JJJJ); nichts wurde übernommen.");
}

// The file's rows through the program's one CSV reader, which also decides the separator.
CsvRows ReadRows(const std::string& csv_path) {
  try {
    return ParseCsv(ReadTextFile(csv_path, "Mandatsliste"));
  } catch (const WorkbookError&) {
    throw RegisterError("Die Datei " + csv_path + " lässt sich nicht lesen.");
  } catch (const CsvQuoteError& error) {
    throw RegisterError("Die Datei " + csv_path + ": " + error.what());
  }
}

}  // namespace

void Register::ExportMandates(const std::string& csv_path) const {
  std::vector<std::vector<Variant>> rows;
  detail::Statement mandates(impl_->db,
                             "SELECT reference, debtor_name, iban, bic, signature_date, "
                             "first_collection, last_collection FROM mandates ORDER BY reference");
  while (mandates.Step()) {
    rows.push_back({Variant(mandates.Text(0)), Variant(mandates.Text(1)), Variant(mandates.Text(2)),
                    Variant(mandates.Text(3)), DayCell(mandates.OptionalText(4)),
                    DayCell(mandates.OptionalText(5)), DayCell(mandates.OptionalText(6))});
  }
  Table table = rows.empty() ? Table() : Table(static_cast<int32_t>(rows.size()), kColumns);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (int32_t c = 0; c < kColumns; ++c) {
      table(static_cast<int32_t>(r) + 1, c + 1) = rows[r][static_cast<size_t>(c)];
    }
  }
  try {
    files::WriteWhole(csv_path, TableToCsv(table, kHeader));
  } catch (const VbError&) {
    throw RegisterError("Die Datei " + csv_path + " lässt sich nicht schreiben.");
  }
}

int32_t Register::ImportMandates(const std::string& csv_path) {
  const CsvRows rows = ReadRows(csv_path);
  const Columns columns =
      ReadHeader(rows.empty() ? std::vector<std::string>() : rows.front(), csv_path);

  detail::Database& db = impl_->db;
  detail::Transaction transaction(db);
  // What the register learnt from its own runs wins over a file; a file only fills gaps and
  // moves the first-debit date earlier.
  detail::Statement upsert(
      db,
      "INSERT INTO mandates (reference, debtor_name, iban, bic, signature_date, "
      "imported_first_collection) VALUES (?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT (reference) DO "
      "UPDATE SET debtor_name = CASE WHEN debtor_name = '' THEN excluded.debtor_name ELSE "
      "debtor_name END, iban = CASE WHEN iban = '' THEN excluded.iban ELSE iban END, "
      "bic = CASE WHEN bic = '' THEN excluded.bic ELSE bic END, "
      "signature_date = coalesce(signature_date, excluded.signature_date), "
      "imported_first_collection = CASE WHEN imported_first_collection IS NULL OR "
      "excluded.imported_first_collection < imported_first_collection THEN "
      "coalesce(excluded.imported_first_collection, imported_first_collection) ELSE "
      "imported_first_collection END");
  int32_t touched = 0;
  for (size_t index = 1; index < rows.size(); ++index) {
    const std::vector<std::string>& fields = rows[index];
    const int number = static_cast<int>(index) + 1;
    const std::string reference = At(fields, columns.reference);
    if (reference.empty()) continue;
    upsert.Bind(1, std::string_view(reference))
        .Bind(2, std::string_view(At(fields, columns.name)))
        .Bind(3, std::string_view(At(fields, columns.iban)))
        .Bind(4, std::string_view(At(fields, columns.bic)))
        .Bind(5, DayAt(fields, columns.signature, csv_path, number))
        .Bind(6, DayAt(fields, columns.first, csv_path, number))
        .Run();
    detail::RefreshMandates(db, "reference = ?1", std::string_view(reference));
    ++touched;
  }
  transaction.Commit();
  return touched;
}

}  // namespace lastora::mandate_register
