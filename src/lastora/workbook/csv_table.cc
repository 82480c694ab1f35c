#include <algorithm>
#include <array>

#include "core/csv_fields.h"
#include "lastora/csv.h"

namespace lastora {
namespace {

// Output is handed on in pieces of about this size, so that a large table never exists twice in
// memory, once as cells and once as text.
constexpr size_t kPieceSize = 1 << 16;

bool IsBlankText(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// Lays out rows of fields as CsvToTable describes. for_each_field(visit) calls
// visit(field, row_ends) for every field in order; it is called twice, first to find the rows
// that stay and their width, then to fill the table.
template <typename ForEachField>
Table FieldsToTable(const ForEachField& for_each_field, int32_t first_row) {
  const size_t begin = static_cast<size_t>(std::max(first_row, 1) - 1);
  size_t row = 0, fields_in_row = 0, end = 0, width = 0, width_since_filled = 0;
  bool blank_row = true;
  for_each_field([&](std::string_view field, bool row_ends) {
    ++fields_in_row;
    blank_row = blank_row && IsBlankText(field);
    if (!row_ends) return;
    if (row >= begin) {
      // Blank rows count towards the width only when a filled row follows them.
      width_since_filled = std::max(width_since_filled, fields_in_row);
      if (!blank_row) {
        end = row + 1;
        width = std::max(width, width_since_filled);
        width_since_filled = 0;
      }
    }
    ++row;
    fields_in_row = 0;
    blank_row = true;
  });
  if (begin >= end) return Table();
  Table table(static_cast<int32_t>(end - begin), static_cast<int32_t>(width));
  row = 0;
  size_t column = 0;
  for_each_field([&](std::string_view field, bool row_ends) {
    if (row >= begin && row < end && !IsBlankText(field)) {
      table(static_cast<int32_t>(row - begin + 1), static_cast<int32_t>(column + 1)) =
          Variant(field);
    }
    ++column;
    if (row_ends) {
      ++row;
      column = 0;
    }
  });
  return table;
}

constexpr std::array<bool, 256> kNeedsQuotes = [] {
  std::array<bool, 256> needs{};
  for (const unsigned char c : {';', '"', '\r', '\n'}) needs[c] = true;
  return needs;
}();

bool NeedsQuotes(std::string_view field) {
  return std::any_of(field.begin(), field.end(),
                     [](char c) { return kNeedsQuotes[static_cast<unsigned char>(c)]; });
}

void AppendField(std::string& out, std::string_view field) {
  if (!NeedsQuotes(field)) {
    out += field;
    return;
  }
  out += '"';
  for (size_t from = 0;;) {
    const size_t quote = field.find('"', from);
    if (quote == std::string_view::npos) {
      out += field.substr(from);
      break;
    }
    out += field.substr(from, quote + 1 - from);
    out += '"';  // a quote inside is doubled
    from = quote + 1;
  }
  out += '"';
}

void AppendCell(std::string& out, const Variant& cell) {
  if (cell.IsString()) {
    AppendField(out, cell.AsString());
  } else if (!cell.IsEmpty() && !cell.IsNull()) {
    AppendField(out, CStr(cell));
  }
}

}  // namespace

Table CsvToTable(const CsvRows& rows, int32_t first_row) {
  return FieldsToTable(
      [&rows](const auto& visit) {
        for (const std::vector<std::string>& row : rows) {
          for (size_t c = 0; c < row.size(); ++c) visit(row[c], c + 1 == row.size());
        }
      },
      first_row);
}

Table CsvTextToTable(std::string_view text, int32_t first_row) {
  return FieldsToTable(
      [text](const auto& visit) {
        csv::FieldReader fields(text);
        std::string_view field;
        bool row_ends = false;
        while (fields.Next(&field, &row_ends)) visit(field, row_ends);
      },
      first_row);
}

void TableToCsvPieces(const Table& table, const std::vector<std::string>& header,
                      const std::function<void(std::string_view)>& piece) {
  std::string out;
  out.reserve(2 * kPieceSize);
  for (size_t i = 0; i < header.size(); ++i) {
    if (i > 0) out += ';';
    AppendField(out, header[i]);
  }
  if (!header.empty()) out += "\r\n";
  for (int32_t r = table.RowLower(); r <= table.RowUpper(); ++r) {
    for (int32_t c = table.ColLower(); c <= table.ColUpper(); ++c) {
      if (c > table.ColLower()) out += ';';
      AppendCell(out, table(r, c));
    }
    out += "\r\n";
    if (out.size() >= kPieceSize) {
      piece(out);
      out.clear();
    }
  }
  if (!out.empty()) piece(out);
}

std::string TableToCsv(const Table& table, const std::vector<std::string>& header) {
  std::string out;
  TableToCsvPieces(table, header, [&out](std::string_view piece) { out += piece; });
  return out;
}

}  // namespace lastora
