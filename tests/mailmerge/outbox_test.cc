#include "mailmerge/outbox.h"

#include <gtest/gtest.h>

#include "lastora/variant.h"

namespace lastora {
namespace {

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

}  // namespace
}  // namespace lastora
