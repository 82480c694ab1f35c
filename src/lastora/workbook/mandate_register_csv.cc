#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "lastora/mandate_register.h"
#include "workbook/register_impl.h"

namespace lastora::mandate_register {
namespace {

constexpr const char* kHeader =
    "Mandat;Name;IBAN;BIC;Mandatsdatum;Erste Abbuchung;Letzte Abbuchung";

std::string Field(const std::string& text) {
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string DayField(const std::optional<std::string>& day) {
  return day ? detail::GermanDay(*day) : std::string();
}

// One line split at the delimiter outside double quotes, each field trimmed of blanks.
std::vector<std::string> SplitLine(const std::string& line, char delimiter) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == delimiter && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields) {
    const auto first = field.find_first_not_of(" \t");
    field = first == std::string::npos
                ? std::string()
                : field.substr(first, field.find_last_not_of(" \t") - first + 1);
  }
  return fields;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Where each column sits in the file; -1 when it has none.
struct Columns {
  int reference = -1, name = -1, iban = -1, bic = -1, signature = -1, first = -1;
};

Columns ReadHeader(const std::vector<std::string>& header, const std::string& path) {
  Columns columns;
  for (int i = 0; i < static_cast<int>(header.size()); ++i) {
    const std::string name = Lower(header[static_cast<size_t>(i)]);
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
  return fields[static_cast<size_t>(column)];
}

std::optional<std::string> DayAt(const std::vector<std::string>& fields, int column,
                                 const std::string& path, int line) {
  const std::string text = At(fields, column);
  if (text.empty()) return std::nullopt;
  if (auto day = detail::ParseDay(text)) return day;
  throw RegisterError("Die Datei " + path + ", Zeile " + std::to_string(line) + ": \"" + text +
                      "\" ist kein Datum (TT.MM.JJJJ); nichts wurde übernommen.");
}

std::istream& ReadLine(std::istream& in, std::string& line) {
  if (std::getline(in, line) && !line.empty() && line.back() == '\r') line.pop_back();
  return in;
}

}  // namespace

void Register::ExportMandates(const std::string& csv_path) const {
  std::ostringstream out;
  out << kHeader << "\r\n";
  detail::Statement mandates(impl_->db,
                             "SELECT reference, debtor_name, iban, bic, signature_date, "
                             "first_collection, last_collection FROM mandates ORDER BY reference");
  while (mandates.Step()) {
    out << Field(mandates.Text(0)) << ';' << Field(mandates.Text(1)) << ';'
        << Field(mandates.Text(2)) << ';' << Field(mandates.Text(3)) << ';'
        << DayField(mandates.OptionalText(4)) << ';' << DayField(mandates.OptionalText(5)) << ';'
        << DayField(mandates.OptionalText(6)) << "\r\n";
  }
  // Written beside the target and renamed over it, so a failure never leaves half a file.
  const std::string temporary = csv_path + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file.flush()) {
      std::filesystem::remove(temporary);
      throw RegisterError("Die Datei " + csv_path + " lässt sich nicht schreiben.");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, csv_path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw RegisterError("Die Datei " + csv_path + " lässt sich nicht schreiben.");
  }
}

int32_t Register::ImportMandates(const std::string& csv_path) {
  std::ifstream file(csv_path, std::ios::binary);
  if (!file) throw RegisterError("Die Datei " + csv_path + " lässt sich nicht lesen.");
  std::string line;
  ReadLine(file, line);
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  const char delimiter = line.find(';') != std::string::npos ? ';' : ',';
  const Columns columns = ReadHeader(SplitLine(line, delimiter), csv_path);

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
  for (int number = 2; ReadLine(file, line); ++number) {
    const auto fields = SplitLine(line, delimiter);
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
