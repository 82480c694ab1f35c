#include <gtest/gtest.h>

#include <set>
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

// The cells that no field carries, and the one that always comes back as the empty text.
std::set<int32_t> UnmappedCells() {
  std::set<int32_t> cells;
  for (auto [from, to] : {std::pair{14, 19},
                          {31, 31},
                          {37, 39},
                          {57, 60},
                          {69, 70},
                          {85, 90},
                          {99, 100},
                          {109, 110},
                          {118, 120},
                          {127, 130},
                          {134, 140},
                          {144, 150}}) {
    for (int32_t i = from; i <= to; ++i) cells.insert(i);
  }
  return cells;
}
constexpr int32_t kClearedCell = 160;

TEST(SettingsExchange, RoundTripGivesBackEveryMappedCellAndClearsTheRest) {
  VariantArray cells = Numbered(206);
  SEPAVARIABLEN record;
  VariablenToRecord(cells, record);
  RecordToVariablen(cells, record);

  ASSERT_EQ(cells.Lower(), 1);
  ASSERT_EQ(cells.Count(), 206);
  const std::set<int32_t> unmapped = UnmappedCells();
  for (int32_t i = 1; i <= 206; ++i) {
    if (i == kClearedCell) {
      EXPECT_EQ(cells.At(i), Variant(std::string())) << i;
    } else if (unmapped.count(i)) {
      EXPECT_TRUE(cells.At(i).IsEmpty()) << i;
    } else {
      EXPECT_EQ(cells.At(i), Variant("v" + std::to_string(i))) << i;
    }
  }
}

TEST(SettingsExchange, FieldsUseTheirFixedCellsBothWays) {
  VariantArray cells = Numbered(206);
  SEPAVARIABLEN record;
  VariablenToRecord(cells, record);
  EXPECT_EQ(record.KreditorNAME.Value, "v1");
  EXPECT_EQ(record.User1JUG.Value, "v13");
  EXPECT_EQ(record.SepaFuncVER0.Value, "v206");
  EXPECT_EQ(record.SepaDAT1.Value, "v179");
  EXPECT_EQ(record.SepaVERF.Value, "v181");
  EXPECT_EQ(record.ProgBLZ_File.Value, "v142");
  EXPECT_EQ(record.Import__FREE.Value, "v170");

  record.SepaFuncVER0.Value = "Trennen";
  record.ProgErzePAOK.Value = "ok";
  RecordToVariablen(cells, record);
  EXPECT_EQ(cells.At(206), Variant("Trennen"));
  EXPECT_EQ(cells.At(133), Variant("ok"));
}

TEST(SettingsExchange, ValuesComeBackAsTextAndTheArrayAs206Cells) {
  VariantArray cells = Numbered(300);
  cells.At(1) = Variant(static_cast<int16_t>(5));
  SEPAVARIABLEN record;
  VariablenToRecord(cells, record);
  RecordToVariablen(cells, record);
  EXPECT_EQ(cells.Count(), 206);
  EXPECT_EQ(cells.At(1), Variant("5"));
}

TEST(SettingsExchange, FieldsWithoutACellAndTheOtherMembersAreLeftAlone) {
  SEPAVARIABLEN record;
  record.ProgNew_Vers.Value = "kept";
  record.Import__EDAT.Value = "kept too";
  record.KreditorNAME.Row = 7;
  record.KreditorNAME.IniSection = "Kreditor";
  VariablenToRecord(Numbered(206), record);
  EXPECT_EQ(record.ProgNew_Vers.Value, "kept");
  EXPECT_EQ(record.Import__EDAT.Value, "kept too");
  EXPECT_EQ(record.KreditorNAME.Row, 7);
  EXPECT_EQ(record.KreditorNAME.IniSection, "Kreditor");
  EXPECT_EQ(record.KreditorNAME.Value, "v1");
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
