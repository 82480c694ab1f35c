#include "mailmerge/merge_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "component/write_log.h"
#include "lastora/variant.h"
#include "mailmerge/outbox.h"
#include "support/fake_office.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

using Texts = std::vector<std::string>;
using testing::ReadBytes;
using testing::WriteBytes;

namespace fs = std::filesystem;

const double kMergeDay = MakeDate(2025, 3, 5) + MakeTime(14, 3, 9);

// A program folder with templates, an output folder and the outbox; a fixed clock; the fake
// office; three members.
class MergeRunTest : public ::testing::Test {
 protected:
  MergeRunTest() : home_("LASTORA_HOME", program_.path().string()), platform_(kMergeDay) {
    for (const char* folder : {"Vorlagen", "Briefe", "Sendedaten/_Postfach", "Logdateien"}) {
      fs::create_directories(program_.path() / folder);
    }
    strLogName().clear();
    WriteBytes(Home("Vorlagen/Brief.docx"), "Hallo <<Vorname>> <<Name>>\nGruß, <<Verein>>\n");
    WriteBytes(Home("Vorlagen/Lastora_Print.ini"),
               "[Druck]\r\nUsertext_Verein=TSV Musterstadt\r\nBetreff=TSV:\r\n"
               "Body=Liebe Mitglieder, (BODY)\r\n");
    const char* cells[4][4] = {{"Name", "Vorname", "EMail", "Ort"},
                               {"Zander", "Anna", "anna@example.org", "Musterstadt"},
                               {"Berg", "Bernd", "", "Musterstadt"},
                               {"Adler", "Carla", "carla@example.org", "Musterstadt"}};
    header_ = Table(1, 4);
    records_ = Table(3, 4);
    for (int32_t c = 1; c <= 4; ++c) {
      header_(1, c) = Variant(cells[0][c - 1]);
      for (int32_t r = 1; r <= 3; ++r) records_(r, c) = Variant(cells[r][c - 1]);
    }
    definitions_ = Table(2, 24);
    Define(1, "..\\Vorlagen\\Brief.docx");
  }
  ~MergeRunTest() override { strLogName().clear(); }

  std::string Home(const std::string& relative) const {
    return (program_.path() / relative).string();
  }
  // A folder as the run writes it: the program folder and the rest as the definition says.
  std::string AppFolder(const std::string& rest) const {
    return program_.path().string() + "\\" + rest + "\\";
  }
  // Saves each letter as "Name_Vorname", prints one copy, mails it to the member.
  void Define(int32_t row, const std::string& template_path) {
    const char* cells[] = {
        "Name;\"_\";Vorname",         "..\\Briefe", "1", "x", "X", "EMail", "Beitrag 2025",
        "anbei der Beitragsbescheid."};
    definitions_(row, 2) = Variant(template_path);
    for (int32_t c = 4; c <= 11; ++c) definitions_(row, c) = Variant(cells[c - 4]);
  }
  std::string Run(int16_t definition_row = 1, int32_t record_row = 0, bool no_print = false) {
    return RunMailMerge(
        {7, records_, header_, definitions_, definition_row, record_row, 0, 0, no_print, false});
  }
  std::vector<std::string> Outbox() const {
    return testing::FileNamesIn(program_.path() / "Sendedaten" / "_Postfach");
  }
  std::vector<std::string>& Calls() { return office_.office().calls; }
  Texts CallsOf(const std::string& prefix) { return office_.office().CallsStartingWith(prefix); }

  testing::ScopedTempDir program_;
  testing::ScopedEnv home_;
  testing::ScopedTestPlatform platform_;
  testing::ScopedFakeOffice office_;
  Table header_;
  Table records_;
  Table definitions_;
};

TEST_F(MergeRunTest, LettersArePrintedSavedAndMailedWithTheRunsCounts) {
  EXPECT_EQ(Run(),
            "Seriendruck ok: Anzahl Dokumente: 3 gedruckt, 3 gespeichert, "
            "2 Mailvorlagen angelegt");
  // The last letter holds its own values: each record fills a fresh copy of the template.
  EXPECT_EQ(ReadBytes(Home("Briefe/Adler_Carla.docx")),
            "Hallo Carla Adler\nGruß, TSV Musterstadt\n");
  // The template stays as it was; the working copy is gone.
  EXPECT_EQ(ReadBytes(Home("Vorlagen/Brief.docx")),
            "Hallo <<Vorname>> <<Name>>\nGruß, <<Verein>>\n");
  EXPECT_FALSE(fs::exists(Home("Vorlagen/Dummy.doc")));
  // Bernd has no address: his letter is saved but not queued, and the numbering has no gap.
  EXPECT_EQ(Outbox(), (Texts{"MailingXML_0007_20250305140309_0001.xml",
                             "MailingXML_0007_20250305140309_0002.xml"}));
  // The layout of a job is the outbox's own case; here: which letter goes to whom.
  EXPECT_EQ(ReadBytes(Home("Sendedaten/_Postfach/MailingXML_0007_20250305140309_0002.xml")),
            MailJobText({AppFolder("Briefe") + "Adler_Carla.docx", "carla@example.org",
                         "TSV: Beitrag 2025", "Liebe Mitglieder, anbei der Beitragsbescheid."}));
  // What the caller reads back: the folders made absolute, the last saved document.
  EXPECT_EQ(definitions_(1, 5), Variant(AppFolder("Briefe")));
  EXPECT_EQ(definitions_(1, 24), Variant("Adler_Carla.docx"));
  // Each letter is printed once.
  EXPECT_EQ(CallsOf("Print 1").size(), 3u);
  EXPECT_EQ(Calls().back(), "Quit");
}

TEST_F(MergeRunTest, EarlyEndsQuitTheOfficeNameWhatIsMissingAndKeepWhatWasSaved) {
  Table none;
  EXPECT_EQ(RunMailMerge({7, none, header_, definitions_, 1, 0, 0, 0, false, false}),
            "Seriendruck: Nichts ausgewählt! Bitte mindestens einen Datensatz auswählen!");
  EXPECT_EQ(Calls(), (Texts{"Quit"}));

  Calls().clear();
  definitions_(1, 2) = Variant("..\\Vorlagen\\Fehlt.docx");
  EXPECT_EQ(Run(), "Die Datei existiert nicht: ..\\Vorlagen\\Fehlt.docx");
  EXPECT_EQ(Calls(), (Texts{"Quit"}));

  // A missing outbox ends the run but keeps the saved letter.
  definitions_(1, 2) = Variant("..\\Vorlagen\\Brief.docx");
  fs::remove_all(program_.path() / "Sendedaten");
  const std::string result = Run(1, 1);
  EXPECT_TRUE(result.starts_with("Seriendruck Fehler: 76 - ")) << result;
  EXPECT_EQ(ReadBytes(Home("Briefe/Zander_Anna.docx")),
            "Hallo Anna Zander\nGruß, TSV Musterstadt\n");
  EXPECT_EQ(Calls().back(), "Quit");
  EXPECT_FALSE(fs::exists(Home("Vorlagen/Dummy.doc")));
}

TEST_F(MergeRunTest, OnlyTheChosenDefinitionAndRecordAreMergedAndPrintedAsItSays) {
  WriteBytes(Home("Vorlagen/Etikett.xlsx"), "<<Name>>, <<Vorname>>\nNr. <<Function:LfdNr>>\n");
  definitions_(2, 2) = Variant("..\\Vorlagen\\Etikett.xlsx");
  definitions_(2, 6) = Variant("2");
  // Only definition row 2, only record row 2: one workbook, printed first page only.
  EXPECT_EQ(Run(2, 2),
            "Seriendruck ok: Anzahl Dokumente: 1 gedruckt, 0 gespeichert, "
            "0 Mailvorlagen angelegt");
  EXPECT_EQ(CallsOf("Status"), (Texts{"Status Bearbeite Anhang Nr. 1 aus Zeile 2 von 2"}));
  EXPECT_EQ(CallsOf("Cell"), (Texts{"Cell 1 Berg, Bernd", "Cell 2 Nr. 1"}));
  EXPECT_EQ(CallsOf("Print"), (Texts{"Print 2 first-page"}));
  EXPECT_TRUE(CallsOf("Open Brief").empty());
}

TEST_F(MergeRunTest, LabelsOfAllRecordsGoOnOneSheetNamedAfterTheFirst) {
  // Settings row 2: three rows per label, two across, starting at the second position.
  WriteBytes(Home("Vorlagen/Etiketten.xlsx"),
             "<<Name>>, <<Vorname>>\nNr. <<Function:LfdNr>> · <<Verein>>\nTSV\n[Settings]\n"
             "Definition\nEtiketten\t\t\t2\t0\t2\t\t\t\t\t\t\t\t13;15\n");
  Define(2, "..\\Vorlagen\\Etiketten.xlsx");
  definitions_(2, 4) = Variant("\"Etiketten_\";Name");
  definitions_(2, 18) = Variant("Name");
  EXPECT_EQ(Run(2),
            "Seriendruck ok: Anzahl Dokumente: 1 gedruckt, 1 gespeichert, "
            "0 Mailvorlagen angelegt");
  EXPECT_EQ(CallsOf("Labels"), (Texts{"Labels 3x1, 2 across, 2 rows"}));
  EXPECT_EQ(ReadBytes(Home("Briefe/Etiketten_Adler.xlsx")),
            "@1,2 | Adler, Carla | Nr. 1 · TSV Musterstadt\n"
            "@4,1 | Berg, Bernd | Nr. 2 · TSV Musterstadt\n"
            "@4,2 | Zander, Anna | Nr. 3 · TSV Musterstadt\n");
  EXPECT_EQ(definitions_(2, 24), Variant("Etiketten_Adler.xlsx"));
  // Sorting orders the run, not the caller's records.
  EXPECT_EQ(records_(1, 1), Variant("Zander"));
  // The whole sheet is printed once; each record still shows in the status bar; a label sheet
  // is no letter to mail.
  EXPECT_EQ(CallsOf("Print"), (Texts{"Print 1"}));
  EXPECT_EQ(CallsOf("Status").size(), 3u);
  EXPECT_TRUE(Outbox().empty());

  // A Settings row that is no layout stops the run with the cell to mend.
  WriteBytes(Home("Vorlagen/Etiketten.xlsx"), "<<Name>>\n[Settings]\nDefinition\n\tzwei\n");
  EXPECT_EQ(Run(2),
            "Seriendruck Fehler: 13 - Etiketten: Im Blatt Settings, Zeile 2, Spalte 2 steht "
            "„zwei“ statt einer ganzen Zahl.");
  EXPECT_EQ(Calls().back(), "Quit");
}

TEST_F(MergeRunTest, UnusableDefinitionsAreSkippedAndTheRunGoesOn) {
  WriteBytes(Home("Vorlagen/Kaputt.docx"), "broken");
  WriteBytes(Home("Vorlagen/Info.pdf"), "%PDF");
  definitions_ = Table(3, 24);
  Define(1, "..\\Vorlagen\\Kaputt.docx");
  Define(2, "..\\Vorlagen\\Info.pdf");
  Define(3, "..\\Vorlagen\\Brief.docx");
  definitions_(3, 8) = Variant("");
  EXPECT_EQ(Run(0),
            "Seriendruck ok: Anzahl Dokumente: 3 gedruckt, 3 gespeichert, "
            "0 Mailvorlagen angelegt");
  ASSERT_EQ(platform_.dialogs().shown.size(), 1u);
  EXPECT_EQ(platform_.dialogs().shown[0].prompt.find("Die Datei existiert nicht: \r\n\r\n"), 0u);
}

TEST_F(MergeRunTest, RecordValuesCannotLeadTheLetterOutOfItsFolder) {
  records_(1, 1) = Variant("..\\..\\etc/passwd");
  records_(2, 1) = Variant("CON");
  definitions_(1, 4) = Variant("Name");
  definitions_(1, 8) = Variant("");
  Run(1, 0, true);
  EXPECT_EQ(testing::FileNamesIn(program_.path() / "Briefe"),
            (Texts{"Adler.docx", "_CON.docx", "____etc_passwd.docx"}));
}

}  // namespace
}  // namespace lastora
