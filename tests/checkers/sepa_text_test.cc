#include "checkers/sepa_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/text.h"

namespace lastora::sepa_text {
namespace {

TEST(SepaText, JoinsTrimmedLinesWhateverTheLineEnds) {
  EXPECT_EQ(JoinTrimmedLines("  <A>\r\n\t<B> x y </B>\t\n<C/>\r</A>  "), "<A><B> x y </B><C/></A>");
  EXPECT_EQ(JoinTrimmedLines(""), "");
  EXPECT_EQ(JoinTrimmedLines("\r\n \r\n\t"), "");
}

// The rule read plainly, line by line, to hold the word-at-a-time join against.
std::string JoinedLineByLine(const std::string& bytes) {
  std::string joined;
  std::string line;
  const auto flush = [&] {
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      joined += line.substr(first, line.find_last_not_of(" \t") - first + 1);
    }
    line.clear();
  };
  for (char c : bytes) {
    if (c == '\r' || c == '\n') {
      flush();
    } else {
      line += c;
    }
  }
  flush();
  return IsUtf8(joined) ? joined : text::FromWindows1252(joined);
}

TEST(SepaText, JoinAgreesWithLineByLineTrimmingWhereverBlanksAndLineEndsFall) {
  // Few letters and many blanks and line ends, so that they fall on every place of a word; "ä"
  // in UTF-8 or in Windows-1252 decides whether the text is converted.
  const std::string alphabet = "  \t\r\n\x0b<a\xc3\xa4";
  std::mt19937 random(20131001);
  for (int round = 0; round < 5000; ++round) {
    std::string bytes(random() % 48, ' ');
    for (char& c : bytes) c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(JoinTrimmedLines(bytes), JoinedLineByLine(bytes)) << testing::PrintToString(bytes);
  }
}

TEST(SepaText, TakesTextThatIsNoUtf8AsWindows1252) {
  EXPECT_EQ(JoinTrimmedLines("J\xfcrgen\n \x80"), "Jürgen€");
  EXPECT_EQ(JoinTrimmedLines("Jürgen €"), "Jürgen €");
  EXPECT_TRUE(IsUtf8("Grüße €"));
  EXPECT_FALSE(IsUtf8("\xc3"));          // cut sequence
  EXPECT_FALSE(IsUtf8("\xc0\xaf"));      // overlong
  EXPECT_FALSE(IsUtf8("\xed\xa0\x80"));  // surrogate
  EXPECT_FALSE(IsUtf8("\xf4\x90\x80\x80"));
}

TEST(SepaText, BetweenTakesTheFirstOpeningAndTheNextClosingAfterIt) {
  EXPECT_EQ(Between("</Nm><Nm>a</Nm><Nm>b</Nm>", "<Nm>", "</Nm>"), "a");
  EXPECT_EQ(Between("<Nm>a", "<Nm>", "</Nm>"), "");
  EXPECT_EQ(Between("a</Nm>", "<Nm>", "</Nm>"), "");
  EXPECT_EQ(Between("<Nm></Nm>", "<Nm>", "</Nm>"), "");
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
