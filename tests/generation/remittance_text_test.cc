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

}  // namespace
}  // namespace lastora::generation
