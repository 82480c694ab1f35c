#include "generation/dtaus_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "generation/sepa_kind.h"

namespace lastora::generation {
namespace {

const DtausOrderingParty kParty{"TSV MUSTERSTADT            ", "37040044", "0005320130"};

std::string TwoDigitLine(int i) {
  return "ZEILE " + std::string(i < 10 ? "0" : "") + std::to_string(i) + std::string(19, ' ');
}

DtausPayment Payment(int lines) {
  DtausPayment payment{"51230500", "18102010", 1250, "Jürgen Müller", {}};
  for (int i = 1; i <= lines; ++i) {
    payment.purpose_lines.push_back(TwoDigitLine(i));
  }
  return payment;
}

TEST(DtausWriter, RecordLengthFollowsThePurposeLines) {
  struct Case {
    int lines;
    const char* c1;
    const char* extensions;
    size_t length;
  };
  const Case cases[] = {{1, "0187", "00", 256},  {2, "0245", "02", 256},  {3, "0245", "02", 256},
                        {4, "0361", "06", 384},  {7, "0361", "06", 384},  {8, "0477", "10", 512},
                        {11, "0477", "10", 512}, {12, "0593", "14", 640}, {14, "0593", "14", 640}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    DtausWriter writer(SepaKindFor("Basislastschrift"), kParty);
    EXPECT_EQ(writer.Append(Payment(c.lines)), "00000001250");
    const std::string transfer = writer.Finish("0000000001", "030913", "01102013").transfer;
    ASSERT_EQ(transfer.size(), 128 + c.length + 128);
    const std::string record = transfer.substr(128, c.length);
    EXPECT_EQ(record.substr(0, 5), std::string(c.c1) + "C");
    EXPECT_EQ(record.substr(185, 2), c.extensions);
    EXPECT_EQ(record.substr(93, 27), "J\xDCRGEN M\xDCLLER              ");
    // Every part either carries the next line or is "02" with blanks.
    const int parts = std::stoi(c.extensions);
    for (int k = 1; k <= parts; ++k) {
      const size_t at = k <= 2 ? 187 + (k - 1) * 29 : 256 + (k - 3) / 4 * 128 + (k - 3) % 4 * 29;
      const std::string part = record.substr(at, 29);
      EXPECT_EQ(part.substr(0, 2), "02") << k;
      if (k < c.lines) {
        EXPECT_EQ(part.substr(2), TwoDigitLine(k + 1)) << k;
      } else {
        EXPECT_EQ(part.substr(2), std::string(27, ' ')) << k;
      }
    }
  }
}

// A transfer differs from a debit in its file kind and transaction key; the layout both share is
// held by the golden files.
TEST(DtausWriter, TransferFileCarriesItsKindAndKey) {
  DtausWriter writer(SepaKindFor("Überweisung"), kParty);
  writer.Append(Payment(1));
  const std::string transfer = writer.Finish("0000000001", "030913", "01102013").transfer;
  EXPECT_EQ(transfer.substr(0, 7), "0128AGK");
  EXPECT_EQ(transfer.substr(128 + 44, 2), "51");
}

}  // namespace
}  // namespace lastora::generation
