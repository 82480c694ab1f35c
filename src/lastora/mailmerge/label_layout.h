// Label templates: how a "Settings" row places the records' labels on one sheet.
#ifndef LASTORA_MAILMERGE_LABEL_LAYOUT_H_
#define LASTORA_MAILMERGE_LABEL_LAYOUT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "lastora/office.h"

namespace lastora {

// The sheet in a label template that holds the layout, one row per definition row.
inline constexpr char kLabelSettingsSheet[] = "Settings";
inline constexpr int32_t kLabelSettingsColumns = 15;

// One row of the "Settings" sheet. Column 1 is free for a description; columns 2 to 7 hold
// whole numbers, 8 to 13 are not used, 14 and 15 hold ";"-separated lists:
//   2  rows per label          below 1: the used rows of the label sheet
//   3  columns per label       below 1: the used columns of the label sheet
//   4  labels across           below 1: 1
//   5  label rows per page     below 1: no page breaks of the run's own
//   6  first label position    below 1: 1; the positions before it stay empty
//   7  order                   1: down the page first, anything else: across first
//   14 row heights in points, one per row of the label ("" keeps the template's)
//   15 column widths in characters, one per column of the label ("" keeps the template's)
struct LabelSettings {
  int32_t block_rows = 1;
  int32_t block_columns = 1;
  int32_t across = 1;
  int32_t rows_per_page = 0;
  int32_t first_position = 1;
  bool down_first = false;
  std::vector<double> row_heights;
  std::vector<double> column_widths;
};

// `row` holds the texts of columns 1 to 15 of Settings row `settings_row`; `used` is the used
// part of the label sheet. VbError 13 naming the cell when a number or list entry is not one.
LabelSettings ReadLabelSettings(const std::vector<std::string>& row, int32_t settings_row,
                                SheetExtent used);

// Places the filled labels, in the run's record order, on the sheet. VbError 1004 when they
// do not fit on one sheet.
LabelSheet PlanLabelSheet(const LabelSettings& settings,
                          std::vector<std::vector<TemplateCell>> labels);

}  // namespace lastora

#endif  // LASTORA_MAILMERGE_LABEL_LAYOUT_H_
