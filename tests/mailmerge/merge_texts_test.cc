// Print settings, name patterns and spreadsheet cell pieces.
#include <gtest/gtest.h>

#include "lastora/variant.h"
#include "mailmerge/document_name.h"
#include "mailmerge/print_settings.h"

namespace lastora {
namespace {

const double kNoon = MakeDate(2025, 3, 5) + MakeTime(12, 7, 9);

TEST(PrintSettingsTest, FirstMatchingRuleWins) {
  const PrintSettings settings = ParsePrintSettings(
      "[Allgemein]\r\n  Usertext_Verein = TSV  \r\nUsertext_Datum=Timeformat=DD.MM.YYYY\r\n"
      "Kopien an Empfänger= kasse @ verein.de \r\n"
      "Betreff=TSV:\r\nBody=Hallo (BODY)\r\nUsertext_Body=kein Body\r\nDrucker=Buero\r\n"
      "ohne Gleichheitszeichen\r\n");
  ASSERT_EQ(settings.user_texts.size(), 3u);
  EXPECT_EQ(settings.user_texts[0], (std::pair<std::string, std::string>{"Verein ", " TSV"}));
  EXPECT_EQ(settings.user_texts[1].second, "Timeformat=DD.MM.YYYY");
  EXPECT_EQ(settings.user_texts[2].first, "Body");
  EXPECT_EQ(settings.copy_address, "kasse@verein.de");
  EXPECT_EQ(settings.subject_prefix, "TSV: ");
  EXPECT_EQ(settings.body, "Hallo (BODY)");
  EXPECT_EQ(settings.printer, "Buero");
}

TEST(DocumentNameTest, PatternPartsBecomeTheNameOfEachRecord) {
  Table header(1, 3);
  header(1, 1) = Variant("Name");
  header(1, 2) = Variant("Vorname");
  Table records(1, 3);
  records(1, 1) = Variant("Müller");
  records(1, 2) = Variant::Null();
  const std::vector<NamePart> parts = PrepareNamePattern(
      "\"Beitrag_\";Name;Vorname;Date:_YYYY-MM-DD_hhmmss;\"_\";Function:LfdNr;Ort", header, kNoon);
  EXPECT_EQ(DocumentName(parts, records, 1, 4, kNoon, "docx"),
            "Beitrag_Müller_2025-03-05_120709_4Ort.docx");
  EXPECT_EQ(FormatDateTokens("YY/MM/DD", kNoon), "25/03/05");
}

TEST(DocumentNameTest, SafeNamesStayInTheirFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"Müller, Hans", "Müller, Hans"},
      {"a/b\\c", "a_b_c"},
      {"..", "_"},
      {"a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
      {"con", "_con"},
      {"LPT1.brief", "_LPT1.brief"},
      {"COM10", "COM10"},
      {"Name. ", "Name"},
      {"", "_"},
  };
  for (const auto& [name, safe] : cases) EXPECT_EQ(SafeFileName(name), safe) << name;
}

}  // namespace
}  // namespace lastora
