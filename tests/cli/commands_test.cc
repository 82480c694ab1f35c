// The program as a user meets it: real files in a temporary folder, exit codes and messages.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/lastora_runner.h"
#include "program_home.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"

namespace lastora::cli {
namespace {

namespace fs = std::filesystem;
using ::lastora::testing::ReadBytes;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::WriteBytes;
using testing::Complains;
using testing::Contains;
using testing::Lastora;
using testing::Says;

// Three members: a regular payer, a new member with a one-off fee, a member without account.
constexpr const char* kMembers =
    "Mitglied;Kontoinhaber;IBAN;BIC;Mandat;Mandatsdatum;Beitrag;Eintritt;Erste Abbuchung;Einmal\r\n"
    "Albers, Karin;Karin Albers;DE12123056001000123401;BEISDEM1XXX;M-1;12.01.2014;120,00;"
    "01.01.2014;15.03.2014;\r\n"
    "Große, Björn;Björn Große;DE49503201002200456701;MUSKDEF1XXX;M-2;14.02.2026;120,00;"
    "15.02.2026;;25,00\r\n"
    "Ohne, Konto;Konto Ohne;;;M-3;01.01.2020;60,00;01.01.2020;;\r\n";

constexpr const char* kSettings =
    "# Testverein\r\nKreditorNAME = TSV Test\r\nKreditorIBAN = DE56123056001000000001\r\n"
    "KreditorBIC_ = BEISDEM1XXX\r\nKreditorID__ = DE98ZZZ09999999999\r\nSepaVERF = SEPA\r\n"
    "SepaCYCL = Jahr\r\nSepaADAT = 16.03.2026\r\nSepaDAT1 = 01.01.2026\r\n"
    "SepaDAT2 = 31.12.2026\r\nSepaAART = Basislastschrift\r\nSepaLART = automatisch\r\n"
    "SepaBTXT = ja\r\nSepaITXT = ja\r\nSepaFuncCOLL = ja\r\nSepaFuncMONT = ja\r\n"
    "SepaFuncVER1 = Beitrag\r\nSepaFuncVER2 = Mandat-ID\r\nSepaFuncVER3 = -\r\n"
    "SepaFuncVER4 = -\r\nSepaFuncVERP = -\r\nSepaFuncWARN = nicht\r\n"
    "SepaFuncAZYK = Wechselmonat abrechnen\r\nImport__FILE = mitglieder.csv\r\n"
    "Import__LINE = 2\r\nImport__NAME = 2\r\nImport__MITG = 1\r\nImport__IBAN = 3\r\n"
    "Import__BIC_ = 4\r\nImport__KONT = 0\r\nImport__BLZ_ = 0\r\nImport__LAND = 0\r\n"
    "Import__MAND = 5\r\nImport__MDAT = 6\r\nImport__MONB = 7\r\nImport__EINT = 8\r\n"
    "Import__AUST = 0\r\nImport__EDAT = 9\r\nImport__EINM = 10\r\n";

// kSettings with some lines replaced (an empty replacement drops the line).
std::string Edited(std::initializer_list<std::pair<std::string, std::string>> changes) {
  std::string settings = kSettings;
  for (const auto& [line, replacement] : changes) {
    settings.replace(settings.find(line + "\r\n"), line.size() + 2,
                     replacement.empty() ? "" : replacement + "\r\n");
  }
  return settings;
}

// A folder with the settings and the member list.
struct Club {
  explicit Club(const std::string& members = kMembers,
                const std::string& settings_text = kSettings) {
    WriteBytes(settings, settings_text);
    WriteBytes(dir.File("mitglieder.csv"), members);
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

TEST(CommandsTest, SettingsTemplateReadsBackAndNamesWhatIsStillEmpty) {
  ScopedTempDir dir;
  WriteBytes(dir.File("neu.ini"), Lastora({"settings", "--template"}).out);
  // The template reads back: the next command names what is still to fill in, before it imports.
  const testing::Ran process = Lastora({"process", "-s", dir.File("neu.ini")});
  EXPECT_TRUE(Complains(process, 1, "SepaDAT1 ist leer; erwartet: Datum TT.MM.JJJJ"));
  EXPECT_FALSE(Contains(process.out, "Import"));
}

TEST(CommandsTest, IbanValidatesEachAndBuildsFromBankCodeAndAccount) {
  EXPECT_TRUE(Says(Lastora({"iban", "DE12 1230 5600 1000 1234 01", "DE13123056001000123401"}), 1,
                   "DE13123056001000123401: SEPA-Checker: IBAN Prüfziffer ist falsch"));
  const testing::Ran ran =
      Lastora({"iban", "--build", "--bank-code", "12305600", "--account", "1000565601"});
  EXPECT_EQ(ran.status, 0);
  EXPECT_EQ(ran.out, "DE51123056001000565601\n");
}

// Broken XML is reported with its line; a document that cannot be loaded shows nothing of the
// settings as if it were the file's.
TEST(CommandsTest, XmlCheckAndCheckOfBrokenFiles) {
  ScopedTempDir dir;
  WriteBytes(dir.File("kaputt.xml"), "<Document>\n  <GrpHdr>\n</Document>\n");
  EXPECT_TRUE(Says(Lastora({"xml-check", dir.File("kaputt.xml")}), 1, "(Zeile "));
  testing::Ran ran = Lastora({"check", dir.File("kaputt.xml")});
  EXPECT_TRUE(Says(ran, 1, "Prüfung SEPA: XML-Parser-Fehler: "));
  EXPECT_FALSE(Contains(ran.out, "Datei 1:"));
  EXPECT_TRUE(
      Complains(Lastora({"check", "/nirgends/datei.xml"}), 1, "Datei fehlt: /nirgends/datei.xml"));
}

TEST(CommandsTest, RunSavesTheSettingsAndGenerateFromItsTableGivesTheSameFiles) {
  Club club;
  testing::Ran ran = Lastora({"run", "-s", club.settings, "-d", club.dir.File("eins"), "-o",
                              club.dir.File("zahlungen.csv"), "--save"});
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
  const std::string saved = ReadBytes(club.settings);
  EXPECT_TRUE(saved.starts_with(kSettings)) << "comments and order stay";
  EXPECT_TRUE(Contains(saved, "ProgErzeResu = ok\r\n"));
  EXPECT_FALSE(Contains(saved, "SepaFMI1")) << "derived identifiers are not pinned";
  for (const std::string table : {"zahlungen.csv", "zahlungen.xlsx"}) {
    const std::string out_dir = club.dir.File("aus-" + table);
    // The same files again means the same message ids, which a register refuses.
    ran = Lastora({"process", "-s", club.settings, "--no-register", "-o", club.dir.File(table)});
    ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
    ran = Lastora({"generate", "-s", club.settings, "--no-register", "-p", club.dir.File(table),
                   "-d", out_dir});
    ASSERT_EQ(ran.status, 0) << table << "\n" << ran.out << ran.err;
    for (const std::string name : {"SEPA_2026-03-16_FRST.xml", "SEPA_2026-03-16_RCUR.xml"}) {
      const std::string written = out_dir + "/" + name;
      EXPECT_EQ(ReadBytes(written), ReadBytes(club.dir.File("eins/" + name))) << table << name;
      EXPECT_EQ(::lastora::testing::SepaSchemaErrorsOfFile(written), "") << name;
    }
  }
}

TEST(CommandsTest, DtausFilesReadBackWithTheirOwnFigures) {
  Club club;
  const std::string out_dir = club.dir.File("dtaus");
  ASSERT_EQ(Lastora({"run", "-s", club.settings, "-d", out_dir, "--dtaus"}).status, 0);
  EXPECT_TRUE(Says(Lastora({"check", out_dir + "/DTAUS_2026-03-16.txt", "-s", club.settings}), 0,
                   "Prüfung DTAUS: ok"));
}

// Optional columns and the first data row may be left out; a column may be named by its title.
TEST(CommandsTest, ImportColumnsByTitleWithDefaultsAndAMissingListNamed) {
  const Club club(kMembers, Edited({{"Import__LINE = 2", ""},
                                    {"Import__KONT = 0", ""},
                                    {"Import__BLZ_ = 0", ""},
                                    {"Import__LAND = 0", ""},
                                    {"Import__AUST = 0", ""},
                                    {"Import__IBAN = 3", "Import__IBAN = iban"},
                                    {"Import__BIC_ = 4", "Import__BIC_ = BIC"}}));
  const testing::Ran ran = club.Process();
  EXPECT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_TRUE(Contains(ReadBytes(club.dir.File("zahlungen.csv")), "DE12123056001000123401"));
  WriteBytes(club.settings, Edited({{"Import__IBAN = 3", "Import__IBAN = Konto"}}));
  EXPECT_TRUE(Says(club.Process(), 1,
                   "Import-Spalte für IBAN nicht oder nicht richtig angegeben: Konto "
                   "(Überschriften der Liste: Mitglied, Kontoinhaber, IBAN, BIC, Mandat, "
                   "Mandatsdatum, Beitrag, Eintritt, Erste Abbuchung, Einmal)"));

  // A missing member list stops the run before the payment table is written.
  const std::string output = club.dir.File("fehlt.csv");
  EXPECT_TRUE(
      Says(Lastora({"process", "-s", club.settings, "-m", club.dir.File("weg.csv"), "-o", output}),
           1, "Angegebene Import-Datei nicht vorhanden: " + club.dir.File("weg.csv")));
  EXPECT_FALSE(fs::exists(output));
}

// Rows are merged only when adjacent, so the workbook brings one account's rows together and
// warns of different holders; the table keeps the list's order, the sum on the last member.
TEST(CommandsTest, JointAccountsAreMergedAcrossTheListAndDifferentHoldersWarned) {
  const Club club(std::string(kMembers) +
                  "Albers, Bernd;Bernd Albers;DE12123056001000123401;BEISDEM1XXX;M-4;12.01.2014;"
                  "60,00;01.01.2014;15.03.2014;\r\n");
  const testing::Ran ran = club.Process();
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
  const std::string written = ReadBytes(club.dir.File("zahlungen.csv"));
  const std::string last_row = written.substr(written.find(";Bernd Albers;"));
  EXPECT_TRUE(Contains(last_row, ";180;")) << "one debit of 120 + 60: " << written;
  EXPECT_TRUE(
      Contains(last_row, "Ein Konto, verschiedene Kontoinhaber: Karin Albers / Bernd Albers"))
      << written;
  EXPECT_LT(written.find("Karin"), written.find("Bjoern")) << "the list's order holds";
}

// Usage errors name what is missing and where help is; "settings" names what a run would refuse.
TEST(CommandsTest, UsageErrorsAndSettingsShownChecked) {
  testing::Ran ran = Lastora({});
  EXPECT_EQ(ran.status, 2);
  EXPECT_EQ(ran.err, "lastora: Befehl fehlt\nHilfe: lastora --help\n");
  EXPECT_TRUE(Complains(Lastora({"generate", "-d", "aus"}), 2,
                        "--settings fehlt\nHilfe: lastora generate --help"));
  EXPECT_TRUE(Complains(Lastora({"check"}), 2, "datei fehlt\nHilfe: lastora check --help"));
  // A subcommand's help has one heading for its options, the German one.
  ran = Lastora({"check", "--help"});
  EXPECT_EQ(ran.out.find("Options"), std::string::npos) << ran.out;
  EXPECT_NE(ran.out.find("Optionen:\n  -h,--help"), std::string::npos) << ran.out;

  const Club club(kMembers, Edited({{"KreditorNAME = TSV Test", ""}}));
  ran = Lastora({"settings", "-s", club.settings});
  EXPECT_EQ(ran.status, 1);
  EXPECT_EQ(ran.err, "lastora: " + club.settings + ": KreditorNAME fehlt\n");
}

// Two members without first-debit dates, so the register alone decides FRST or RCUR.
Club RegisterClub() {
  return Club(
      "Mitglied;Kontoinhaber;IBAN;BIC;Mandat;Mandatsdatum;Beitrag\r\n"
      "Albers, Karin;Karin Albers;DE12123056001000123401;BEISDEM1XXX;M-1;12.01.2014;120,00\r\n"
      "Große, Björn;Björn Große;DE49503201002200456701;MUSKDEF1XXX;M-2;14.02.2020;60,00\r\n",
      Edited({{"Import__EINT = 8", "Import__EINT = 0"},
              {"Import__EDAT = 9", "Import__EDAT = 0"},
              {"Import__EINM = 10", "Import__EINM = 0"}}));
}

constexpr const char* kAllFirst = "Datei 1 (FRST, FNAL, OOFF, Überweisung): 2 Zahlungen";
constexpr const char* kAllRecurring = "Datei 2 (RCUR): 2 Zahlungen";

TEST(RegisterCommandTest, RecordedRunTurnsFirstIntoRecurringUntilItIsCancelled) {
  Club club = RegisterClub();
  ASSERT_TRUE(Says(club.Process(), 0, kAllFirst));
  ASSERT_TRUE(Says(club.Generate("lauf1"), 0, "eingetragen als Lauf 1"));

  const testing::Ran second = club.Process();
  EXPECT_TRUE(Contains(second.out, kAllRecurring));
  EXPECT_TRUE(Contains(second.out, "Mandatsregister: 2 Zeilen"));

  EXPECT_TRUE(Contains(Lastora({"runs", "-s", club.settings}).out, "Lauf 1 vom "));
  EXPECT_EQ(Lastora({"runs", "-s", club.settings, "--cancel", "1"}).status, 0);
  EXPECT_TRUE(Contains(club.Process().out, kAllFirst));
}

TEST(RegisterCommandTest, SecondRunOnTheSameDayIsRefusedUnlessAskedFor) {
  Club club = RegisterClub();
  ASSERT_EQ(club.Process().status, 0);
  ASSERT_EQ(club.Generate("lauf1").status, 0);

  // An hour later the same table again: new identifiers, but the same members on the same day.
  const std::string later = "2026-03-02 10:30:00";
  const testing::Ran refused = club.Generate("lauf2", later);
  EXPECT_TRUE(Says(refused, 1, "2 Mandate wurden am 16.03.2026 schon abgebucht (Lauf 1 vom "));
  EXPECT_TRUE(fs::is_empty(club.dir.File("lauf2")));
  EXPECT_FALSE(Contains(Lastora({"runs", "-s", club.settings}).out, "Lauf 2"));

  const testing::Ran allowed = club.Generate("lauf2", later, "--again");
  EXPECT_TRUE(Says(allowed, 0, "Warnung: Mandatsregister: 2 Mandate wurden am 16.03.2026"));
  EXPECT_TRUE(Contains(allowed.out, "eingetragen als Lauf 2"));
}

// The register takes a run while its documents are checked: a run the schema refuses leaves no
// trace in it, so the same table with the same identifiers goes through once the schema allows.
TEST(RegisterCommandTest, RunRefusedByTheSchemaIsNotInTheRegister) {
  Club club = RegisterClub();
  ASSERT_EQ(club.Process().status, 0);
  {
    const lastora::testing::RefusingSchemas strict_schema;
    const testing::Ran refused = club.Generate("lauf1");
    EXPECT_TRUE(Says(refused, 1, "Schema pain.008.002.02 verletzt"));
    EXPECT_FALSE(Contains(refused.out, "eingetragen als Lauf"));
  }
  EXPECT_FALSE(Contains(Lastora({"runs", "-s", club.settings}).out, "Lauf 1"));
  EXPECT_TRUE(Says(club.Generate("lauf1"), 0, "eingetragen als Lauf 1"));
}

TEST(RegisterCommandTest, MandatesTravelThroughCsvAndMissingRegisterIsNamed) {
  Club club = RegisterClub();
  EXPECT_TRUE(Complains(Lastora({"runs", "-s", club.settings}), 1, "Kein Mandatsregister"));
  EXPECT_FALSE(fs::exists(club.dir.File("lastora.db")));

  WriteBytes(club.dir.File("alt.csv"), "Mandat;Erste Abbuchung\r\nM-2;10.03.2020\r\n");
  ASSERT_EQ(Lastora({"mandates", "-s", club.settings, "--import", club.dir.File("alt.csv")}).status,
            0);
  EXPECT_TRUE(Contains(Lastora({"mandates", "-s", club.settings}).out, "erste 10.03.2020"));
}

// One demo run serves both halves: the bank files and the letters.
TEST(MergeCommandTest, DemoWritesCheckedBankFilesAndLetters) {
  ScopedTempDir dir;
  const std::string club = dir.File("verein");
  const testing::Ran ran = Lastora({"demo", club});
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_TRUE(Contains(ran.out, "Prüfung SEPA: ok"));
  // The first member's letter too, named after her by the definition's fields.
  EXPECT_TRUE(fs::exists(club + "/Briefe/Beitrag_1_Karin Albers.docx"));
  // The thirty notices and the label sheet saved, one mail per notice.
  EXPECT_TRUE(Contains(
      ran.out,
      "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 31 gespeichert, 30 Mailvorlagen angelegt"));
}

// An installed program cannot write beside itself; a program folder or build tree can.
TEST(ProgramHomeTest, OnlyAnInstalledProgramMovesItsFilesToTheUsersDataFolder) {
  EXPECT_EQ(InstalledProgramHome("/usr/bin/lastora", nullptr, "/home/kasse"),
            "/home/kasse/.local/share/lastora");
  EXPECT_EQ(InstalledProgramHome("/usr/local/bin/lastora", "/daten", "/home/kasse"),
            "/daten/lastora");
  EXPECT_EQ(InstalledProgramHome("/home/kasse/Lastora/lastora", nullptr, "/home/kasse"), "");
  EXPECT_EQ(InstalledProgramHome("/work/build/src/cli/lastora", "/daten", "/home/kasse"), "");
}

}  // namespace
}  // namespace lastora::cli
