#include <algorithm>

#include "lastora/csv.h"

namespace lastora {
namespace {

bool IsBlankText(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string Quoted(const std::string& field) {
  if (field.find_first_of(";\"\r\n") == std::string::npos) return field;
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

Table CsvToTable(const CsvRows& rows, int32_t first_row) {
  const auto is_blank_row = [](const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& f) { return IsBlankText(f); });
  };
  size_t end = rows.size();
  while (end > 0 && is_blank_row(rows[end - 1])) --end;
  const size_t begin = static_cast<size_t>(std::max(first_row, 1) - 1);
  if (begin >= end) return Table();
  size_t width = 0;
  for (size_t r = begin; r < end; ++r) width = std::max(width, rows[r].size());
  Table table(static_cast<int32_t>(end - begin), static_cast<int32_t>(width));
  for (size_t r = begin; r < end; ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      if (!IsBlankText(rows[r][c])) {
        table(static_cast<int32_t>(r - begin + 1), static_cast<int32_t>(c + 1)) = rows[r][c];
      }
    }
  }
  return table;
}

std::string TableToCsv(const Table& table, const std::vector<std::string>& header) {
  std::string out;
  const auto add_row = [&out](const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out += ';';
      out += Quoted(fields[i]);
    }
    out += "\r\n";
  };
  if (!header.empty()) add_row(header);
  for (int32_t r = table.RowLower(); r <= table.RowUpper(); ++r) {
    std::vector<std::string> fields;
    for (int32_t c = table.ColLower(); c <= table.ColUpper(); ++c) {
      const Variant& cell = table(r, c);
      fields.push_back(cell.IsEmpty() || cell.IsNull() ? std::string() : CStr(cell));
    }
    add_row(fields);
  }
  return out;
}

}  // namespace lastora
