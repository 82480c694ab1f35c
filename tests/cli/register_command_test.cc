// The mandate register through the program: a club without first-debit dates collects FRST once,
// RCUR afterwards, and FRST again when the run is cancelled; nobody is debited twice on one day
// by mistake.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/lastora_runner.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"

namespace lastora::cli {
namespace {

namespace fs = std::filesystem;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::WriteBytes;
using testing::Contains;
using testing::Lastora;

constexpr const char* kMembers =
    "Mitglied;Kontoinhaber;IBAN;BIC;Mandat;Mandatsdatum;Beitrag\r\n"
    "Albers, Karin;Karin Albers;DE12123056001000123401;BEISDEM1XXX;M-1;12.01.2014;120,00\r\n"
    "Große, Björn;Björn Große;DE49503201002200456701;MUSKDEF1XXX;M-2;14.02.2020;60,00\r\n";

constexpr const char* kSettings =
    "KreditorNAME = TSV Test\r\nKreditorIBAN = DE56123056001000000001\r\n"
    "KreditorBIC_ = BEISDEM1XXX\r\nKreditorID__ = DE98ZZZ09999999999\r\nSepaVERF = SEPA\r\n"
    "SepaCYCL = Jahr\r\nSepaADAT = 16.03.2026\r\nSepaDAT1 = 01.01.2026\r\n"
    "SepaDAT2 = 31.12.2026\r\nSepaAART = Basislastschrift\r\nSepaLART = automatisch\r\n"
    "SepaBTXT = nicht\r\nSepaITXT = nicht\r\nSepaFuncCOLL = nicht\r\nSepaFuncMONT = ja\r\n"
    "SepaFuncVER1 = Beitrag\r\nSepaFuncVER2 = Mandat-ID\r\nSepaFuncVER3 = -\r\n"
    "SepaFuncVER4 = -\r\nSepaFuncVERP = -\r\nSepaFuncWARN = nicht\r\n"
    "SepaFuncAZYK = Wechselmonat abrechnen\r\nImport__FILE = mitglieder.csv\r\n"
    "Import__LINE = 2\r\nImport__NAME = 2\r\nImport__MITG = 1\r\nImport__IBAN = 3\r\n"
    "Import__BIC_ = 4\r\nImport__KONT = 0\r\nImport__BLZ_ = 0\r\nImport__LAND = 0\r\n"
    "Import__MAND = 5\r\nImport__MDAT = 6\r\nImport__MONB = 7\r\nImport__EINT = 0\r\n"
    "Import__AUST = 0\r\nImport__EDAT = 0\r\nImport__EINM = 0\r\n";

struct Club {
  Club() {
    WriteBytes(settings, kSettings);
    WriteBytes(dir.File("mitglieder.csv"), kMembers);
  }
  testing::Ran Process() const {
    return Lastora({"process", "-s", settings, "-o", dir.File("zahlungen.csv")});
  }
  // The table of the last Process() into `folder`, by default at the runner's clock.
  testing::Ran Generate(const std::string& folder, const std::string& now = "",
                        const std::string& extra = "") const {
    std::vector<std::string> args{
        "generate", "-s", settings, "-p", dir.File("zahlungen.csv"), "-d", dir.File(folder)};
    if (!extra.empty()) args.push_back(extra);
    return now.empty() ? Lastora(args) : Lastora(args, now);
  }
  ScopedTempDir dir;
  std::string settings = dir.File("verein.ini");
};

constexpr const char* kAllFirst = "Datei 1 (FRST, FNAL, OOFF, Überweisung): 2 Zahlungen";
constexpr const char* kAllRecurring = "Datei 2 (RCUR): 2 Zahlungen";

TEST(RegisterCommandTest, RecordedRunTurnsFirstIntoRecurringUntilItIsCancelled) {
  Club club;
  const testing::Ran first = club.Process();
  ASSERT_EQ(first.status, 0) << first.out << first.err;
  EXPECT_TRUE(Contains(first.out, kAllFirst)) << first.out;
  EXPECT_TRUE(fs::exists(club.dir.File("lastora.db")));

  const testing::Ran generated = club.Generate("lauf1");
  ASSERT_EQ(generated.status, 0) << generated.out << generated.err;
  EXPECT_TRUE(Contains(generated.out, "eingetragen als Lauf 1")) << generated.out;

  const testing::Ran second = club.Process();
  EXPECT_TRUE(Contains(second.out, kAllRecurring)) << second.out;
  EXPECT_TRUE(Contains(second.out, "Mandatsregister: 2 Zeilen")) << second.out;
  const testing::Ran without =
      Lastora({"process", "-s", club.settings, "--no-register", "-o", club.dir.File("ohne.csv")});
  EXPECT_TRUE(Contains(without.out, kAllFirst)) << without.out;

  const testing::Ran runs = Lastora({"runs", "-s", club.settings});
  EXPECT_TRUE(Contains(runs.out, "Lauf 1 vom ")) << runs.out;
  EXPECT_TRUE(Contains(runs.out, "LASTORA-20260302093000-FRST-MSG")) << runs.out;
  EXPECT_EQ(Lastora({"runs", "-s", club.settings, "--cancel", "1"}).status, 0);
  EXPECT_TRUE(Contains(club.Process().out, kAllFirst));

  // The cancelled run's identifiers stay used: the same table again is refused before any file.
  const testing::Ran again = club.Generate("lauf2");
  EXPECT_EQ(again.status, 1);
  EXPECT_TRUE(Contains(again.out, "schon im Lauf 1")) << again.out;
  EXPECT_TRUE(fs::is_empty(club.dir.File("lauf2")));
}

TEST(RegisterCommandTest, SecondRunOnTheSameDayIsRefusedUnlessAskedFor) {
  Club club;
  ASSERT_EQ(club.Process().status, 0);
  ASSERT_EQ(club.Generate("lauf1").status, 0);

  // An hour later the same table again: new identifiers, but the same members on the same day.
  const std::string later = "2026-03-02 10:30:00";
  const testing::Ran refused = club.Generate("lauf2", later);
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Contains(refused.out, "2 Mandate wurden am 16.03.2026 schon abgebucht (Lauf 1 vom "))
      << refused.out;
  EXPECT_TRUE(Contains(refused.out, "M-1 (")) << refused.out;
  EXPECT_TRUE(Contains(refused.out, "--again")) << refused.out;
  EXPECT_TRUE(fs::is_empty(club.dir.File("lauf2")));
  EXPECT_FALSE(Contains(Lastora({"runs", "-s", club.settings}).out, "Lauf 2"));

  const testing::Ran allowed = club.Generate("lauf2", later, "--again");
  EXPECT_EQ(allowed.status, 0) << allowed.out;
  EXPECT_TRUE(Contains(allowed.out, "Warnung: Mandatsregister: 2 Mandate wurden am 16.03.2026"))
      << allowed.out;
  EXPECT_TRUE(Contains(allowed.out, "eingetragen als Lauf 2")) << allowed.out;
}

// The register takes a run while its documents are checked: a run the schema refuses leaves no
// trace in it, so the same table with the same identifiers goes through once the schema allows.
TEST(RegisterCommandTest, RunRefusedByTheSchemaIsNotInTheRegister) {
  Club club;
  ASSERT_EQ(club.Process().status, 0);
  {
    const lastora::testing::RefusingSchemas strict_schema;
    const testing::Ran refused = club.Generate("lauf1");
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_TRUE(Contains(refused.out, "Schema pain.008.002.02 verletzt")) << refused.out;
    EXPECT_FALSE(Contains(refused.out, "eingetragen als Lauf")) << refused.out;
  }
  EXPECT_FALSE(Contains(Lastora({"runs", "-s", club.settings}).out, "Lauf 1"));
  const testing::Ran accepted = club.Generate("lauf1");
  EXPECT_EQ(accepted.status, 0) << accepted.out;
  EXPECT_TRUE(Contains(accepted.out, "eingetragen als Lauf 1")) << accepted.out;
}

TEST(RegisterCommandTest, MandatesTravelThroughCsvAndMissingRegisterIsNamed) {
  Club club;
  const testing::Ran missing = Lastora({"runs", "-s", club.settings});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(Contains(missing.err, "Kein Mandatsregister")) << missing.err;
  EXPECT_FALSE(fs::exists(club.dir.File("lastora.db")));

  // M-1 was collected recently from another account; M-2 last in 2020, after its signature, so
  // it has expired.
  WriteBytes(club.dir.File("alt.csv"),
             "Mandat;IBAN;Erste Abbuchung\r\nM-1;DE02120300000000202051;15.09.2025\r\n"
             "M-2;;10.03.2020\r\n");
  const testing::Ran imported =
      Lastora({"mandates", "-s", club.settings, "--import", club.dir.File("alt.csv")});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_TRUE(Contains(Lastora({"mandates", "-s", club.settings}).out, "erste 10.03.2020"));

  const testing::Ran processed = club.Process();
  EXPECT_TRUE(Contains(processed.out, "Datei 2 (RCUR): 1 Zahlungen, 120,00 EUR")) << processed.out;
  EXPECT_TRUE(Contains(processed.out, "Datei 1 (FRST, FNAL, OOFF, Überweisung): 0 Zahlungen"));
  EXPECT_TRUE(Contains(processed.out, "Fehler 1, Warnungen 1")) << processed.out;
  EXPECT_TRUE(Contains(processed.out, "IBAN weicht vom Mandatsregister ab"));
  EXPECT_TRUE(Contains(processed.out, "letzten Abbuchung am 10.03.2020"));
  const testing::Ran generated = club.Generate("aus");
  EXPECT_TRUE(Contains(generated.out, "Gesamt: 1 Zahlungen, 120,00 EUR")) << generated.out;
}

}  // namespace
}  // namespace lastora::cli
