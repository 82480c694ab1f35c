// The POSIX office: the .docx and .xlsx engines on templates a word processor wrote.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lastora/office.h"
#include "mailmerge/label_layout.h"
#include "platform/posix/docx_document.h"
#include "platform/posix/xlsx_document.h"
#include "platform/posix/zip_package.h"
#include "support/temp_dir.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ReadBytes;

std::string Fixture(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/mailmerge/" + name;
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& text : texts) {
    if (text.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(DocxEngineTest, PlaceholdersInEveryStoryAndSplitRunsAreReplaced) {
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

TEST(XlsxEngineTest, CellsAreFilledAndTheSettingsSheetLeavesTheSavedWorkbook) {
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
}

// A layout whose last label lies below the sheet's last row is refused before anything is laid out.
TEST(LabelSheetTest, ALayoutBeyondOneSheetIsRefused) {
  LabelSettings settings;
  settings.block_columns = 1;
  settings.across = 1;
  settings.block_rows = 1000;
  settings.first_position = 2000;
  EXPECT_EQ(testing::ErrorOf([&] { PlanLabelSheet(settings, {{{2, 1, "Etikett 1"}}}); }), 1004);
}

}  // namespace
}  // namespace lastora
