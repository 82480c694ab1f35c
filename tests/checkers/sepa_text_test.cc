#include "checkers/sepa_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace lastora::sepa_text {
namespace {

// The file read through windows of every small size, so that each line end, CR LF pair, run of
// blanks and character falls on a window's edge somewhere.
std::string JoinedThroughAnyWindow(const std::string& bytes) {
  const testing::ScopedTempDir dir;
  const std::string path = dir.File("SEPA.xml");
  testing::WriteBytes(path, bytes);
  const std::string whole = ReadJoinedLines(path);
  for (size_t window = 1; window <= 24; ++window) {
    EXPECT_EQ(ReadJoinedLines(path, window), whole) << "window " << window;
  }
  return whole;
}

TEST(SepaText, JoinsTrimmedLinesWhateverTheLineEndsAndTheWindows) {
  EXPECT_EQ(JoinedThroughAnyWindow("  <A>\r\n\t<B> x y </B>\t\n<C/>\r</A>  "),
            "<A><B> x y </B><C/></A>");
  EXPECT_EQ(JoinedThroughAnyWindow("\r\n \r\n\t"), "");
  // A line far longer than any window, blanks within it kept, and a last line without its end.
  const std::string name(100, 'N');
  EXPECT_EQ(JoinedThroughAnyWindow("<Nm>" + name + "   " + name + "</Nm>   \r\n   <Ende/>"),
            "<Nm>" + name + "   " + name + "</Nm><Ende/>");
}

TEST(SepaText, TakesTextThatIsNoUtf8AsWindows1252) {
  EXPECT_EQ(JoinedThroughAnyWindow("J\xfcrgen\n \x80"), "Jürgen€");
  EXPECT_EQ(JoinedThroughAnyWindow("Jürgen €"), "Jürgen €");
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
