// The POSIX office: the .docx and .xlsx engines on templates a word processor wrote, and the
// hand-over to LibreOffice and the print command (fakes on PATH that record their arguments).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "lastora/office.h"
#include "mailmerge/label_layout.h"
#include "platform/posix/docx_document.h"
#include "platform/posix/file_office.h"
#include "platform/posix/xlsx_document.h"
#include "platform/posix/zip_package.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

std::string Fixture(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/mailmerge/" + name;
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& text : texts) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(DocxEngineTest, PlaceholdersInEveryStoryAndSplitRunsAndTheLogoAreReplaced) {
  DocxDocument letter(ReadBytes(Fixture("Beitragsbescheid.docx")), "Beitragsbescheid.docx");
  // The word processor split "<<Mitglied>>" over a bold and a plain run.
  EXPECT_TRUE(AnyContains(letter.StoryTexts(), "Beitragsbescheid für <<Mitglied>>"));
  const std::pair<const char*, const char*> values[] = {{"<<Mitglied>>", "Müller & Söhne <GbR>"},
                                                        {"<<Kontoinhaber>>", "Anna Müller"},
                                                        {"<<Verein>>", "Kasse"},
                                                        {"<<Nr>>", "0815"},
                                                        {"<<Jahresbeitrag>>", "48,00"},
                                                        {"<<Mandatsreferenz>>", "TSVM-0815"},
                                                        {"<<Heute>>", "05.03.2025"},
                                                        {"<<IBAN>>", "DE02120300000000202051"}};
  for (const auto& [find, value] : values) letter.ReplaceAll(find, value);
  LogoPlacement logo;
  logo.picture_path = Fixture("logo.png");  // 240 x 120 pixels
  letter.ReplaceLogos(logo);

  const std::string saved = letter.Write();
  DocxDocument reread(saved, "merged");
  const std::vector<std::string> merged = reread.StoryTexts();
  EXPECT_FALSE(AnyContains(merged, "<<"));
  EXPECT_FALSE(AnyContains(merged, ">>"));
  // Body, header, footer, text box, table cell.
  for (const char* text :
       {"Beitragsbescheid für Müller & Söhne <GbR>", "TSV Musterstadt e.V. · Kasse",
        "Mitgliedsnummer 0815", "Fragen? Kasse: Kasse", "\rMüller & Söhne <GbR>\r",
        "48,00 Euro von Ihrem Konto DE02120300000000202051 ein"}) {
    EXPECT_TRUE(AnyContains(merged, text)) << text;
  }

  // The logo replaces the marked shape: the picture is stored once, typed, and linked under the
  // id the drawing names.
  const ZipPackage package = ZipPackage::Read(saved, "merged");
  EXPECT_EQ(package.Part("word/media/lastora_logo.png"), ReadBytes(Fixture("logo.png")));
  EXPECT_NE(package.Part("[Content_Types].xml").find("Extension=\"png\""), std::string::npos);
  EXPECT_NE(
      package.Part("word/_rels/document.xml.rels")
          .find("Id=\"rIdLastoraLogo\" Type=\"http://schemas.openxmlformats.org/"
                "officeDocument/2006/relationships/image\" Target=\"media/lastora_logo.png\""),
      std::string::npos);
  const std::string body = package.Part("word/document.xml");
  // The other drawing ("Hinweis") keeps its own content.
  for (const char* part :
       {"r:embed=\"rIdLastoraLogo\"", "name=\"Vereinslogo\"", "name=\"Hinweis\""}) {
    EXPECT_NE(body.find(part), std::string::npos) << part;
  }

  logo.picture_path = Fixture("Beitragsbescheid.docx");
  DocxDocument other(ReadBytes(Fixture("Beitragsbescheid.docx")), "x");
  EXPECT_EQ(testing::ErrorOf([&] { other.ReplaceLogos(logo); }), 481);
}

// A part whose bytes its declared encoding cannot hold is named in the error; the XML library's
// own reports of it stay off the terminal.
TEST(DocxEngineTest, APartInAWrongEncodingIsNamedAndNothingElseIsPrinted) {
  ZipPackage package =
      ZipPackage::Read(ReadBytes(Fixture("Beitragsbescheid.docx")), "Beitragsbescheid.docx");
  std::string document = package.Part("word/document.xml");
  document.replace(document.find("UTF-8"), 5, "EUC-JP");
  document.insert(document.find('>', document.find("?>") + 2) + 1,
                  "\xff"
                  "00:");
  package.SetPart("word/document.xml", document);
  const std::string bytes = package.Write();
  ::testing::internal::CaptureStderr();
  const std::string error =
      testing::ErrorTextOf([&] { DocxDocument letter(bytes, "Beitragsbescheid.docx"); });
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_NE(error.find("Das Office-Dokument enthält kein gültiges XML: word/document.xml"),
            std::string::npos)
      << error;
}

TEST(XlsxEngineTest, CellsAreFilledTheSettingsSheetLeavesAndNothingGoesBeyondTheSheet) {
  XlsxDocument labels(ReadBytes(Fixture("Adressetiketten.xlsx")), "Adressetiketten.xlsx");
  EXPECT_TRUE(labels.HasSheet("Settings"));
  const std::vector<TemplateCell> cells = labels.PlaceholderCells();
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[1].row, 2);
  EXPECT_EQ(cells[1].column, 2);
  EXPECT_EQ(cells[1].text, "<<Kontoinhaber>>");
  labels.ReplaceAll("<<Kontoinhaber>>", "Anna <Kasse>");
  labels.SetCellText({4, 2, "12345 Au & Co"});
  XlsxDocument reread(labels.Write(), "merged");
  EXPECT_FALSE(reread.HasSheet("Settings"));
  const std::vector<std::string> texts = reread.CellTexts();
  for (const char* text : {"Anna <Kasse>", "<<Mitglied>>", "12345 Au & Co"}) {
    EXPECT_TRUE(AnyContains(texts, text)) << text;
  }
  EXPECT_EQ(testing::ErrorOf([&] { reread.SetCellText({99, 3, "x"}); }), 1004);

  // A label layout whose last label lies below the sheet's last row is refused before anything
  // is laid out.
  LabelSettings settings;
  settings.block_columns = 1;
  settings.across = 1;
  settings.block_rows = 1000;
  settings.first_position = 2000;
  EXPECT_EQ(testing::ErrorOf([&] { PlanLabelSheet(settings, {{{2, 1, "Etikett 1"}}}); }), 1004);
}

// Fake LibreOffice and print command, alone on PATH: each appends its arguments to calls.txt;
// the converter copies its input to the output folder under the new extension.
TEST(ExternalProgramsTest, PrintingHandsAPdfWithCopiesAndPrinterToLp) {
  testing::ScopedTempDir bin;
  testing::ScopedEnv path("PATH", bin.path().string());
  WriteBytes(
      bin.File("soffice"),
      "#!/bin/sh\necho soffice \"$@\" >> " + bin.File("calls.txt") +
          "\nwhile [ $# -gt 1 ]; do case $1 in --convert-to) f=$2;; --outdir) d=$2;; "
          "esac; shift; done\nname=$(/usr/bin/basename \"$1\"); out=\"$d/${name%.*}.${f%%:*}\"\n"
          "/bin/cp \"$1\" \"$out\"\n");
  WriteBytes(bin.File("lp"), "#!/bin/sh\necho lp \"$@\" >> " + bin.File("calls.txt") + "\n");
  for (const char* program : {"soffice", "lp"}) {
    std::filesystem::permissions(bin.File(program), std::filesystem::perms::owner_all);
  }
  FileOffice office;
  auto letter = office.Open(Fixture("Beitragsbescheid.docx"), DocumentKind::kWordProcessor);
  letter->PrintOut(2, "Buero", false);
  letter->PrintOut(0, "", true);
  const std::string calls = ReadBytes(bin.File("calls.txt"));
  for (const char* part :
       {"--headless", "--convert-to pdf", "lp -n 2 -d Buero /", "lp -n 1 -P 1 /", "druck.pdf\n"}) {
    EXPECT_NE(calls.find(part), std::string::npos) << part << " in " << calls;
  }

  std::filesystem::remove(bin.File("lp"));
  EXPECT_TRUE(
      testing::ErrorTextOf([&] {
        letter->PrintOut(1, "", false);
      }).ends_with(" Drucken braucht den Druckbefehl lp (CUPS), der nicht installiert ist."));
}

}  // namespace
}  // namespace lastora
