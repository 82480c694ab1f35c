// What a run's verdict tells the treasurer: its exit status and headline, the reasons it names,
// and which files stand in the output folder afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/lastora_runner.h"
#include "sample_club.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"
#include "support/workbook_fixtures.h"

namespace lastora::cli {
namespace {

namespace fs = std::filesystem;
using ::lastora::testing::FileNamesIn;
using ::lastora::testing::ReadBytes;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::WriteBytes;
using testing::Complains;
using testing::Contains;
using testing::Lastora;
using testing::Ran;
using testing::Says;

constexpr char kFirst[] = "SEPA_2026-03-16_FRST.xml";
constexpr char kSecond[] = "SEPA_2026-03-16_RCUR.xml";

// The demo's club: one member whose mandate reference repeats another's (line 22).
struct SampleClub {
  SampleClub() {
    for (const SampleFile& file : SampleClubFiles()) {
      const fs::path path = dir.path() / file.name;
      fs::create_directories(path.parent_path());
      WriteBytes(path.string(), std::string(file.bytes));
    }
  }
  // Replaces the value of `key` in the settings file.
  void Set(const std::string& key, const std::string& value) const {
    std::istringstream lines(ReadBytes(settings));
    std::string result, line;
    while (std::getline(lines, line)) {
      if (line.starts_with(key + " ")) line = key + " = " + value + "\r";
      result += line + "\n";
    }
    WriteBytes(settings, result);
  }
  Ran Run(std::vector<std::string> extra = {}) const {
    // Runs are repeated at one fixed clock, whose identifiers a register would refuse.
    std::vector<std::string> args{"run", "-s", settings, "-d", out, "--no-register"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Lastora(args);
  }
  // Every file of the output folder with its bytes.
  std::vector<std::string> Snapshot() const {
    std::vector<std::string> files;
    for (const std::string& name : FileNamesIn(out))
      files.push_back(name + ReadBytes(out + "/" + name));
    return files;
  }

  ScopedTempDir dir;
  std::string settings = dir.File("verein.ini");
  std::string out = dir.File("Ausgabe");
};

TEST(RunVerdictsTest, RowsLeftOutOrNothingToPayExitWithThreeAndSayWhy) {
  SampleClub club;
  EXPECT_TRUE(Says(club.Run(), 3, "Zeile 22 (Thomsen, Kai)\n    Fehler:  Mandanten-ID doppelt"));
  EXPECT_TRUE(fs::exists(club.out + "/" + kSecond));
  EXPECT_EQ(club.Run({"--strict"}).status, 1);
  // Zero payments written is a warning too, with the reason.
  const std::string table = club.dir.File("zwei-spalten.csv");
  WriteBytes(table, "A;B\r\n1;2\r\n3;4\r\n5;6\r\n");
  EXPECT_TRUE(Says(Lastora({"generate", "-s", club.settings, "-p", table, "-d", club.out}), 3,
                   "Warnung: Keine Zahlung geschrieben: von 3 Zeilen 3 ohne Sequenztyp"));
}

// A day without the banks' lead time stops the run; a day outside the billed period only warns.
TEST(RunVerdictsTest, CollectionDateNeedsTheBanksLeadTime) {
  SampleClub club;
  // The clock stands at Monday 02.03.2026.
  club.Set("SepaADAT", "02.03.2026");
  const Ran ran = club.Run();
  EXPECT_TRUE(Says(ran, 1, "SepaADAT 02.03.2026 ist zu früh"));
  EXPECT_TRUE(Contains(ran.out, "frühestens möglich ist der 03.03.2026"));
  EXPECT_FALSE(fs::exists(club.out + "/SEPA_2026-03-02_RCUR.xml"));
  club.Set("SepaADAT", "05.01.2027");
  EXPECT_TRUE(Says(club.Run(), 3,
                   "Warnung: SepaADAT 05.01.2027 liegt außerhalb des Abrechnungszeitraums "
                   "01.01.2026 bis 31.12.2026"));
}

// A run that fails halfway, or whose documents the schema refuses, leaves the previous run's
// complete set; a refused document is kept only under a name no upload picks.
TEST(RunVerdictsTest, OutputFolderHoldsOneCompleteSet) {
  SampleClub club;
  ASSERT_EQ(club.Run().status, 3);
  const std::vector<std::string> previous = club.Snapshot();
  ASSERT_EQ(previous.size(), 6u);
  club.Set("KreditorNAME", "TSV Musterstadt von 1898 e.V.");

  fs::permissions(club.out + "/" + kSecond, fs::perms::owner_read);
  EXPECT_EQ(club.Run().status, 1);
  EXPECT_EQ(club.Snapshot(), previous);
  fs::permissions(club.out + "/" + kSecond, fs::perms::owner_read | fs::perms::owner_write);

  const lastora::testing::RefusingSchemas strict_schema;
  EXPECT_TRUE(Says(club.Run(), 1, "Erzeugung: Schema pain.008.002.02 verletzt, Zeile "));
  EXPECT_TRUE(fs::remove(club.out + "/SEPA_2026-03-16_FRST_FEHLERHAFT.xml"));
  EXPECT_TRUE(fs::remove(club.out + "/SEPA_2026-03-16_RCUR_FEHLERHAFT.xml"));
  EXPECT_EQ(club.Snapshot(), previous);
}

// The headline of a check says "Fehler" when the file breaks its schema, its figures differ
// from what was counted, or IBANs are wrong; only the last leaves a usable file (status 3).
TEST(RunVerdictsTest, CheckHeadlineNamesEveryFault) {
  SampleClub club;
  ASSERT_EQ(club.Run().status, 3);
  const std::string good = ReadBytes(club.out + "/" + kSecond);
  const Ran ran = Lastora({"check", club.out + "/" + kSecond});
  EXPECT_TRUE(Says(ran, 0, "Prüfung SEPA: ok\n"));
  EXPECT_TRUE(Contains(ran.out, "Schema (1. Datei): ok"));

  // Each fault put into the good file: what it replaces, the exit status, the headline.
  const struct {
    const char* find;
    const char* replacement;
    int status;
    const char* headline;
  } faults[] = {
      {"DE49503201002200456701", "DE48503201002200456701", 3,
       "Prüfung SEPA: Fehler: 1 Zahlung mit Fehlern"},
      {"<NbOfTxs>", "<NbOfTxs>1", 1, "Fehler: Angaben der Datei und gezählte Werte weichen ab"},
      {"</GrpHdr>", "<Fremd/></GrpHdr>", 1,
       "Prüfung SEPA: Fehler: Schema pain.008.002.02 verletzt, Zeile "},
  };
  const std::string file = club.dir.File("geprueft.xml");
  for (const auto& fault : faults) {
    std::string bad = good;
    bad.replace(bad.find(fault.find), std::string(fault.find).size(), fault.replacement);
    WriteBytes(file, bad);
    EXPECT_TRUE(Says(Lastora({"check", file}), fault.status, fault.headline)) << fault.find;
  }
}

TEST(RunVerdictsTest, UnreadableInputsAndFailedRunsSayWhyAndShowNoOldFigures) {
  SampleClub club;
  const std::string broken = club.dir.File("kaputt.xlsx");
  lastora::testing::WriteZip(broken, {{"[Content_Types].xml", "<Types/>"}});
  EXPECT_TRUE(Complains(Lastora({"import", broken}), 1, "xl/workbook.xml fehlt"));
  EXPECT_TRUE(Complains(Lastora({"generate", "-s", club.settings, "-p", broken, "-d", club.out}), 1,
                        "xl/workbook.xml fehlt"));
  EXPECT_TRUE(Says(Lastora({"process", "-s", club.settings, "-m", broken}), 1,
                   "Import: Error: Die Datei kann nicht gelesen werden (xl/workbook.xml fehlt)"));

  // The settings file still holds the figures of an earlier run when this one stops.
  WriteBytes(club.settings, ReadBytes(club.settings) +
                                "ProgErzeDANZ = 4\r\nProgErzeDSUM = 3465\r\nProgErzeFil1 = "
                                "alt.xml\r\n");
  const std::string table = club.dir.File("zahlungen.csv");
  ASSERT_EQ(Lastora({"process", "-s", club.settings, "-o", table}).status, 3);
  club.Set("SepaADAT", "27.02.2026");
  const Ran ran = Lastora({"generate", "-s", club.settings, "-p", table, "-d", club.out});
  EXPECT_EQ(ran.status, 1);
  EXPECT_FALSE(Contains(ran.out, "Gesamt"));
  EXPECT_FALSE(Contains(ran.out, "alt.xml"));

  // Nor does a check that stops before the file's header or its trailer show the settings'
  // creditor, or the stated figures of an earlier check, as the file's.
  WriteBytes(club.settings,
             ReadBytes(club.settings) + "ProgChecKANZ = 99\r\nProgChecISUM = 777777\r\n");
  const std::string not_dtaus = club.dir.File("kein.dta");
  WriteBytes(not_dtaus, "kein DTAUS");
  EXPECT_EQ(Lastora({"check", "-s", club.settings, not_dtaus}).out,
            "Prüfung DTAUS: DTAUS-Checker: Falsches Dateiformat\n");
  const std::string dtaus = ReadBytes(std::string(LASTORA_TESTDATA_DIR) + "/dtaus/testContent.dta");
  const std::string without_trailer = club.dir.File("ohne-nachsatz.dta");
  WriteBytes(without_trailer, dtaus.substr(0, dtaus.size() - 128));
  const Ran checked = Lastora({"check", "--extern", "-s", club.settings, without_trailer});
  EXPECT_EQ(checked.status, 1);
  EXPECT_TRUE(Contains(checked.out, "SENDERS NAME, BLZ 16050000\n")) << checked.out;
  EXPECT_FALSE(Contains(checked.out, "99")) << checked.out;
  EXPECT_FALSE(Contains(checked.out, "777777")) << checked.out;
}

}  // namespace
}  // namespace lastora::cli
