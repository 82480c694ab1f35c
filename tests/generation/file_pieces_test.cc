// The pieces of a run's files: DTAUS records, the payment list and remittance texts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "generation/dtaus_writer.h"
#include "generation/payment_list.h"
#include "generation/remittance_text.h"
#include "generation/sepa_kind.h"
#include "generation/text_pieces.h"

namespace lastora::generation {
namespace {

std::string TwoDigitLine(int i) {
  return "ZEILE " + std::string(i < 10 ? "0" : "") + std::to_string(i) + std::string(19, ' ');
}

// A transfer differs from a debit in kind and key; the golden files (2, 3 and 5 blocks) hold the
// rest but not the step from three blocks to four, which 7 and 8 purpose lines take.
TEST(DtausWriter, RecordLengthAndKeyFollowThePurposeLinesAndTheKind) {
  const std::tuple<int, const char*, const char*, size_t> cases[] = {{7, "0361", "06", 384},
                                                                     {8, "0477", "10", 512}};
  for (const auto& [lines, c1, extensions, length] : cases) {
    SCOPED_TRACE(lines);  // purpose lines, then length field, extension parts, record bytes
    DtausWriter writer(SepaKindFor("Überweisung"),
                       {"TSV MUSTERSTADT            ", "37040044", "0005320130"});
    DtausPayment payment{"51230500", "18102010", 1250, "Jürgen Müller", {}};
    for (int i = 1; i <= lines; ++i) payment.purpose_lines.push_back(TwoDigitLine(i));
    writer.Append(payment);
    const std::string transfer = writer.Finish("0000000001", "030913", "01102013").transfer;
    ASSERT_EQ(transfer.size(), 128 + length + 128);
    EXPECT_EQ(transfer.substr(0, 7), "0128AGK");
    const std::string record = transfer.substr(128, length);
    EXPECT_EQ(record.substr(0, 5) + record.substr(44, 2), std::string(c1) + "C51");
    EXPECT_EQ(record.substr(185, 2), extensions);
    for (int k = 1; k <= std::stoi(extensions); ++k) {
      const size_t at = k <= 2 ? 187 + (k - 1) * 29 : 256 + (k - 3) / 4 * 128 + (k - 3) % 4 * 29;
      EXPECT_EQ(record.substr(at, 29),
                "02" + (k < lines ? TwoDigitLine(k + 1) : std::string(27, ' ')))
          << k;
    }
  }
}

// A list far longer than the part held in memory: the rows that were moved out come back first,
// in order, between the heading and the total.
TEST(PaymentListTest, ALongListKeepsItsRowsInOrder) {
  constexpr int kRows = 99999;  // the most that five places number
  PaymentList list(kRows);
  for (int i = 1; i <= kRows; ++i) {
    list.Append("Müller " + std::to_string(i), "BEISDEM1XXX", "DE12123056001000123401", 1234,
                "Beitrag");
  }
  std::string text;
  list.Write(SepaKindFor("Lastschrift"), {"Lastschrift", "01.03.2026", "MSG", "16.03.2026"},
             int64_t{1234} * kRows, AppendTo(text));
  ASSERT_GT(text.size(), size_t{8} << 20);
  EXPECT_TRUE(text.starts_with("Sammel-Lastschrift"));
  EXPECT_TRUE(text.ends_with("1233987,66\r\n\r\n"));
  // Each row starts with its number right-aligned in five places.
  const auto row_start = [](int i) {
    const std::string number = std::to_string(i);
    return "\r\n" + std::string(5 - number.size(), ' ') + number + " M\xfcller " + number + " ";
  };
  size_t at = text.find(row_start(1));
  ASSERT_NE(at, std::string::npos);
  for (int i = 2; i <= kRows; ++i) {
    const size_t next = text.find(row_start(i), at);
    ASSERT_NE(next, std::string::npos) << i;
    ASSERT_LT(next - at, size_t{300}) << i;
    at = next;
  }
}

// Joining with and without separator is held by the golden files.
TEST(SepaRemittance, PaddedLinesLoseTheirBlanksAndCutsCountCharacters) {
  EXPECT_EQ(SepaRemittanceText("\"Beitrag   \",\"Kurs\"", /*separate=*/true).text, "Beitrag-Kurs");
  // Cuts after 140 characters, not bytes.
  const std::string exact(140, 'x');
  const SepaRemittance cut = SepaRemittanceText("\"" + exact + "ä\"", false);
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(cut.text, exact);
  std::string umlauts;
  for (int i = 0; i < 140; ++i) umlauts += "ü";
  EXPECT_FALSE(SepaRemittanceText(umlauts, false).cut);
}

}  // namespace
}  // namespace lastora::generation
