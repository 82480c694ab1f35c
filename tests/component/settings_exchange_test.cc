#include <gtest/gtest.h>

#include <string>

#include "component/run_frame.h"
#include "lastora/settings.h"
#include "lastora/variant.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

// Cell i holds the text "v<i>", so every cell's way through the record can be followed.
VariantArray Numbered(int32_t count) {
  VariantArray cells(count, 1);
  for (int32_t i = 1; i <= count; ++i) cells.At(i) = Variant("v" + std::to_string(i));
  return cells;
}

// The workbook reads the settings back from fixed cells, as text, in 206 cells.
TEST(SettingsExchange, RoundTripGivesBackEveryMappedCellAsTextAndClearsTheRest) {
  VariantArray cells = Numbered(300);
  cells.At(1) = Variant(static_cast<int16_t>(5));
  SEPAVARIABLEN record;
  VariablenToRecord(cells, record);
  RecordToVariablen(cells, record);

  ASSERT_EQ(cells.Count(), 206);
  EXPECT_EQ(cells.At(1), Variant("5"));
  // One character per cell, 50 to a line: '+' came back, '.' is Empty, '0' the empty text.
  std::string cell_map = "+";
  for (int32_t i = 2; i <= 206; ++i) {
    const Variant& cell = cells.At(i);
    const bool came_back = cell == Variant("v" + std::to_string(i));
    cell_map += cell.IsEmpty() ? '.' : came_back ? '+' : cell == Variant(std::string()) ? '0' : '?';
  }
  EXPECT_EQ(cell_map,
            "+++++++++++++......+++++++++++.+++++...+++++++++++"
            "++++++....++++++++..++++++++++++++......++++++++.."
            "++++++++..+++++++...++++++....+++.......+++......."
            "+++++++++0++++++++++++++++++++++++++++++++++++++++"
            "++++++");
}

TEST(SettingsExchange, FieldsUseTheirFixedCellsAndLeaveEverythingElseAlone) {
  SEPAVARIABLEN record;
  record.ProgNew_Vers.Value = "kept";  // a field without a cell
  record.KreditorNAME.Row = 7;
  VariantArray cells = Numbered(206);
  VariablenToRecord(cells, record);
  EXPECT_EQ(record.ProgBLZ_File.Value, "v142");
  EXPECT_EQ(record.SepaFuncVER0.Value, "v206");
  EXPECT_EQ(record.ProgNew_Vers.Value, "kept");
  EXPECT_EQ(record.KreditorNAME.Row, 7);
  record.ProgErzePAOK.Value = "ok";
  RecordToVariablen(cells, record);
  EXPECT_EQ(cells.At(133), Variant("ok"));
}

TEST(SettingsExchange, TooFewCellsFailAtTheFirstMissingOneWithEarlierFieldsFilled) {
  SEPAVARIABLEN record;
  EXPECT_EQ(ErrorOf([&] { VariablenToRecord(Numbered(100), record); }), 9);
  EXPECT_EQ(record.KreditorNAME.Value, "v1");
  EXPECT_EQ(record.ProgBearFehl.Value, "v94");
}

TEST(SettingsExchange, NullCellFailsTheRunButTheCallerStillGets206Cells) {
  VariantArray cells = Numbered(206);
  cells.At(50) = Variant::Null();
  SEPAVARIABLEN record;
  bool work_ran = false;
  const std::string result = RunInFrame("Exit", FinishRule::kOk, cells, record, [&](RunContext&) {
    work_ran = true;
    return RunEnd::kFinished;
  });
  EXPECT_EQ(result, "Fehler: Unzulässige Verwendung von Null (94)");
  EXPECT_FALSE(work_ran);
  ASSERT_EQ(cells.Count(), 206);
  EXPECT_EQ(cells.At(49), Variant("v49"));
  EXPECT_EQ(cells.At(50), Variant(std::string()));
}

}  // namespace
}  // namespace lastora
