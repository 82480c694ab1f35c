#include "lastora/member_list.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>
#include <optional>
#include <vector>

#include "component/catalogue.h"
#include "component/helpers.h"
#include "core/text.h"
#include "lastora/account_lookup.h"
#include "lastora/csv.h"

namespace lastora {
namespace {

constexpr int32_t kName = 3, kIban = 4, kBic = 5, kErrors = 26, kWarnings = 27;
constexpr int32_t kAccount = 22, kBankCode = 23, kCountry = 24;
constexpr int kErrorColour = 3, kWarningColour = 6;

struct ColumnMapping {
  SEPAVALUES SEPAVARIABLEN::*setting;
  const char* label;  // for the inputs the catalogue has no message of its own
  int message;        // catalogue message, 0: none
  int32_t target;     // column of the payment layout
  bool required;      // 0 ("no such column") is not allowed
};

// The import columns and where each lands. Every entry may be "0" or left empty except the
// account holder's name; the IBAN may be 0 only when account number and bank code are mapped.
constexpr ColumnMapping kMappings[] = {
    {&SEPAVARIABLEN::Import__NAME, "Name", 27, kName, true},
    {&SEPAVARIABLEN::Import__MITG, "Mitglied", 28, 21, false},
    {&SEPAVARIABLEN::Import__IBAN, "IBAN", 29, kIban, false},
    {&SEPAVARIABLEN::Import__KONT, "Kontonummer", 30, kAccount, false},
    {&SEPAVARIABLEN::Import__BIC_, "BIC", 31, kBic, false},
    {&SEPAVARIABLEN::Import__BLZ_, "BLZ", 32, kBankCode, false},
    {&SEPAVARIABLEN::Import__LAND, "Land", 33, kCountry, false},
    {&SEPAVARIABLEN::Import__MAND, "Mandat", 34, 10, false},
    {&SEPAVARIABLEN::Import__MDAT, "Mandatsdatum", 35, 11, false},
    {&SEPAVARIABLEN::Import__EDAT, "Erste Ausführung", 65, 20, false},
    {&SEPAVARIABLEN::Import__PAID, "Payment-ID", 0, 7, false},
    {&SEPAVARIABLEN::Import__EINM, "Einmalbetrag", 0, 13, false},
    {&SEPAVARIABLEN::Import__NACH, "Nachzahlung", 0, 14, false},
    {&SEPAVARIABLEN::Import__GUTS, "Gutschrift", 0, 15, false},
    {&SEPAVARIABLEN::Import__MONB, "Beitrag", 0, 17, false},
    {&SEPAVARIABLEN::Import__EINT, "Eintritt", 0, 18, false},
    {&SEPAVARIABLEN::Import__AUST, "Austritt", 0, 19, false},
};

std::string MappingMessage(const ColumnMapping& mapping) {
  if (mapping.message != 0) return Message(mapping.message);
  return std::string("Import-Spalte für ") + mapping.label +
         " nicht oder nicht richtig angegeben: ";
}

// A column named by its title rather than by its number.
bool IsTitle(const std::string& trimmed) {
  return trimmed.find_first_not_of("0123456789") != std::string::npos;
}

// The source column of a mapping: a number from 0 (none) to the source's columns, or the title of
// one. Empty is none except for the account holder's name. nullopt when it names no column.
std::optional<int32_t> SourceColumn(const ColumnMapping& mapping, const std::string& value,
                                    const std::vector<std::string>& titles, int32_t columns) {
  const std::string trimmed = text::Trim(value);
  if (trimmed.empty()) return mapping.required ? std::nullopt : std::optional<int32_t>(0);
  if (IsTitle(trimmed)) {
    const std::string wanted = text::UCase(trimmed);
    for (size_t i = 0; i < titles.size() && i < static_cast<size_t>(columns); ++i) {
      if (text::UCase(text::Trim(titles[i])) == wanted) return static_cast<int32_t>(i + 1);
    }
    return std::nullopt;
  }
  if (trimmed.size() > 6) return std::nullopt;
  const int32_t column = std::stoi(trimmed);
  if (column > columns || (column == 0 && mapping.required)) return std::nullopt;
  return column;
}

// What the list offers, for a mapping that names no column of it.
std::string WhatTheListHas(const std::string& value, const std::vector<std::string>& titles,
                           int32_t columns) {
  const bool is_title = IsTitle(text::Trim(value));
  if (!is_title || titles.empty()) {
    return " (die Liste hat " + std::to_string(columns) + " Spalten" +
           (is_title ? ", keine Überschriftenzeile über Import__LINE)" : ")");
  }
  std::string listed;
  for (const std::string& title : titles) {
    if (!text::Trim(title).empty()) listed += (listed.empty() ? "" : ", ") + text::Trim(title);
  }
  return " (Überschriften der Liste: " + listed + ")";
}

bool IsBlankCell(const Variant& cell) {
  return cell.IsEmpty() || (cell.IsString() && text::TrimmedView(cell.AsString()).empty());
}

std::string CellText(const Table& table, int32_t row, int32_t col) {
  const Variant& cell = table(row, col);
  if (cell.IsString()) return text::Trim(cell.AsString());
  return cell.IsEmpty() ? std::string() : text::Trim(CStr(cell));
}

void AddRowMessage(ColouredTable& table, int32_t row, int32_t column, const std::string& message) {
  Variant& cell = table.values(row, column);
  cell = IsBlankCell(cell) ? message : CStr(cell) + ", " + message;
}

void Mark(ColouredTable& table, int32_t row, int32_t cell_column, int colour) {
  table.colours(row, cell_column) = static_cast<int32_t>(colour);
}

struct ImportCounts {
  int32_t errors = 0;
  int32_t warnings = 0;
};

void BuildIban(Class1& component, ColouredTable& table, int32_t row, ImportCounts& counts) {
  std::string country = CellText(table.values, row, kCountry);
  if (country.empty()) country = "DE";
  std::string bank_code = CellText(table.values, row, kBankCode);
  std::string account = CellText(table.values, row, kAccount);
  const std::string iban = component.Get_IBAN("", country, bank_code, account);
  if (IsAccountMessage(iban)) {
    AddRowMessage(table, row, kErrors, iban);
    Mark(table, row, kAccount, kErrorColour);
    Mark(table, row, kBankCode, kErrorColour);
    ++counts.errors;
    return;
  }
  table.values(row, kIban) = iban;
  table.values(row, kAccount) = account;
  table.values(row, kCountry) = country;
  AddRowMessage(table, row, kWarnings, Message(163));
  Mark(table, row, kIban, kWarningColour);
  ++counts.warnings;
}

void SplitIban(Class1& component, ColouredTable& table, int32_t row, ImportCounts& counts) {
  const std::string given = CellText(table.values, row, kIban);
  std::string country, bank_code, account;
  const std::string checked = component.Get_IBAN(given, country, bank_code, account);
  if (IsAccountMessage(checked)) {
    AddRowMessage(table, row, kErrors, checked + ": " + given);
    table.values(row, kIban) = Variant();
    Mark(table, row, kIban, kErrorColour);
    ++counts.errors;
    return;
  }
  const auto fill = [&](int32_t column, const std::string& value) {
    if (IsBlankCell(table.values(row, column))) table.values(row, column) = value;
  };
  fill(kAccount, account);
  fill(kBankCode, bank_code);
  fill(kCountry, country);
}

// Whether an account identifier is already as the bank wants it, as nearly all are: no blanks and
// no small letters, nor anything beyond plain text, which may hold some.
bool IsWholeAndCapital(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    return c == ' ' || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
  });
}

bool WantsBicLookup(const ColouredTable& table) {
  for (int32_t r = 1; r <= table.values.RowCount(); ++r) {
    if (table.values(r, kBic).IsEmpty() && CellText(table.values, r, kCountry).starts_with("DE") &&
        !CellText(table.values, r, kBankCode).empty()) {
      return true;
    }
  }
  return false;
}

// Fills empty BICs from the bank-code file, as the workbook's lookup does.
std::string LookUpBics(Class1& component, SEPAVARIABLEN& settings, ColouredTable& table,
                       ImportCounts& counts) {
  const std::string file = text::Trim(settings.ProgBLZ_File.Value);
  if (file.empty() || file == "-" || !WantsBicLookup(table)) return "ok";
  if (!CheckPathAndFile(file, "", "")) return Message(56) + " " + file;
  component.settings().ProgBLZ_File.Value = file;
  component.lngZZ_FEHL = 0;
  component.lngZZ_WARN = 0;
  Table internal, passed_on;
  const std::string result = component.Check_BIC(1, kBankCode, 8, kBic, "extern", settings,
                                                 table.values, table.colours, internal, passed_on);
  counts.errors += component.lngZZ_FEHL;
  counts.warnings += component.lngZZ_WARN;
  return result == "Not found" ? "ok" : result;
}

}  // namespace

std::string ReadSheet(Class1& component, const std::string& path, const std::string& sheet,
                      int32_t first_row, Table& rows) {
  if (!std::filesystem::is_regular_file(path)) return Message(37) + path;
  if (first_row < 1) return Message(39) + std::to_string(first_row);
  if (HasExtension(path, ".csv")) {
    try {
      rows = CsvTextToTable(ReadTextFile(path, "Mitgliederliste"), first_row);
    } catch (const CsvQuoteError& e) {
      return path + ": " + e.what();
    }
    return rows.IsAllocated() ? "ok" : "Keine Daten!";
  }
  Table read;
  // The component looks for a bare file name in the program folder.
  const std::string result = component.GetColumnsFromExcelFile(
      std::filesystem::absolute(path).string(), read, sheet, first_row);
  if (result != "ok") return result;
  for (int32_t r = read.RowLower(); r <= read.RowUpper(); ++r) {
    for (int32_t c = read.ColLower(); c <= read.ColUpper(); ++c) {
      if (IsBlankCell(read(r, c))) read(r, c) = Variant();
    }
  }
  rows = std::move(read);
  return "ok";
}

std::vector<std::string> ReadTitles(Class1& component, const std::string& path,
                                    const std::string& sheet, int32_t first_row) {
  std::vector<std::string> titles;
  Table header;
  if (first_row < 2 || ReadSheet(component, path, sheet, first_row - 1, header) != "ok") {
    return titles;
  }
  for (int32_t c = header.ColLower(); c <= header.ColUpper(); ++c) {
    titles.push_back(CellText(header, header.RowLower(), c));
  }
  return titles;
}

bool NamesColumnsByTitle(const SEPAVARIABLEN& settings) {
  for (const ColumnMapping& mapping : kMappings) {
    if (IsTitle(text::Trim((settings.*(mapping.setting)).Value))) return true;
  }
  return false;
}

std::string MapMembers(Table source, const SEPAVARIABLEN& settings, ColouredTable& out,
                       const std::vector<std::string>& titles) {
  const int32_t columns = source.ColCount();
  std::array<int32_t, kPaymentColumns + 1> source_of{};  // by target column; 0: none
  for (const ColumnMapping& mapping : kMappings) {
    const std::string& value = (settings.*(mapping.setting)).Value;
    const std::optional<int32_t> column = SourceColumn(mapping, value, titles, columns);
    if (!column) return MappingMessage(mapping) + value + WhatTheListHas(value, titles, columns);
    source_of[mapping.target] = *column;
  }
  if (source_of[kIban] == 0 && (source_of[kAccount] == 0 || source_of[kBankCode] == 0)) {
    return Message(29) + "0 (ohne Kontonummer und BLZ)";
  }
  const int32_t rows = source.RowCount();
  out.values = Table(rows, kPaymentColumns);
  out.colours = Table(rows, kPaymentColumns);
  // A column may feed several targets: only the last one takes its cells, the others copy them
  // before. The cells go row by row, the order both tables are stored in: column by column, on a
  // large list nearly every cell read and written was a cache miss.
  struct Feed {
    int32_t target;
    int32_t column;  // in the source
    bool take;
  };
  std::vector<int32_t> last_target_of(static_cast<size_t>(columns) + 1);  // by source column
  for (int32_t target = 1; target <= kPaymentColumns; ++target) {
    last_target_of[static_cast<size_t>(source_of[target])] = target;
  }
  std::vector<Feed> feeds;
  for (int32_t target = 1; target <= kPaymentColumns; ++target) {
    if (source_of[target] == 0) continue;
    feeds.push_back({target, source.ColLower() + source_of[target] - 1,
                     last_target_of[static_cast<size_t>(source_of[target])] == target});
  }
  for (int32_t r = 0; r < rows; ++r) {
    for (const Feed& feed : feeds) {
      Variant& held = source(source.RowLower() + r, feed.column);
      Variant cell = feed.take ? std::move(held) : held;
      if (IsBlankCell(cell)) continue;
      // Account identifiers are often written in groups of four and in small letters; the bank
      // and the check digits want them whole and in capitals.
      if ((feed.target == kIban || feed.target == kBic) && cell.IsString() &&
          !IsWholeAndCapital(cell.AsString())) {
        cell = text::UCase(RemoveBlanks(cell.AsString()));
      }
      out.values(r + 1, feed.target) = std::move(cell);
    }
  }
  return "ok";
}

std::string CompleteAccounts(Class1& component, SEPAVARIABLEN& settings, ColouredTable& table) {
  ImportCounts counts;
  for (int32_t r = 1; r <= table.values.RowCount(); ++r) {
    if (!CellText(table.values, r, kIban).empty()) {
      SplitIban(component, table, r, counts);
    } else if (!CellText(table.values, r, kAccount).empty() &&
               !CellText(table.values, r, kBankCode).empty()) {
      BuildIban(component, table, r, counts);
    }
  }
  const std::string result = LookUpBics(component, settings, table, counts);
  settings.ProgImpoFehl.Value = std::to_string(counts.errors);
  settings.ProgImpoWarn.Value = std::to_string(counts.warnings);
  settings.ProgImpoZeic.Value = "0";
  settings.ProgImpoUmla.Value = "0";
  return result;
}

}  // namespace lastora
