#include "mailmerge/outbox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "lastora/variant.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

using testing::WriteBytes;

TEST(OutboxTest, FileNameAndBytesFollowTheMailProgramsLayout) {
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
}

TEST(OutboxTest, RecipientsFromColumnsAddressesAndTheCopyAddress) {
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

TEST(OutboxTest, ExtraAttachmentsThatExistFollowTheDocument) {
  testing::ScopedTempDir program;
  testing::ScopedEnv home("LASTORA_HOME", program.path().string());
  std::filesystem::create_directory(program.path() / "Anlagen");
  WriteBytes(program.File("Anlagen/Info.pdf"), "%PDF");
  WriteBytes(program.File("Satzung.pdf"), "%PDF");
  const std::string document = "/briefe/a.docx";
  EXPECT_EQ(AssembleAttachments(document, "..\\Anlagen\\Info.pdf;-;;..\\Anlagen\\Fehlt.pdf"),
            document + ";" + (program.path() / "Anlagen" / "Info.pdf").string());
  EXPECT_EQ(AssembleAttachments(document, program.File("Satzung.pdf") + " "),
            document + ";" + program.File("Satzung.pdf"));
  EXPECT_EQ(AssembleAttachments("", ""), "");
}

}  // namespace
}  // namespace lastora
