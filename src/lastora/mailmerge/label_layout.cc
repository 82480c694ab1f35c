#include "mailmerge/label_layout.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "core/cell_reference.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

// The tallest row and the widest column the spreadsheet program keeps.
constexpr double kMaxRowHeight = 409;
constexpr double kMaxColumnWidth = 255;

constexpr int32_t kBlockRowsColumn = 2;
constexpr int32_t kBlockColumnsColumn = 3;
constexpr int32_t kAcrossColumn = 4;
constexpr int32_t kRowsPerPageColumn = 5;
constexpr int32_t kFirstPositionColumn = 6;
constexpr int32_t kOrderColumn = 7;
constexpr int32_t kRowHeightsColumn = 14;
constexpr int32_t kColumnWidthsColumn = 15;

std::string CellName(int32_t row, int32_t column) {
  return "Im Blatt Settings, Zeile " + std::to_string(row) + ", Spalte " + std::to_string(column);
}

// The workbook stores numbers with ".", a treasurer types them with ",": both are read.
bool ParseNumber(std::string_view text, double* value) {
  std::string plain(text::TrimmedView(text));
  for (char& c : plain) {
    if (c == ',') c = '.';
  }
  const char* end = plain.data() + plain.size();
  const auto [stop, error] = std::from_chars(plain.data(), end, *value);
  return !plain.empty() && error == std::errc() && stop == end && std::isfinite(*value);
}

class SettingsRow {
 public:
  SettingsRow(const std::vector<std::string>& texts, int32_t row) : texts_(texts), row_(row) {}

  // Empty counts as 0, so that an unfilled cell takes the fallback.
  int32_t Whole(int32_t column) const {
    const std::string& text = Text(column);
    if (text::TrimmedView(text).empty()) return 0;
    double value = 0;
    if (!ParseNumber(text, &value) || std::abs(value) > 1e9) {
      throw VbError(13, "Etiketten: " + CellName(row_, column) + " steht „" + text +
                            "“ statt einer ganzen Zahl.");
    }
    return static_cast<int32_t>(std::lround(value));
  }

  std::vector<double> Sizes(int32_t column, double most, const std::string& what) const {
    std::vector<double> sizes;
    const std::string& list = Text(column);
    if (text::TrimmedView(list).empty()) return sizes;
    size_t at = 0;
    while (true) {
      const size_t end = list.find(';', at);
      const std::string entry = list.substr(at, end == std::string::npos ? end : end - at);
      double value = 0;
      if (text::TrimmedView(entry).empty()) {
        value = 0;
      } else if (!ParseNumber(entry, &value) || value < 0 || value > most) {
        throw VbError(13, "Etiketten: " + CellName(row_, column) + " ist „" +
                              std::string(text::TrimmedView(entry)) + "“ keine " + what +
                              " (0 bis " + std::to_string(static_cast<int>(most)) + ").");
      }
      sizes.push_back(value);
      if (end == std::string::npos) break;
      at = end + 1;
    }
    return sizes;
  }

 private:
  const std::string& Text(int32_t column) const {
    static const std::string kEmpty;
    return column <= static_cast<int32_t>(texts_.size()) ? texts_[column - 1] : kEmpty;
  }

  const std::vector<std::string>& texts_;
  int32_t row_;
};

int32_t AtLeastOne(int32_t value, int32_t fallback) { return value < 1 ? fallback : value; }

}  // namespace

LabelSettings ReadLabelSettings(const std::vector<std::string>& row, int32_t settings_row,
                                SheetExtent used) {
  const SettingsRow cells(row, settings_row);
  LabelSettings settings;
  // Without a size of its own the label is the whole template, which is what a template with
  // one label drawn on it means.
  settings.block_rows = AtLeastOne(cells.Whole(kBlockRowsColumn), std::max(used.rows, 1));
  settings.block_columns = AtLeastOne(cells.Whole(kBlockColumnsColumn), std::max(used.columns, 1));
  settings.across = AtLeastOne(cells.Whole(kAcrossColumn), 1);
  settings.rows_per_page = std::max(cells.Whole(kRowsPerPageColumn), 0);
  settings.first_position = AtLeastOne(cells.Whole(kFirstPositionColumn), 1);
  settings.down_first = cells.Whole(kOrderColumn) == 1;
  settings.row_heights = cells.Sizes(kRowHeightsColumn, kMaxRowHeight, "Zeilenhöhe in Punkt");
  settings.column_widths =
      cells.Sizes(kColumnWidthsColumn, kMaxColumnWidth, "Spaltenbreite in Zeichen");
  return settings;
}

LabelSheet PlanLabelSheet(const LabelSettings& settings,
                          std::vector<std::vector<TemplateCell>> labels) {
  LabelSheet sheet;
  sheet.block_rows = settings.block_rows;
  sheet.block_columns = settings.block_columns;
  sheet.labels_across = settings.across;
  sheet.row_heights = settings.row_heights;
  sheet.column_widths = settings.column_widths;
  const int64_t across = settings.across;
  const int64_t per_page = settings.rows_per_page;
  // Down the page first needs to know where the page ends; without that the labels run across.
  const bool down_first = settings.down_first && per_page > 0;
  int64_t label_rows = 0;
  std::vector<std::pair<int64_t, int64_t>> places;  // label row, label column
  for (size_t i = 0; i < labels.size(); ++i) {
    // A sheet of label paper already partly used starts further on.
    const int64_t position = settings.first_position - 1 + static_cast<int64_t>(i);
    int64_t row = position / across;
    int64_t column = position % across;
    if (down_first) {
      const int64_t on_page = position % (across * per_page);
      row = position / (across * per_page) * per_page + on_page % per_page;
      column = on_page / per_page;
    }
    places.emplace_back(row, column);
    label_rows = std::max(label_rows, row + 1);
  }
  if (label_rows * settings.block_rows > detail::kMaxSheetRows ||
      across * settings.block_columns > detail::kMaxSheetColumns) {
    throw VbError(1004, "Etiketten: " + std::to_string(labels.size()) +
                            " Etiketten passen in dieser Anordnung nicht auf ein Tabellenblatt.");
  }
  sheet.label_rows = static_cast<int32_t>(label_rows);
  for (size_t i = 0; i < labels.size(); ++i) {
    sheet.labels.push_back({static_cast<int32_t>(places[i].first * settings.block_rows + 1),
                            static_cast<int32_t>(places[i].second * settings.block_columns + 1),
                            std::move(labels[i])});
  }
  if (per_page > 0) {
    for (int64_t row = per_page; row < label_rows; row += per_page) {
      sheet.page_breaks.push_back(static_cast<int32_t>(row * settings.block_rows));
    }
  }
  return sheet;
}

}  // namespace lastora
