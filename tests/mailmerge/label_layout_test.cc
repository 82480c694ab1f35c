// Where a "Settings" row puts the labels of a label template.
#include "mailmerge/label_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/vb_error_number.h"

namespace lastora {
namespace {

// A Settings row (columns 1 to 15) whose only entry is the list of row heights.
std::vector<std::string> Row(const std::string& heights) {
  std::vector<std::string> row(kLabelSettingsColumns);
  row[13] = heights;
  return row;
}

const std::vector<std::vector<TemplateCell>> kOneLabel = {{{2, 1, "Etikett 1"}}};

TEST(LabelSettingsTest, WhatIsNoNumberIsRefusedNamingTheCell) {
  const auto message = [](const std::vector<std::string>& row) {
    return testing::ErrorTextOf([&] { ReadLabelSettings(row, 3, {5, 2}); });
  };
  // A height that is no number, and one below the range, after a good one (a count that is no
  // whole number is the merge run's label case).
  for (const std::string height : {"hoch", "-4"}) {
    EXPECT_EQ(message(Row("13;" + height)),
              "13 Etiketten: Im Blatt Settings, Zeile 3, Spalte 14 ist „" + height +
                  "“ keine Zeilenhöhe in Punkt (0 bis 409).");
  }
}

TEST(LabelSheetTest, ALayoutBeyondOneSheetIsRefused) {
  LabelSettings settings;
  settings.block_columns = 200;
  settings.across = 100;
  EXPECT_EQ(testing::ErrorOf([&] { PlanLabelSheet(settings, kOneLabel); }), 1004);
  settings.block_columns = 1;
  settings.across = 1;
  settings.block_rows = 1000;
  settings.first_position = 2000;
  EXPECT_EQ(testing::ErrorOf([&] { PlanLabelSheet(settings, kOneLabel); }), 1004);
}

}  // namespace
}  // namespace lastora
