#include "generation/remittance_text.h"

#include <gtest/gtest.h>

#include <string>

namespace lastora::generation {
namespace {

// Joining with and without separator is held by the golden files.
TEST(SepaRemittance, PaddedLinesLoseTheirBlanksBeforeTheSeparator) {
  const SepaRemittance joined = SepaRemittanceText("\"Beitrag   \",\"Kurs\"", /*separate=*/true);
  EXPECT_EQ(joined.text, "Beitrag-Kurs");
  EXPECT_FALSE(joined.cut);
}

TEST(SepaRemittance, CutsAfter140Characters) {
  const std::string exact(140, 'x');
  EXPECT_FALSE(SepaRemittanceText("\"" + exact + "\"", false).cut);
  const SepaRemittance cut = SepaRemittanceText("\"" + exact + "ä\"", false);
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(cut.text, exact);
  // Characters, not bytes: 140 umlauts fit.
  std::string umlauts;
  for (int i = 0; i < 140; ++i) umlauts += "ü";
  EXPECT_FALSE(SepaRemittanceText(umlauts, false).cut);
}

std::string Lines(int count) {
  std::string lines;
  for (int i = 1; i <= count; ++i) {
    lines += (i > 1 ? ",\"" : "\"") + std::string("Zeile ") + std::to_string(i) +
             " ist eine lange Zeile\"";
  }
  return lines;
}

TEST(DtausPurpose, LinesArePaddedCutAndUpperCase) {
  const auto lines =
      DtausPurposeLines("\"Beitrag für Jürgen\",\"" + std::string(30, 'k') + "\"", false);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "BEITRAG FÜR JÜRGEN         ");
  EXPECT_EQ(lines[1], std::string(27, 'K'));
  EXPECT_EQ(DtausPurposeLines("", false), std::vector<std::string>{std::string(27, ' ')});
}

TEST(DtausPurpose, SixteenLinesBecomeFourteen) {
  const auto plain = DtausPurposeLines(Lines(16), /*keep_closing_line=*/false);
  ASSERT_EQ(plain.size(), 14u);
  EXPECT_EQ(plain[12], "ZEILE 13 IST EINE LANGE ZEI");
  EXPECT_EQ(plain[13], "ZEILE 14 IST EINE LANGE ...");
  const auto closing = DtausPurposeLines(Lines(16), /*keep_closing_line=*/true);
  ASSERT_EQ(closing.size(), 14u);
  EXPECT_EQ(closing[12], "ZEILE 13 IST EINE LANGE ...");
  EXPECT_EQ(closing[13], "ZEILE 16 IST EINE LANGE ZEI");
  EXPECT_EQ(DtausPurposeLines(Lines(14), true)[13], "ZEILE 14 IST EINE LANGE ZEI");
}

}  // namespace
}  // namespace lastora::generation
