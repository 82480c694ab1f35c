// lastora merge: letters for the members of a club folder, and the demo club's letters.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/lastora_runner.h"
#include "support/temp_dir.h"

namespace lastora::cli {
namespace {

namespace fs = std::filesystem;
using ::lastora::testing::ScopedTempDir;
using ::lastora::testing::WriteBytes;
using testing::Contains;
using testing::Lastora;

// A club folder: settings, two members, the letter template, a definitions file.
struct LetterClub {
  LetterClub() {
    WriteBytes(dir.File("verein.ini"), "KreditorNAME = TSV Test\r\n");
    WriteBytes(
        dir.File("mitglieder.csv"),
        "Nr;Mitglied;Kontoinhaber;IBAN\r\n1;Albers, Karin;Karin Albers;DE12123056001000123401"
        "\r\n2;Große, Björn;Björn Große;DE49503201002200456701\r\n");
    fs::create_directories(dir.path() / "Vorlagen");
    fs::create_directories(dir.path() / "Briefe");
    fs::copy_file(std::string(LASTORA_TESTDATA_DIR) + "/mailmerge/Beitragsbescheid.docx",
                  dir.path() / "Vorlagen" / "Brief.docx");
    WriteBytes(
        dir.File("briefe.csv"),
        "Bezeichnung;Vorlage;Art;Dateiname;Ordner;Kopien;Speichern\r\n"
        "Bescheid;..\\Vorlagen\\Brief.docx;Brief;\"\"\"Bescheid_\"\";Nr\";..\\Briefe;;X\r\n");
  }
  std::vector<std::string> Args(std::vector<std::string> more = {}) const {
    more.insert(more.begin(), {"merge", "-s", dir.File("verein.ini"), "--definitions",
                               dir.File("briefe.csv"), "-m", dir.File("mitglieder.csv")});
    return more;
  }
  ScopedTempDir dir;
};

TEST(MergeCommandTest, LettersLandInTheDefinitionsFolderNamedAfterTheMember) {
  LetterClub club;
  testing::Ran ran = Lastora(club.Args());
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_TRUE(Contains(ran.out, "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 2 gespeichert"));
  EXPECT_TRUE(fs::exists(club.dir.File("Briefe/Bescheid_1.docx")));
  EXPECT_TRUE(fs::exists(club.dir.File("Briefe/Bescheid_2.docx")));

  fs::remove(club.dir.File("Vorlagen/Brief.docx"));
  ran = Lastora(club.Args());
  EXPECT_EQ(ran.status, 1);
  EXPECT_TRUE(Contains(ran.out, "Die Datei existiert nicht: ..\\Vorlagen\\Brief.docx"));
}

// One demo run serves both halves: the bank files and the letters.
TEST(MergeCommandTest, DemoWritesCheckedBankFilesAndLetters) {
  ScopedTempDir dir;
  const std::string club = dir.File("verein");
  const testing::Ran ran = Lastora({"demo", club});
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_TRUE(Contains(ran.out, "Prüfung SEPA: ok"));
  EXPECT_FALSE(fs::is_empty(club + "/Briefe"));
  EXPECT_TRUE(Contains(ran.out, "Mailvorlagen angelegt"));
}

}  // namespace
}  // namespace lastora::cli
