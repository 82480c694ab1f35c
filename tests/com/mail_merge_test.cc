// The mail merge through the server as a workbook calls it, against stand-ins for Word and Excel
// that record every automation call and apply it to plain-text documents: the saved and printed
// documents hold the members' values, the calls come in the order the programs need, and every
// program the run starts is quit. Without the programs the run ends in its own words.
#include <filesystem>
#include <string>
#include <vector>

#include "com/fake_office_host.h"
#include "com/late_bound.h"
#include "com/sheet_arrays.h"

namespace lastora::testing {
namespace {

namespace fs = std::filesystem;

class MailMergeTest : public ProgramFolderTest {
 protected:
  std::string Merge(const Table& records, const Table& header, const Table& definitions,
                    bool no_print = false) {
    Var records_arg, header_arg, definitions_arg, iban(L"");
    PutRange(records, &records_arg.v);
    PutRange(header, &header_arg.v);
    PutRange(definitions, &definitions_arg.v);
    return object_->Text(L"ext_CreateSerienbrief",
                         {Scalar(VT_I4, 1), records_arg.v, header_arg.v, definitions_arg.v,
                          Scalar(VT_I2), Scalar(VT_I4), iban.v, Scalar(VT_I4), Scalar(VT_I4),
                          Scalar(VT_BOOL, no_print), Scalar(VT_BOOL)});
  }
};

TEST_F(MailMergeTest, WithoutTheOfficeProgramsTheRunEndsInItsOwnWords) {
  const std::string letter = (home_.path() / "Beitrag.docx").string();
  WriteBytes(letter, "PK");
  Table definitions(1, 24);
  definitions(1, 2) = letter;
  definitions(1, 4) = "Name";
  const std::string result = Merge(Rows({{"Karin Albers", ""}, {"Jürgen Bäcker", ""}}),
                                   Rows({{"Name", "Ort"}}), definitions, true);
  // Word cannot be created: the definition is skipped and the run counts nothing.
  EXPECT_EQ(result.rfind("Seriendruck ok: Anzahl Dokumente: 0 ", 0), 0u) << result;
  // The object lives on: the run released what it had started.
  Var letter_a(L"a");
  EXPECT_EQ(object_->Text(L"IsCharacter", {letter_a.v}), "Wahr");
}

// The stand-ins registered as Word and Excel for each test, with the call log in the test's
// folder.
class OfficeMergeTest : public MailMergeTest {
 protected:
  void SetUp() override {
    MailMergeTest::SetUp();
    StartOffice();
    fs::create_directories(home_.path() / "Ausgabe");
  }
  // `name` in UTF-8.
  fs::path Output(const std::string& name) {
    return home_.path() / "Ausgabe" / fs::path(std::u8string(name.begin(), name.end()));
  }

  // One definition row: template, name pattern, output folder, copies, save.
  static Table Definition(const std::string& template_path, const std::string& copies) {
    Table definitions(1, 24);
    definitions(1, 2) = template_path;
    definitions(1, 4) = "Name";
    definitions(1, 5) = "..\\Ausgabe";
    definitions(1, 6) = copies;
    definitions(1, 7) = "x";
    return definitions;
  }
};

constexpr char kLetter[] =
    "@story\n"
    "Sehr geehrte(r) <<Name>>,\n"
    "Ihr Beitrag von <<Beitrag>> wird eingezogen. Ort: <<Ort>>\n"
    "@story\n"
    "Mitglied <<Name>>\n";

// A printer named in the print settings serves the run's prints alone: the user finds Word's
// printer as it was.
constexpr char kChosen[] = "Word.ActivePrinter := Büro 2. OG";
constexpr char kRestored[] = "Word.ActivePrinter := Standarddrucker";

TEST_F(OfficeMergeTest, WordLettersHoldTheMembersValuesAndWordIsStartedAndQuitOnce) {
  Write(home_.path() / "Vorlagen" / "Beitrag.docx", kLetter);
  // Windows-1252, as the settings file is kept.
  Write(home_.path() / "Vorlagen" / "Lastora_Print.ini", "Drucker=B\xFCro 2. OG\r\n");
  // Word's search box reads "^&" as "the text found" and "^^" as one caret.
  const std::string result = Merge(
      Rows({{"Karin Albers", "Köln", "12,50"}, {"Jürgen Bäcker", "Haus ^^ Hof ^& Co", "30,00"}}),
      Rows({{"Name", "Ort", "Beitrag"}}), Definition("..\\Vorlagen\\Beitrag.docx", "2"));
  EXPECT_EQ(result,
            "Seriendruck ok: Anzahl Dokumente: 2 gedruckt, 2 gespeichert, 0 Mailvorlagen angelegt");
  EXPECT_EQ(Read(Output("Karin Albers.docx")),
            "@story\nSehr geehrte(r) Karin Albers,\nIhr Beitrag von 12,50 wird eingezogen. Ort: "
            "Köln\n@story\nMitglied Karin Albers\n");
  EXPECT_EQ(Read(Output("Jürgen Bäcker.docx")),
            "@story\nSehr geehrte(r) Jürgen Bäcker,\nIhr Beitrag von 30,00 wird eingezogen. Ort: "
            "Haus ^^ Hof ^& Co\n@story\nMitglied Jürgen Bäcker\n");
  // The template stays as it was; the working copy is gone.
  EXPECT_EQ(Read(home_.path() / "Vorlagen" / "Beitrag.docx"), kLetter);
  EXPECT_FALSE(fs::exists(home_.path() / "Vorlagen" / "Dummy.doc"));

  const std::string printed = office_->Printed();
  EXPECT_EQ(Count(printed, "@print Document copies=2 "), 2) << printed;
  EXPECT_EQ(MissingInOrder(printed, {"Karin Albers,", "Jürgen Bäcker,"}), "") << printed;

  const std::string log = office_->CallLog();
  EXPECT_EQ(Count(log, "Word.Application created"), 1) << log;
  EXPECT_EQ(Count(log, "Excel.Application created"), 0) << log;
  EXPECT_TRUE(log.ends_with("\nWord.Quit(SaveChanges:=0)\n")) << log;
  EXPECT_EQ(Count(log, "Word.Quit("), 1) << log;
  EXPECT_EQ(Count(log, kChosen), 2) << log;
  EXPECT_EQ(
      MissingInOrder(
          log, {"Word.Visible := False", "Word.ScreenUpdating := False", "Word.WindowState := 2",
                // The first pass looks into the template itself and closes it unchanged.
                "Beitrag.docx)", "StoryRange.Text()", "Document.Close(SaveChanges:=0)",
                // Then each member fills a fresh working copy.
                "Dummy.doc)",
                "Find.Execute(FindText:=<<Name>>, ReplaceWith:=Karin Albers, "
                "Replace:=2)",
                kChosen, "Document.PrintOut(Background:=False, FileName:=", "Copies:=2)", kRestored,
                "Document.Save()", "Document.Close(SaveChanges:=0)", "Dummy.doc)",
                "ReplaceWith:=Haus ^^^^ Hof ^^& Co", kChosen, "Document.PrintOut(", kRestored,
                "Document.Save()", "Word.Quit"}),
      "")
      << log;
  EXPECT_EQ(office_->LiveObjects(), 0);
}

// Every automation object a call creates is released in that call, a failing one included.
TEST_F(OfficeMergeTest, AFailingCallStillClosesTheDocumentAndQuitsWord) {
  Write(home_.path() / "Vorlagen" / "Beitrag.docx", kLetter);
  Write(home_.path() / "Vorlagen" / "Lastora_Print.ini", "Drucker=B\xFCro 2. OG\r\n");
  {
    const ScopedEnv fail("FAKE_OFFICE_FAIL", "Document.PrintOut");
    EXPECT_EQ(Merge(Rows({{"Karin Albers"}}), Rows({{"Name"}}),
                    Definition("..\\Vorlagen\\Beitrag.docx", "1")),
              "Seriendruck Fehler: 1004 - Der Test lässt Document.PrintOut scheitern");
  }
  const std::string log = office_->CallLog();
  // The document the failure left open is closed unsaved before Word quits, and the user's
  // printer is back.
  EXPECT_EQ(MissingInOrder(log, {kChosen, "Document.PrintOut(", kRestored,
                                 "Document.Close(SaveChanges:=0)", "Word.Quit(SaveChanges:=0)"}),
            "")
      << log;
  EXPECT_EQ(Count(log, "Word.Application created"), Count(log, "Word.Quit("));
  EXPECT_FALSE(fs::exists(Output("Karin Albers.docx")));
  EXPECT_FALSE(fs::exists(home_.path() / "Vorlagen" / "Dummy.doc"));
  EXPECT_EQ(office_->LiveObjects(), 0);
}

constexpr char kCard[] =
    "@sheet Karte\n"
    "@cell 1 1 Mitgliedskarte Nr. <<Function:LfdNr>>\n"
    "@cell 2 1 <<Name>>\n"
    "@cell 3 1 <<PLZ>>\n"
    "@cell 3 2 <<Verein>>\n"
    "@sheet Notizen\n"
    "@cell 1 1 bleibt\n";

TEST_F(OfficeMergeTest, ExcelCardsHoldTheMembersValuesAndExcelIsStartedAndQuitOnce) {
  Write(home_.path() / "Vorlagen" / "Karte.xlsx", kCard);
  Write(home_.path() / "Vorlagen" / "Lastora_Print.ini", "Usertext_Verein=TSV Musterstadt\r\n");
  const std::string result =
      Merge(Rows({{"Karin Albers", "01234"}, {"Jürgen Bäcker", "80331"}}), Rows({{"Name", "PLZ"}}),
            Definition("..\\Vorlagen\\Karte.xlsx", "3"));
  EXPECT_EQ(result,
            "Seriendruck ok: Anzahl Dokumente: 2 gedruckt, 2 gespeichert, 0 Mailvorlagen angelegt");

  const std::string karin = Read(Output("Karin Albers.xlsx"));
  // The postcode keeps its leading zero: it went in as a text.
  EXPECT_NE(karin.find("@cell 1 1 Mitgliedskarte Nr. 1\n@cell 2 1 Karin Albers\n"
                       "@cell 3 1 01234\n@cell 3 2 TSV Musterstadt\n@sheet Notizen\n"),
            std::string::npos)
      << karin;
  const std::string juergen = Read(Output("Jürgen Bäcker.xlsx"));
  EXPECT_NE(juergen.find("Nr. 2\n@cell 2 1 Jürgen Bäcker\n@cell 3 1 80331\n"), std::string::npos)
      << juergen;
  const std::string printed = office_->Printed();
  EXPECT_EQ(Count(printed, "@print Sheets copies=3 from=1 to=1 collate=True"), 2) << printed;
  EXPECT_EQ(MissingInOrder(printed, {"Karin Albers", "Jürgen Bäcker"}), "") << printed;

  const std::string log = office_->CallLog();
  EXPECT_EQ(Count(log, "Excel.Application created"), 1) << log;
  EXPECT_EQ(Count(log, "Word.Application created"), 0) << log;
  EXPECT_TRUE(log.ends_with("\nExcel.DisplayAlerts := False\nExcel.Quit()\n")) << log;
  EXPECT_EQ(Count(log, "Excel.Quit("), 1) << log;
  EXPECT_EQ(
      MissingInOrder(
          log,
          {"Excel.ScreenUpdating := False", "Karte.xlsx)", "Excel.Calculation := -4135",
           "Range.Replace(What:=<<Verein>>, Replacement:=TSV Musterstadt)",
           "Range.Find(What:=<<, After:=<Range>, LookIn:=-4163, LookAt:=2, SearchOrder:=1, "
           "SearchDirection:=1, MatchCase:=False)",
           "Workbook.Close(SaveChanges:=False)",
           "Excel.StatusBar := Bearbeite Anhang Nr. 1 aus Zeile 1 von 2",
           "Range.Value := 'Karin Albers", "Range.Value := '01234",
           "Sheets.PrintOut(From:=1, To:=1, Copies:=3, Collate:=True)",
           "Workbook.SaveAs(FileName:=", "Karin Albers.xlsx)", "Workbook.Close(SaveChanges:=False)",
           "Excel.StatusBar := Bearbeite Anhang Nr. 2 aus Zeile 2 von 2", "Excel.Quit()"}),
      "")
      << log;
  EXPECT_EQ(office_->LiveObjects(), 0);
}

}  // namespace
}  // namespace lastora::testing
