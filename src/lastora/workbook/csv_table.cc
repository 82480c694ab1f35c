#include <algorithm>
#include <array>
#include <vector>

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

// Lines ended by LF, and a last one without: the rows of nearly every list, counted far faster
// than the fields are read. Quoted line breaks make it more, lone CRs fewer.
size_t LineCount(std::string_view text) {
  size_t lines = text.empty() || text.back() == '\n' ? 0 : 1;
  // memchr strides over whole lines where a byte-by-byte count looks at each byte.
  for (size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    ++lines;
  }
  return lines;
}

// Moves a filled row's cells to row `index` (0-based) of the table, making room as rows arrive:
// at first for the rows the caller expects, then twice as many each time. A row wider than the
// table widens it by half again at least, so that lists whose rows keep widening stay linear.
void PlaceRow(Table& table, size_t index, std::vector<Variant>& cells, size_t rows_expected) {
  const auto cols = static_cast<size_t>(table.ColCount());
  if (cells.size() > cols) {
    table.ResizeColumns(static_cast<int32_t>(std::max(cells.size(), cols + cols / 2)));
  }
  const auto rows = static_cast<size_t>(table.RowCount());
  if (index >= rows) {
    table.ResizeRows(static_cast<int32_t>(std::max({index + 1, rows_expected, 2 * rows})));
  }
  const auto row = static_cast<int32_t>(index + 1);
  for (size_t c = 0; c < cells.size(); ++c) {
    if (!cells[c].IsEmpty()) table(row, static_cast<int32_t>(c + 1)) = std::move(cells[c]);
  }
}

// The leading rows x cols cells of `table`, moved into a table of just that size.
Table Compacted(Table& table, int32_t rows, int32_t cols) {
  Table compact(rows, cols);
  const int32_t filled_cols = std::min(cols, table.ColCount());
  for (int32_t r = 1; r <= rows; ++r) {
    for (int32_t c = 1; c <= filled_cols; ++c) compact(r, c) = std::move(table(r, c));
  }
  return compact;
}

// Lays out rows of fields as CsvToTable describes, in one reading of the fields:
// for_each_field(visit) calls visit(field, row_ends) for every field in order. `rows_expected`
// is about how many rows there are (from the start); it only sizes the table at first.
template <typename ForEachField>
Table FieldsToTable(const ForEachField& for_each_field, int32_t first_row, size_t rows_expected) {
  const size_t begin = static_cast<size_t>(std::max(first_row, 1) - 1);
  Table table;
  std::vector<Variant> cells;  // of the row being read; its blank fields stay Empty
  size_t row = 0, end = 0, width = 0, width_since_filled = 0;
  bool blank_row = true;
  for_each_field([&](std::string_view field, bool row_ends) {
    const bool blank = IsBlankText(field);
    blank_row = blank_row && blank;
    if (row >= begin) cells.push_back(blank ? Variant() : Variant(field));
    if (!row_ends) return;
    if (row >= begin) {
      // Blank rows count towards the width only when a filled row follows them.
      width_since_filled = std::max(width_since_filled, cells.size());
      if (!blank_row) {
        end = row + 1;
        width = std::max(width, width_since_filled);
        width_since_filled = 0;
        PlaceRow(table, row - begin, cells, rows_expected > begin ? rows_expected - begin : 0);
      }
      cells.clear();
    }
    ++row;
    blank_row = true;
  });
  if (begin >= end) return Table();
  const auto rows = static_cast<int32_t>(end - begin);
  const auto cols = static_cast<int32_t>(width);
  // Many quoted line breaks make room for far more rows than there are: that room is given back.
  if (table.RowCount() > 2 * rows) return Compacted(table, rows, cols);
  // Blank rows at the end and room made ahead hold no cells: cutting them loses nothing.
  table.ResizeRows(rows);
  table.ResizeColumns(cols);
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
      first_row, rows.size());
}

Table CsvTextToTable(std::string_view text, int32_t first_row) {
  return FieldsToTable(
      [text](const auto& visit) {
        csv::FieldReader fields(text);
        std::string_view field;
        bool row_ends = false;
        while (fields.Next(&field, &row_ends)) visit(field, row_ends);
      },
      first_row, LineCount(text));
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
