#include "lastora/mandate_register.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "lastora/payment_table.h"
#include "lastora/variant.h"
#include "support/temp_dir.h"
#include "workbook/register_samples.h"
#include "workbook/register_schema.h"

namespace lastora::mandate_register {
namespace {

using ::lastora::testing::ReadBytes;
using ::lastora::testing::SampleCollection;
using ::lastora::testing::SampleRun;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::WriteBytes;
namespace column = payment_table;
using Texts = std::vector<std::string>;

class MandateRegisterTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.File("lastora.db"); }
  ScopedTempDir dir_;
};

// What the register says when it refuses the call; "" when it goes through.
template <typename Call>
std::string Refusal(Call&& call) {
  try {
    call();
  } catch (const RegisterError& error) {
    return error.what();
  }
  return "";
}

// Runs SQL on a database file behind the register's back, as another program would; returns
// the first value of the last row it gave.
std::string Sql(const std::string& path, const std::string& statements) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  const auto keep = [](void* last, int, char** values, char**) {
    *static_cast<std::string*>(last) = values[0] != nullptr ? values[0] : "";
    return 0;
  };
  std::string value;
  EXPECT_EQ(sqlite3_exec(db, statements.c_str(), keep, &value, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);
  return value;
}

// A mandate's first and last collection ("-" for none) with their types, and its state; "-"
// alone when the register does not know the mandate.
std::vector<std::string> Summary(const Register& reg, const std::string& reference) {
  const auto m = reg.FindMandate(reference);
  if (!m) return {"-"};
  return {m->first_collection.value_or("-"), m->first_sequence_type,
          m->last_collection.value_or("-"), m->last_sequence_type, m->state};
}

// A member table of one row with the given mandate, as the member list import leaves it.
Table MemberRow(const std::string& reference, const std::string& iban) {
  Table values(1, column::kColumnCount);
  values(1, column::kMandateId) = Variant(reference);
  values(1, column::kIban) = Variant(iban);
  return values;
}

// A cancelled file may still have reached someone: its ids stay used, and a run reusing them is
// refused naming the earlier run.
TEST_F(MandateRegisterTest, FirstAndLastCollectionSpanRunsAndUsedIdsAreRefused) {
  Register reg = Register::Open(Path());
  reg.RecordRun(SampleRun("MSG-1", "PMT-1"), {SampleCollection("M1", "2025-03-01", "FRST")});
  const int64_t later = reg.RecordRun(
      SampleRun("MSG-2", "PMT-2"),
      {SampleCollection("M1", "2025-09-01", "RCUR"), SampleCollection("M3", "2025-09-01")});
  EXPECT_EQ(Summary(reg, "M1"), (Texts{"2025-03-01", "FRST", "2025-09-01", "RCUR", "aktiv"}));
  reg.CancelRun(later);
  EXPECT_EQ(Summary(reg, "M1"), (Texts{"2025-03-01", "FRST", "2025-03-01", "FRST", "aktiv"}));
  EXPECT_EQ(Summary(reg, "M3").back(), "neu");
  EXPECT_THROW(reg.CancelRun(later), RegisterError);
  EXPECT_THROW(reg.CancelRun(later + 1), RegisterError);
  const std::string refusal = Refusal(
      [&] { reg.RecordRun(SampleRun("MSG-2", "PMT-9"), {SampleCollection("M2", "2026-02-02")}); });
  EXPECT_NE(refusal.find("Lauf " + std::to_string(later)), std::string::npos) << refusal;
  EXPECT_THROW(reg.RecordRun(SampleRun("MSG-9", "PMT-1"), {SampleCollection("M2", "2026-02-02")}),
               RegisterError);
  EXPECT_FALSE(reg.FindMandate("M2"));  // the refused runs left nothing behind

  const auto runs = reg.ListRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].id, later);
  EXPECT_EQ(runs[0].state, "storniert");
  EXPECT_EQ(runs[1].state, "geschrieben");
  EXPECT_EQ(runs[1].count, 1);
  EXPECT_EQ(runs[1].sum_cents, 1250);
  ASSERT_EQ(runs[1].files.size(), 1u);
  EXPECT_EQ(runs[1].files[0].message_id, "MSG-1");
}

TEST_F(MandateRegisterTest, RowsAreJudgedAgainstExpiryAndAccountAndKeepTheirOwnDate) {
  Register reg = Register::Open(Path());
  reg.RecordRun(SampleRun("MSG-1", "PMT-1"), {SampleCollection("M1", "2023-06-30")});

  // 36 months after the last collection the mandate still holds; one day later it has expired.
  Table in_time = MemberRow("M1", "DE02 1203 0000 0000 2020 51");
  auto outcome = reg.ApplyToTable(in_time, MakeDate(2026, 6, 30));
  EXPECT_TRUE(outcome.errors.empty());
  EXPECT_TRUE(outcome.warnings.empty()) << "blanks and case are no change of account";
  EXPECT_EQ(outcome.dates_from_register, 1);
  // A first collection the row names already is the treasurer's word and stays.
  Table dated = MemberRow("M1", "");
  dated(1, column::kFirstCollection) = Variant("15.03.2019");
  EXPECT_EQ(reg.ApplyToTable(dated, MakeDate(2026, 6, 30)).dates_from_register, 0);
  EXPECT_EQ(CStr(dated(1, column::kFirstCollection)), "15.03.2019");

  Table expired = MemberRow("M1", "DE02120300000000202051");
  outcome = reg.ApplyToTable(expired, MakeDate(2026, 7, 1));
  ASSERT_EQ(outcome.errors.size(), 1u);
  EXPECT_EQ(outcome.errors[0].row, 1);
  EXPECT_NE(outcome.errors[0].message.find("30.06.2023"), std::string::npos);
  EXPECT_EQ(outcome.dates_from_register, 0);
  EXPECT_TRUE(expired(1, column::kFirstCollection).IsEmpty());

  // A mandate signed again after the last collection is a new one: no refusal, first collection.
  Table renewed = MemberRow("M1", "DE02120300000000202051");
  renewed(1, column::kMandateDate) = Variant("01.07.2026");
  outcome = reg.ApplyToTable(renewed, MakeDate(2026, 7, 1));
  EXPECT_TRUE(outcome.errors.empty());
  EXPECT_TRUE(renewed(1, column::kFirstCollection).IsEmpty());

  Table moved = MemberRow("M1", "DE89370400440532013000");
  outcome = reg.ApplyToTable(moved, MakeDate(2024, 1, 1));
  ASSERT_EQ(outcome.warnings.size(), 1u);
  EXPECT_NE(outcome.warnings[0].message.find("DE02120300000000202051"), std::string::npos);
}

// The register is read in the order of its mandates, the table in its own: the findings still
// name the rows in the table's order, and a mandate used by two rows dates both.
TEST_F(MandateRegisterTest, RowsOutOfTheRegistersOrderAreAllJudgedInTheTablesOrder) {
  Register reg = Register::Open(Path());
  reg.RecordRun(SampleRun("MSG-1", "PMT-1"),
                {SampleCollection("M1", "2026-01-02"), SampleCollection("M2", "2026-01-02"),
                 SampleCollection("M3", "2026-01-02")});
  Table values(5, column::kColumnCount);
  const char* references[] = {"M3", "X9", "M1", "M3", "M2"};
  for (int32_t row = 1; row <= 5; ++row) {
    values(row, column::kMandateId) = Variant(references[row - 1]);
    values(row, column::kIban) = Variant("DE89370400440532013000");
  }
  const TableOutcome outcome = reg.ApplyToTable(values, MakeDate(2026, 6, 30));
  EXPECT_EQ(outcome.dated_rows, (std::vector<int32_t>{1, 3, 4, 5}));
  ASSERT_EQ(outcome.warnings.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(outcome.warnings[i].row, outcome.dated_rows[i]);
  EXPECT_TRUE(values(2, column::kFirstCollection).IsEmpty());
  EXPECT_EQ(values(4, column::kFirstCollection).AsDate(), MakeDate(2026, 1, 2));
}

TEST_F(MandateRegisterTest, SameMandateOnTheSameDayIsARepeatUntilItsRunIsCancelled) {
  Register reg = Register::Open(Path());
  const int64_t march =
      reg.RecordRun(SampleRun("MSG-1", "PMT-1"),
                    {SampleCollection("M1", "2026-03-16"), SampleCollection("M2", "2026-03-16")});
  // M1's latest collection lies after the day asked about; its March one still counts.
  reg.RecordRun(SampleRun("MSG-2", "PMT-2"), {SampleCollection("M1", "2026-04-16", "RCUR")});

  const std::vector<std::string> planned = {"M3", "M2", "M1"};
  const auto repeats = reg.FindRepeats(planned, "16.03.2026");
  ASSERT_EQ(repeats.size(), 2u);
  EXPECT_EQ(repeats[0].index, 1u);
  EXPECT_EQ(repeats[1].index, 2u);
  EXPECT_EQ(repeats[0].run_id, march);
  EXPECT_EQ(reg.FindRepeats(planned, "2026-03-16").size(), 2u);
  EXPECT_TRUE(reg.FindRepeats(planned, "2026-03-17").empty());
  // The look before the rows are listed: never "no" where a repeat can be.
  EXPECT_TRUE(reg.MayHaveRepeats("16.03.2026"));
  EXPECT_TRUE(reg.MayHaveRepeats("2026-04-16"));
  EXPECT_FALSE(reg.MayHaveRepeats("2026-04-17"));

  reg.CancelRun(march);
  EXPECT_TRUE(reg.FindRepeats(planned, "2026-03-16").empty());
}

TEST_F(MandateRegisterTest, FirstLayoutIsCarriedOverWholeButANewerOrForeignFileRefused) {
  // A register as the first released layout wrote it, with a run and a taken-over date.
  Sql(Path(),
      std::string(detail::SchemaStep(0)) +
          "INSERT INTO mandates VALUES ('M1', 'Erika Muster', 'DE02120300000000202051', "
          "'BYLADEM1001', '2020-01-15', NULL, '2025-03-01', 'FRST', '2025-09-01', 'RCUR', "
          "'aktiv'), "
          "('M2', '', '', '', NULL, '2019-05-05', '2019-05-05', '', '2019-05-05', '', 'aktiv');"
          "INSERT INTO runs VALUES (1, '2025-03-01 10:00:00', '/verein/lastora.ini', 1, 1250, "
          "'geschrieben'), (2, '2025-09-01 10:00:00', '/verein/lastora.ini', 2, 2500, "
          "'geschrieben');"
          "INSERT INTO run_files VALUES (1, 'a.xml', 'MSG-1', 'PMT-1', 1, 1250), "
          "(2, 'b.xml', 'MSG-2', 'PMT-2', 2, 2500);"
          "INSERT INTO collections VALUES (1, 1, 'M1', 'E1', 1250, 'FRST', '2025-03-01'), "
          "(2, 2, 'M1', 'E2', 1250, 'RCUR', '2025-09-01'), (3, 2, 'M1', 'E3', 1250, 'FNAL', "
          "'2025-09-01');"
          "PRAGMA user_version = 1;");
  Register reg = Register::Open(Path());
  const auto m1 = reg.FindMandate("M1");
  ASSERT_TRUE(m1);
  EXPECT_EQ(m1->debtor_name, "Erika Muster");
  EXPECT_EQ(m1->signature_date, "2020-01-15");
  EXPECT_EQ(Summary(reg, "M1"), (Texts{"2025-03-01", "FRST", "2025-09-01", "RCUR", "aktiv"}));
  EXPECT_EQ(Summary(reg, "M2"), (Texts{"2019-05-05", "", "2019-05-05", "", "aktiv"}));
  const auto runs = reg.ListRuns();
  ASSERT_EQ(runs.size(), 2u);
  ASSERT_EQ(runs[1].files.size(), 1u);
  EXPECT_EQ(runs[1].files[0].message_id, "MSG-1");
  EXPECT_THROW(reg.RecordRun(SampleRun("MSG-2", "PMT-9"), {SampleCollection("M3", "2026-01-02")}),
               RegisterError);

  // The old collections still count, in their old order: of two on one day the earlier is the
  // first and the later the last.
  EXPECT_EQ(reg.FindRepeats({"M1"}, "2025-03-01").size(), 1u);
  reg.RecordRun(SampleRun("MSG-3", "PMT-3"), {SampleCollection("M2", "2026-01-02", "RCUR")});
  EXPECT_EQ(Summary(reg, "M2"), (Texts{"2019-05-05", "", "2026-01-02", "RCUR", "aktiv"}));
  reg.CancelRun(1);
  EXPECT_EQ(Summary(reg, "M1"), (Texts{"2025-09-01", "RCUR", "2025-09-01", "FNAL", "aktiv"}));

  Register::Open(Path());  // a second opening finds it up to date
  EXPECT_EQ(Sql(Path(), "PRAGMA user_version"), "2");

  // A newer version's register or a foreign file is refused.
  Sql(Path(), "PRAGMA user_version = 7");
  EXPECT_NE(Refusal([&] { Register::Open(Path()); }).find("neueren Lastora-Version"),
            std::string::npos);

  const std::string other = dir_.File("other.db");
  Sql(other, "CREATE TABLE kunden (x)");
  EXPECT_THROW(Register::Open(other), RegisterError);

  const std::string text = dir_.File("notes.db");
  WriteBytes(text, std::string(4096, 'x'));
  EXPECT_THROW(Register::Open(text), RegisterError);
}

TEST_F(MandateRegisterTest, MandatesRoundTripThroughCsv) {
  Register reg = Register::Open(Path());
  reg.RecordRun(SampleRun("MSG-1", "PMT-1"), {SampleCollection("M;1", "2026-01-02")});
  const std::string csv = dir_.File("mandate.csv");
  reg.ExportMandates(csv);
  EXPECT_EQ(ReadBytes(csv),
            "Mandat;Name;IBAN;BIC;Mandatsdatum;Erste Abbuchung;Letzte Abbuchung\r\n"
            "\"M;1\";Erika Muster;DE02120300000000202051;BYLADEM1001;15.01.2020;02.01.2026;"
            "02.01.2026\r\n");

  // A workbook's dates: an earlier one is taken over, a mandate the register never saw is added.
  WriteBytes(csv,
             "\xEF\xBB\xBFMandat;Erste Abbuchung\r\n\"M;1\";05.05.2019\r\nM2;2021-02-03\r\n;\r\n");
  EXPECT_EQ(reg.ImportMandates(csv), 2);
  EXPECT_EQ(Summary(reg, "M;1"), (Texts{"2019-05-05", "", "2026-01-02", "FRST", "aktiv"}));
  EXPECT_EQ(Summary(reg, "M2"), (Texts{"2021-02-03", "", "2021-02-03", "", "aktiv"}));

  // One bad date: nothing of the file is taken over.
  WriteBytes(csv, "Mandat;Erste Abbuchung\r\nM3;01.01.2020\r\nM4;31.02.2020\r\n");
  const std::string refusal = Refusal([&] { reg.ImportMandates(csv); });
  EXPECT_NE(refusal.find("Zeile 3"), std::string::npos) << refusal;
  EXPECT_EQ(Summary(reg, "M3"), Texts{"-"});
  WriteBytes(csv, "Referenz;Datum\r\nM5;01.01.2020\r\n");
  EXPECT_THROW(reg.ImportMandates(csv), RegisterError);
}

}  // namespace
}  // namespace lastora::mandate_register
