#include "workbook/xlsx_file.h"

#include <xlsxwriter.h>

#include <array>
#include <cmath>
#include <ctime>
#include <string>

#include "core/files.h"
#include "lastora/platform.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"

namespace lastora {
namespace {

// The palette colours as the club's spreadsheet shows them (its default palette).
uint32_t PaletteRgb(int colour) {
  switch (colour) {
    case 3:
      return 0xFF0000;
    case 6:
      return 0xFFFF00;
    case 16:
      return 0x808080;
    case 45:
      return 0xFF9900;
    default:
      return 0;
  }
}

int ColourOf(const Variant& cell) {
  if (cell.IsEmpty() || !IsNumeric(cell)) return 0;
  const int colour = static_cast<int>(CDbl(cell));
  return PaletteRgb(colour) == 0 ? 0 : colour;
}

// Formats are made on first use: one per colour, with and without a date pattern.
class Formats {
 public:
  explicit Formats(lxw_workbook* workbook) : workbook_(workbook) {}
  lxw_format* Get(int colour, bool date) {
    if (colour == 0 && !date) return nullptr;
    lxw_format*& format = cache_[date ? 1 : 0][static_cast<size_t>(colour)];
    if (format == nullptr) {
      format = workbook_add_format(workbook_);
      if (colour != 0) {
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, PaletteRgb(colour));
      }
      if (date) format_set_num_format(format, "dd.mm.yyyy");
    }
    return format;
  }

 private:
  lxw_workbook* workbook_;
  std::array<std::array<lxw_format*, 64>, 2> cache_{};
};

// `text` is the one buffer that hands every text cell to the library, which wants it closed by a
// NUL; a buffer of its own per cell would cost an allocation for most of them.
void WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const Variant& cell, int colour,
               Formats& formats, std::string& text) {
  switch (cell.type()) {
    case VarType::kString:
      text.assign(cell.AsString());
      worksheet_write_string(sheet, row, col, text.c_str(), formats.Get(colour, false));
      break;
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kDouble:
      worksheet_write_number(sheet, row, col, CDbl(cell), formats.Get(colour, false));
      break;
    case VarType::kDate:
      worksheet_write_number(sheet, row, col, cell.AsDate(), formats.Get(colour, true));
      break;
    case VarType::kBoolean:
      worksheet_write_boolean(sheet, row, col, cell.AsBool(), formats.Get(colour, false));
      break;
    default:
      if (colour != 0) worksheet_write_blank(sheet, row, col, formats.Get(colour, false));
      break;
  }
}

// The clock's date serial (days since 30.12.1899) as seconds since 1.1.1970. The document's
// creation time follows the run's clock, so a run with a fixed clock writes the same bytes every
// time.
std::time_t CreationTime() {
  constexpr double kUnixEpochSerial = 25569;
  const double seconds = std::round((GetClock()->Now() - kUnixEpochSerial) * 86400);
  return seconds > 0 ? static_cast<std::time_t>(seconds) : 0;
}

// Writes the workbook to `file`, which stands in for `path`.
void WriteWorkbook(const std::string& file, const std::string& path, const ColouredTable& table,
                   const std::vector<std::string>& header) {
  // Rows go to the sheet's file as they are written, in order, and texts stay in their cells:
  // the whole sheet and a table of every distinct text never have to fit in memory at once.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
  if (workbook == nullptr) throw WorkbookError("Tabelle nicht geschrieben: " + path);
  lxw_doc_properties properties{};
  properties.created = CreationTime();
  workbook_set_properties(workbook, &properties);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Zahlungen");
  Formats formats(workbook);
  lxw_format* bold = workbook_add_format(workbook);
  format_set_bold(bold);
  lxw_row_t row = 0;
  if (!header.empty()) {
    for (size_t c = 0; c < header.size(); ++c) {
      worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), header[c].c_str(), bold);
    }
    row = 1;
  }
  const Table& values = table.values;
  const bool coloured = table.colours.RowCount() == values.RowCount() &&
                        table.colours.ColCount() == values.ColCount();
  std::string text;
  for (int32_t r = 0; r < values.RowCount(); ++r, ++row) {
    for (int32_t c = 0; c < values.ColCount(); ++c) {
      const Variant& cell = values(values.RowLower() + r, values.ColLower() + c);
      const int colour =
          coloured
              ? ColourOf(table.colours(table.colours.RowLower() + r, table.colours.ColLower() + c))
              : 0;
      WriteCell(sheet, row, static_cast<lxw_col_t>(c), cell, colour, formats, text);
    }
  }
  const lxw_error error = workbook_close(workbook);
  if (error != LXW_NO_ERROR) {
    throw WorkbookError("Tabelle nicht geschrieben: " + path + " (" + lxw_strerror(error) + ")");
  }
}

}  // namespace

void WriteXlsx(const std::string& path, const ColouredTable& table,
               const std::vector<std::string>& header) {
  try {
    // The library opens its file by name: it gets the writer's exclusive temporary, which only a
    // complete workbook replaces the target with.
    files::FileWriter file(path);
    WriteWorkbook(file.TemporaryPath(), path, table, header);
    file.Commit();
  } catch (const VbError& failure) {
    throw WorkbookError("Tabelle nicht geschrieben: " + path + " (" + failure.description() + ")");
  }
}

}  // namespace lastora
