#include "generation/dtaus_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "generation/sepa_kind.h"

namespace lastora::generation {
namespace {

std::string TwoDigitLine(int i) {
  return "ZEILE " + std::string(i < 10 ? "0" : "") + std::to_string(i) + std::string(19, ' ');
}

// A transfer differs from a debit in its file kind and transaction key; the rest is held by the
// golden files, whose records of 1, 3, 4 and 14 lines fill two, three and five blocks. The last
// lines of three blocks and the first of four are the step the golden files do not take.
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

}  // namespace
}  // namespace lastora::generation
