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

  ASSERT_EQ(cells.Lower(), 1);
  ASSERT_EQ(cells.Count(), 206);
  EXPECT_EQ(cells.At(1), Variant("5"));
  // One character per cell, 50 to a line: '+' came back, '.' is Empty, '0' the empty text.
  std::string cell_map = "+";
  for (int32_t i = 2; i <= 206; ++i) {
    const Variant& cell = cells.At(i);
    if (cell.IsEmpty()) {
      cell_map += '.';
    } else if (cell == Variant(std::string())) {
      cell_map += '0';
    } else {
      EXPECT_EQ(cell, Variant("v" + std::to_string(i))) << i;
      cell_map += '+';
    }
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
  record.ProgNew_Vers.Value = "kept";  // fields without a cell
  record.Import__EDAT.Value = "kept too";
  record.KreditorNAME.Row = 7;
  record.KreditorNAME.IniSection = "Kreditor";
  VariantArray cells = Numbered(206);
  VariablenToRecord(cells, record);
  EXPECT_EQ(record.KreditorNAME.Value, "v1");
  EXPECT_EQ(record.User1JUG.Value, "v13");
  EXPECT_EQ(record.SepaFuncVER0.Value, "v206");
  EXPECT_EQ(record.SepaDAT1.Value, "v179");
  EXPECT_EQ(record.SepaVERF.Value, "v181");
  EXPECT_EQ(record.ProgBLZ_File.Value, "v142");
  EXPECT_EQ(record.Import__FREE.Value, "v170");
  EXPECT_EQ(record.ProgNew_Vers.Value, "kept");
  EXPECT_EQ(record.Import__EDAT.Value, "kept too");
  EXPECT_EQ(record.KreditorNAME.Row, 7);
  EXPECT_EQ(record.KreditorNAME.IniSection, "Kreditor");

  record.SepaFuncVER0.Value = "Trennen";
  record.ProgErzePAOK.Value = "ok";
  RecordToVariablen(cells, record);
  EXPECT_EQ(cells.At(206), Variant("Trennen"));
  EXPECT_EQ(cells.At(133), Variant("ok"));
}

TEST(SettingsExchange, TooFewCellsFailAtTheFirstMissingOneWithEarlierFieldsFilled) {
  SEPAVARIABLEN record;
  record.SepaVERF.Value = "untouched";
  EXPECT_EQ(ErrorOf([&] { VariablenToRecord(Numbered(100), record); }), 9);
  EXPECT_EQ(record.KreditorNAME.Value, "v1");
  EXPECT_EQ(record.SepaFuncMONT.Value, "v42");
  EXPECT_EQ(record.ProgBearFehl.Value, "v94");
  EXPECT_EQ(record.SepaVERF.Value, "untouched");
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
  EXPECT_EQ(cells.At(206), Variant(std::string()));
}

}  // namespace
}  // namespace lastora
