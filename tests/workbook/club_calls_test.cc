// The sample club's calls as the Windows workbook makes them, held to tests/data/club_calls, which
// the Wine test is held to too; LASTORA_REFRESH_CLUB_CALLS=1 rewrites it after an intended change.
#include "support/club_calls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "lastora/class1.h"
#include "lastora/member_list.h"
#include "lastora/numbering.h"
#include "lastora/payment_table.h"
#include "lastora/session.h"
#include "lastora/workbook.h"
#include "support/cell_dump.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora::testing {
namespace {

namespace fs = std::filesystem;
namespace columns = payment_table;
using Files = std::map<std::string, std::string>;

const fs::path kClub = fs::path(LASTORA_TESTDATA_DIR) / ".." / ".." / "examples" / "club";
const fs::path kCopy = fs::path(LASTORA_TESTDATA_DIR) / "club_calls";

// The sheets as the workbook holds them after its import step, with the files the settings name
// in the program folder, so that no path of this machine enters the arguments.
CellDump Arguments() {
  Workbook workbook(SettingsFile::Load((kClub / "verein.ini").string()));
  EXPECT_TRUE(workbook.Import("")) << workbook.record().ProgImpoResu.Value;
  SEPAVARIABLEN record = workbook.record();
  record.Import__FILE.Value = "..\\Mitglieder.csv";
  record.ProgBLZ_File.Value = std::string("..\\") + club_calls::kBankCodeFile;
  record.SepaPATH.Value = club_calls::kOutputFolder;
  // The file identifiers the workbook names before it calls the generation.
  DeriveFileIdentifiers(record, MakeIdentifierPrefix(record), *ParseNow(club_calls::kMoment));
  VariantArray settings;
  RecordToVariablen(settings, record);
  // The generation adds its figures to the sheet's, which a workbook keeps as numbers, reset to 0.
  for (const SettingsField& field : SettingsFields()) {
    const std::string_view name = field.name;
    if (name.starts_with("ProgErzeDAN") || name.starts_with("ProgErzeDSU") ||
        name == "ProgErzeWarn") {
      settings[field.index] = 0.0;
    }
  }
  Table values = workbook.payments().values;
  // Excel keeps amounts as numbers and dates as dates, whatever text they were typed as.
  for (int32_t r = 1; r <= values.RowUpper(); ++r) {
    for (int32_t c : {columns::kOneOff, columns::kBackPayment, columns::kCredit,
                      columns::kContribution, columns::kPeriodContribution}) {
      if (values(r, c).IsString() && IsNumeric(values(r, c))) values(r, c) = CDbl(values(r, c));
    }
    for (int32_t c : {columns::kMandateDate, columns::kEntryDate, columns::kExitDate,
                      columns::kFirstCollection}) {
      if (values(r, c).IsString() && IsDate(values(r, c))) {
        values(r, c) = Variant::Date(CDate(values(r, c)));
      }
    }
  }
  CellDump arguments;
  arguments.AddArray(std::string(club_calls::kInput) + ".aVariablen", settings);
  arguments.AddTable(std::string(club_calls::kInput) + ".aZielValues", values);
  arguments.AddTable(std::string(club_calls::kInput) + ".aZielColors", workbook.payments().colours);
  return arguments;
}

void Keep(CellDump& dump, const std::string& call, const std::string& result,
          const VariantArray& settings,
          std::initializer_list<std::pair<const char*, Table*>> tables) {
  dump.AddText(call + ".result", result);
  dump.AddArray(call + ".aVariablen", settings);
  for (const auto& [name, table] : tables) dump.AddTable(call + "." + name, *table);
}

// The three calls in the program folder `home`, each on what the one before left.
CellDump RunCalls(const CellDump& arguments) {
  using namespace club_calls;
  CellDump dump = arguments;
  VariantArray settings = arguments.Array(std::string(kInput) + ".aVariablen");
  Table values = arguments.GetTable(std::string(kInput) + ".aZielValues");
  Table colours = arguments.GetTable(std::string(kInput) + ".aZielColors");
  Class1 component;

  std::string result = component.ext_SEPA_Bearbeitung(settings, values, colours);
  Keep(dump, kProcessing, result, settings, {{"aZielValues", &values}, {"aZielColors", &colours}});

  club_calls::NumberRows(settings, values);
  // The workbook hands the generation an empty colour table of the sheet's shape.
  Table generation_colours(values.RowCount(), values.ColCount());
  result = component.ext_SEPA_Erzeugung(settings, values, generation_colours, kOutputFolder, false);
  Keep(dump, kGeneration, result, settings,
       {{"aImport", &values}, {"aColour", &generation_colours}});

  Table internal_bank_codes, passed_on;
  result =
      component.ext_SEPA_Checker(settings, values, generation_colours, internal_bank_codes,
                                 passed_on, CheckedFile(settings, &SEPAVARIABLEN::ProgErzeFil1),
                                 CheckedFile(settings, &SEPAVARIABLEN::ProgErzeFil2));
  Keep(dump, kCheck, result, settings,
       {{"aZielValues", &values},
        {"aZielColors", &generation_colours},
        {"aBLZintern", &internal_bank_codes},
        {"aBLZnew", &passed_on}});
  return dump;
}

TEST(ClubCallsTest, TheLibraryAnswersAndWritesAsTheKeptCopySays) {
  ScopedTempDir home;
  const ScopedEnv home_variable("LASTORA_HOME", home.path().string());
  ScopedTestPlatform platform(*ParseNow(club_calls::kMoment));
  for (const char* folder : club_calls::kWrittenFolders)
    fs::create_directories(home.path() / folder);
  const club_calls::InFolder in_home(home.path());
  fs::copy_file(kClub / club_calls::kBankCodeFile, home.path() / club_calls::kBankCodeFile);

  const CellDump dump = RunCalls(Arguments());
  const Files files = club_calls::WrittenFiles(home.path());
  // The calls ran through: a copy of a failed run would hold the Windows side to a failure.
  EXPECT_EQ(dump.Text(std::string(club_calls::kGeneration) + ".result"), "ok");
  EXPECT_EQ(dump.Text(std::string(club_calls::kCheck) + ".result"), "ok");
  EXPECT_TRUE(platform.dialogs().shown.empty()) << platform.dialogs().shown.front().prompt;

  if (std::getenv("LASTORA_REFRESH_CLUB_CALLS") != nullptr) {
    fs::remove_all(kCopy);
    fs::create_directories(kCopy / "files");
    WriteBytes((kCopy / "calls.txt").string(), dump.Write());
    for (const auto& [name, bytes] : files) {
      fs::create_directories((kCopy / "files" / name).parent_path());
      WriteBytes((kCopy / "files" / name).string(), bytes);
    }
    GTEST_SKIP() << "rewrote " << kCopy;
  }
  const CellDump kept = CellDump::Read(ReadBytes((kCopy / "calls.txt").string()));
  EXPECT_EQ(dump.Write(), kept.Write());
  club_calls::ExpectSameFiles(files, club_calls::WrittenFiles(kCopy / "files"));
}

}  // namespace
}  // namespace lastora::testing
