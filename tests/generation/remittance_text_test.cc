#include "generation/remittance_text.h"

#include <gtest/gtest.h>

#include <string>

namespace lastora::generation {
namespace {

// Joining with and without separator is held by the golden files.
TEST(SepaRemittance, PaddedLinesLoseTheirBlanksBeforeTheSeparator) {
  EXPECT_EQ(SepaRemittanceText("\"Beitrag   \",\"Kurs\"", /*separate=*/true).text, "Beitrag-Kurs");
}

TEST(SepaRemittance, CutsAfter140CharactersNotBytes) {
  const std::string exact(140, 'x');
  const SepaRemittance cut = SepaRemittanceText("\"" + exact + "ä\"", false);
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(cut.text, exact);
  std::string umlauts;
  for (int i = 0; i < 140; ++i) umlauts += "ü";
  EXPECT_FALSE(SepaRemittanceText(umlauts, false).cut);
}

// Padding, upper case and the 14-line cut are held by the DTAUS golden files; the closing line
// is not.
TEST(DtausPurpose, SixteenLinesKeepTheClosingLineWhenAsked) {
  std::string lines = "\"Zeile 1 ist eine lange Zeile\"";
  for (int i = 2; i <= 16; ++i)
    lines += ",\"Zeile " + std::to_string(i) + " ist eine lange Zeile\"";
  const auto closing = DtausPurposeLines(lines, /*keep_closing_line=*/true);
  ASSERT_EQ(closing.size(), 14u);
  EXPECT_EQ(closing[12], "ZEILE 13 IST EINE LANGE ...");
  EXPECT_EQ(closing[13], "ZEILE 16 IST EINE LANGE ZEI");
}

}  // namespace
}  // namespace lastora::generation
