// The sample club through processing, generation and check, called late-bound with the sheets as
// Excel passes them, under the same moment as the Linux library's run that tests/data/club_calls
// keeps: the same answers cell by cell, kind included, and the same files byte for byte. Both
// platforms write text files with CR LF and in Windows-1252, so not one byte may differ.
#include "support/club_calls.h"

#include <filesystem>
#include <string>

#include "com/late_bound.h"
#include "com/sheet_arrays.h"
#include "support/cell_dump.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

namespace fs = std::filesystem;
using club_calls::kCheck;
using club_calls::kGeneration;
using club_calls::kInput;
using club_calls::kProcessing;
using club_calls::WrittenFiles;

const fs::path kCopy = LASTORA_CLUB_CALLS_DIR;

struct Sheet {
  const char* name;
  const VARIANT& holder;
};

// The call's answer and the caller's variables after it, as the kept copy has them; a difference
// shows as the dump's lines that differ, each naming its cell and kind.
void ExpectAsKept(const CellDump& kept, const std::string& call, const std::string& result,
                  const VARIANT& settings, std::initializer_list<Sheet> sheets) {
  CellDump expected, got;
  expected.AddText(call + ".result", kept.Text(call + ".result"));
  got.AddText(call + ".result", result);
  expected.AddArray(call + ".aVariablen", kept.Array(call + ".aVariablen"));
  got.AddArray(call + ".aVariablen", ArrayOf(settings));
  for (const Sheet& sheet : sheets) {
    const std::string name = call + "." + sheet.name;
    expected.AddTable(name, kept.GetTable(name));
    got.AddTable(name, RangeOf(sheet.holder));
  }
  EXPECT_EQ(got.Write(), expected.Write()) << call;
}

VARIANT Text(const std::string& utf8, Var& holder) {
  V_VT(&holder.v) = VT_BSTR;
  V_BSTR(&holder.v) = automation::ToBstr(utf8);
  return holder.v;
}

TEST_F(LateBoundTest, TheSampleClubAnswersAndWritesAsTheLinuxLibrary) {
  ScopedTempDir home;
  const ScopedEnv home_variable("LASTORA_HOME", home.path().string());
  const ScopedEnv moment("LASTORA_NOW", club_calls::kMoment);
  for (const char* folder : club_calls::kWrittenFolders)
    fs::create_directories(home.path() / folder);
  const club_calls::InFolder in_home(home.path());
  fs::copy_file(fs::path(LASTORA_EXAMPLE_CLUB_DIR) / club_calls::kBankCodeFile,
                home.path() / club_calls::kBankCodeFile);
  // The clock is taken when an object is made: this one is made under the fixed moment.
  Object object(Create());
  ASSERT_NE(object.get(), nullptr);
  const CellDump kept = CellDump::Read(ReadBytes((kCopy / "calls.txt").string()));

  Var settings, values, colours;
  PutArray(kept.Array(std::string(kInput) + ".aVariablen"), &settings.v);
  PutRange(kept.GetTable(std::string(kInput) + ".aZielValues"), &values.v);
  PutRange(kept.GetTable(std::string(kInput) + ".aZielColors"), &colours.v);
  std::string result = object.Text(L"ext_SEPA_Bearbeitung",
                                   {ByRef(&settings.v), ByRef(&values.v), ByRef(&colours.v)});
  ExpectAsKept(kept, kProcessing, result, settings.v,
               {{"aZielValues", values.v}, {"aZielColors", colours.v}});

  // The workbook numbers the rows on its sheet, and hands the generation an empty colour table
  // of the sheet's shape.
  Table processed = RangeOf(values.v);
  club_calls::NumberRows(ArrayOf(settings.v), processed);
  VariantClear(&values.v);
  PutRange(processed, &values.v);
  Var generation_colours, folder, dtaus;
  PutRange(Table(processed.RowCount(), processed.ColCount()), &generation_colours.v);
  V_VT(&dtaus.v) = VT_BOOL;
  V_BOOL(&dtaus.v) = VARIANT_FALSE;
  result = object.Text(L"ext_SEPA_Erzeugung",
                       {ByRef(&settings.v), ByRef(&values.v), ByRef(&generation_colours.v),
                        Text(club_calls::kOutputFolder, folder), dtaus.v});
  ExpectAsKept(kept, kGeneration, result, settings.v,
               {{"aImport", values.v}, {"aColour", generation_colours.v}});

  const VariantArray generated = ArrayOf(settings.v);
  Var bank_codes, passed_on, first, second;
  result =
      object.Text(L"ext_SEPA_Checker",
                  {ByRef(&settings.v), ByRef(&values.v), ByRef(&generation_colours.v),
                   ByRef(&bank_codes.v), ByRef(&passed_on.v),
                   Text(club_calls::CheckedFile(generated, &SEPAVARIABLEN::ProgErzeFil1), first),
                   Text(club_calls::CheckedFile(generated, &SEPAVARIABLEN::ProgErzeFil2), second)});
  ExpectAsKept(kept, kCheck, result, settings.v,
               {{"aZielValues", values.v},
                {"aZielColors", generation_colours.v},
                {"aBLZintern", bank_codes.v},
                {"aBLZnew", passed_on.v}});

  club_calls::ExpectSameFiles(WrittenFiles(home.path()), WrittenFiles(kCopy / "files"));
}

}  // namespace
}  // namespace lastora::testing
