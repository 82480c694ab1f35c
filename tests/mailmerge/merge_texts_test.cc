// Print settings, name patterns and the mail program's jobs.
#include <gtest/gtest.h>

#include "lastora/variant.h"
#include "mailmerge/document_name.h"
#include "mailmerge/outbox.h"
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
  EXPECT_EQ(settings.user_texts,
            (std::vector<std::pair<std::string, std::string>>{
                {"Verein ", " TSV"}, {"Datum", "Timeformat=DD.MM.YYYY"}, {"Body", "kein Body"}}));
  EXPECT_EQ(settings.copy_address, "kasse@verein.de");
  EXPECT_EQ(settings.subject_prefix, "TSV: ");
  EXPECT_EQ(settings.body, "Hallo (BODY)");
  EXPECT_EQ(settings.printer, "Buero");
}

TEST(DocumentNameTest, PatternPartsBecomeTheSafeNameOfEachRecord) {
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
  // Safe names stay in their folder.
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

TEST(OutboxTest, FileNameBytesAndRecipientsFollowTheMailProgramsLayout) {
  EXPECT_EQ(MailJobFileName(7, MakeDate(2025, 3, 5) + MakeTime(14, 3, 9), 3),
            "MailingXML_0007_20250305140309_0003.xml");
  // Nothing is escaped; umlauts become single Windows-1252 bytes.
  const MailJob job{"C:\\Briefe\\Müller.docx", "a@b.de;c@d.de", "Beitrag & Spende <2025>", "Grüße"};
  EXPECT_EQ(MailJobText(job),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n"
            "<LASTORA>\r\n<EMAIL>\r\n"
            "<DATEINAME>C:\\Briefe\\M\xFCller.docx</DATEINAME>\r\n"
            "<EMPFAENGER>a@b.de;c@d.de</EMPFAENGER>\r\n"
            "<BETREFF>Beitrag & Spende <2025></BETREFF>\r\n"
            "<BODY>Gr\xFC\xDF"
            "e</BODY>\r\n"
            "</EMAIL>\r\n</LASTORA>\r\n");

  // Recipients from columns, addresses and the copy address.
  Table records(1, 3);
  records(1, 1) = Variant("anna@example.org");
  records(1, 2) = Variant("");
  records(1, 3) = Variant("keine Adresse");
  struct Case {
    std::vector<RecipientEntry> entries;
    std::string copy_address;
    std::string expected;
  };
  const Case cases[] = {
      // The second address column is empty: the first address alone, no leading ";".
      {{{"", 1}, {"", 2}}, "", "anna@example.org"},
      {{{"", 2}}, "kasse@verein.de", "kasse@verein.de"},
      {{{"", 1}, {"vorstand@verein.de", 0}},
       "kasse@verein.de",
       "anna@example.org;vorstand@verein.de;kasse@verein.de"},
      // A column without "@", a column beyond the records, a copy setting without "@".
      {{{"", 3}, {"", 9}}, "niemand", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AssembleRecipients(c.entries, records, 1, c.copy_address), c.expected) << c.expected;
  }
}

}  // namespace
}  // namespace lastora
