#include "checkers/sepa_text.h"

#include <gtest/gtest.h>

#include <string>

namespace lastora::sepa_text {
namespace {

TEST(SepaText, JoinsTrimmedLinesWhateverTheLineEnds) {
  EXPECT_EQ(JoinTrimmedLines("  <A>\r\n\t<B> x y </B>\t\n<C/>\r</A>  "), "<A><B> x y </B><C/></A>");
  EXPECT_EQ(JoinTrimmedLines("\r\n \r\n\t"), "");
}

TEST(SepaText, TakesTextThatIsNoUtf8AsWindows1252) {
  EXPECT_EQ(JoinTrimmedLines("J\xfcrgen\n \x80"), "Jürgen€");
  EXPECT_EQ(JoinTrimmedLines("Jürgen €"), "Jürgen €");
  EXPECT_TRUE(IsUtf8("Grüße €"));
  EXPECT_FALSE(IsUtf8("\xc3"));          // cut sequence
  EXPECT_FALSE(IsUtf8("\xc0\xaf"));      // overlong
  EXPECT_FALSE(IsUtf8("\xed\xa0\x80"));  // surrogate
}

TEST(SepaText, BetweenTakesTheFirstOpeningAndTheNextClosingAfterIt) {
  EXPECT_EQ(Between("</Nm><Nm>a</Nm><Nm>b</Nm>", "<Nm>", "</Nm>"), "a");
  EXPECT_EQ(Between("<Nm>a", "<Nm>", "</Nm>"), "");
}

TEST(SepaText, ResolvesCharacterReferencesAndKeepsWhatIsNone) {
  EXPECT_EQ(XmlValue("A &amp; B &lt;&gt; &quot;&apos;"), "A & B <> \"'");
  EXPECT_EQ(XmlValue("M&#252;ller &#xDF;&#x20AC;"), "Müller ß€");
  EXPECT_EQ(XmlValue("a & b &unknown; &#xD800; &#0; &#99999999999; &"),
            "a & b &unknown; &#xD800; &#0; &#99999999999; &");
  EXPECT_EQ(XmlValue(std::string(5000, '&')), std::string(5000, '&'));
}

}  // namespace
}  // namespace lastora::sepa_text
