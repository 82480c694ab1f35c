// Where a "Settings" row puts the labels of a label template.
#include "mailmerge/label_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/vb_error_number.h"

namespace lastora {
namespace {

using Places = std::vector<std::pair<int32_t, int32_t>>;

// Columns 1 to 15 of a Settings row: the given leading columns, the two lists at their place.
std::vector<std::string> Row(std::vector<std::string> leading, const std::string& heights = "",
                             const std::string& widths = "") {
  leading.resize(kLabelSettingsColumns);
  leading[13] = heights;
  leading[14] = widths;
  return leading;
}

// n labels of one cell each, the cell text naming the label's number.
std::vector<std::vector<TemplateCell>> Labels(int n) {
  std::vector<std::vector<TemplateCell>> labels;
  for (int i = 1; i <= n; ++i) labels.push_back({{2, 1, "Etikett " + std::to_string(i)}});
  return labels;
}

Places TopLeftCorners(const LabelSheet& sheet) {
  Places places;
  for (const Label& label : sheet.labels) places.emplace_back(label.top_row, label.left_column);
  return places;
}

// The whole numbers of a layout in the order of their Settings columns, 2 to 7.
std::vector<int32_t> Numbers(const LabelSettings& s) {
  return {s.block_rows, s.block_columns, s.across, s.rows_per_page, s.first_position, s.down_first};
}

TEST(LabelSettingsTest, NumbersAndListsAsTheWorkbookStoresOrATreasurerTypesThem) {
  const LabelSettings settings = ReadLabelSettings(
      Row({"", "6", " 2 ", "3", "7", "4", "1"}, "13;15,5;;41", "2;31.5"), 2, {5, 2});
  EXPECT_EQ(Numbers(settings), (std::vector<int32_t>{6, 2, 3, 7, 4, 1}));
  EXPECT_EQ(settings.row_heights, (std::vector<double>{13, 15.5, 0, 41}));
  EXPECT_EQ(settings.column_widths, (std::vector<double>{2, 31.5}));
}

TEST(LabelSettingsTest, WhatIsNoNumberIsRefusedNamingTheCell) {
  const auto message = [](const std::vector<std::string>& row) {
    return testing::ErrorTextOf([&] { ReadLabelSettings(row, 3, {5, 2}); });
  };
  // A height that is no number, and one below the range, after a good one (a count that is no
  // whole number is the merge run's label case).
  for (const std::string height : {"hoch", "-4"}) {
    EXPECT_EQ(message(Row({}, "13;" + height)),
              "13 Etiketten: Im Blatt Settings, Zeile 3, Spalte 14 ist „" + height +
                  "“ keine Zeilenhöhe in Punkt (0 bis 409).");
  }
}

TEST(LabelSheetTest, PagesBreakAfterTheirLabelRowsAndAUsedSheetStartsFurtherOn) {
  LabelSettings settings;
  settings.block_rows = 5;
  settings.across = 2;
  settings.rows_per_page = 2;
  settings.first_position = 4;  // three labels already gone from the first page
  const LabelSheet sheet = PlanLabelSheet(settings, Labels(6));
  EXPECT_EQ(TopLeftCorners(sheet), (Places{{6, 2}, {11, 1}, {11, 2}, {16, 1}, {16, 2}, {21, 1}}));
  EXPECT_EQ(sheet.label_rows, 5);
  EXPECT_EQ(sheet.page_breaks, (std::vector<int32_t>{10, 20}));
  // A page that ends exactly with the last label gets no empty page after it.
  settings.first_position = 1;
  EXPECT_EQ(PlanLabelSheet(settings, Labels(4)).page_breaks, (std::vector<int32_t>{}));
}

TEST(LabelSheetTest, ALayoutBeyondOneSheetIsRefused) {
  LabelSettings settings;
  settings.block_columns = 200;
  settings.across = 100;
  EXPECT_EQ(testing::ErrorOf([&] { PlanLabelSheet(settings, Labels(1)); }), 1004);
  settings.block_columns = 1;
  settings.across = 1;
  settings.block_rows = 1000;
  settings.first_position = 2000;
  EXPECT_EQ(testing::ErrorOf([&] { PlanLabelSheet(settings, Labels(1)); }), 1004);
}

}  // namespace
}  // namespace lastora
