// Reading XML: the quick well-formedness scan, the parser's verdicts and the checker's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checkers/sepa_text.h"
#include "platform/libxml2/libxml2_parser.h"
#include "platform/libxml2/xml_prescreen.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

using sepa_text::ReadJoinedLines;
using sepa_text::XmlValue;
using xml_prescreen::SurelyWellFormed;

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Hands the document over a few bytes at a time, as a slow file would, through a small window
// that has to move many times.
bool Streamed(const std::string& document, size_t lookahead = 512) {
  size_t offset = 0;
  return SurelyWellFormed(
      [&](char* into, size_t room) {
        const size_t count = std::min({room, size_t{7}, document.size() - offset});
        offset += document.copy(into, count, offset);
        return count;
      },
      lookahead);
}

// Many elements inside two that stay open, and a prefix bound at the root used at the end.
std::string LongDocument(int items, const std::string& last_item) {
  std::string document = std::string(kDeclaration) + "<Root xmlns:p=\"urn:p\">\r\n<Liste>\r\n";
  for (int i = 0; i < items; ++i) {
    document += "  <Posten Nr=\"" + std::to_string(i) + "\">Beitrag 2026</Posten>\r\n";
  }
  return document + last_item + "</Liste><p:Ende/>\r\n</Root>\r\n";
}

// Documents libxml2 rejects, by the rules a quick scan most easily forgets: all left to it.
TEST(XmlPrescreen, NeverPassesWhatTheParserRejects) {
  const std::string d = kDeclaration;
  const std::vector<std::string> rejected = {
      "",
      d + "<a>",
      d + "<a><b></a></b>",
      d + "<a></a><b/>",
      d + "<a x=\"1\" x=\"2\"/>",
      d + "<a>&nbsp;</a>",
      d + "<a>\xc3\x28</a>",
      d + "<a>\xed\xa0\x80</a>",
      d + "<a><!-- a -- b --></a>",
      d + "<p:a/>",
      d + "<a xmlns:p=\"u:1\" xmlns:q=\"u:1\" p:x=\"1\" q:x=\"2\"/>",
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>",
      d + "<a>" + std::string(1, '\0') + "</a>",
  };
  for (const std::string& document : rejected) {
    EXPECT_FALSE(LibXml2Parser::Parse(document).ok) << "not a fault after all: " << document;
    EXPECT_FALSE(SurelyWellFormed(document)) << document;
    EXPECT_FALSE(Streamed(document)) << document;
  }
}

// An end tag is held against its start tag's name, and a prefix against its binding, however
// many windows back they were read.
TEST(XmlPrescreen, AStreamedScanRemembersWhatEarlierWindowsHeld) {
  EXPECT_TRUE(Streamed(LongDocument(500, "")));
  EXPECT_FALSE(Streamed(LongDocument(500, "</Lista><Liste>")));
}

// A file too large to hold whole is read in pieces; a fault far into it still gets the parser's
// reason and line, the same as from the whole text.
TEST(XmlPrescreen, FilesAreReadInPiecesWithTheParsersVerdictAndACutOffFileIsNamedSo) {
  const testing::ScopedTempDir dir;
  LibXml2Parser parser;
  const int items = 300000;  // about 12 MB, several windows
  const std::string whole = LongDocument(items, "");
  testing::WriteBytes(dir.File("gut.xml"), whole);
  EXPECT_TRUE(parser.LoadFile(dir.File("gut.xml")).ok);

  const std::string broken = LongDocument(items, "<Posten>&nbsp;</Posten>");
  testing::WriteBytes(dir.File("kaputt.xml"), broken);
  const XmlParser::Result verdict = parser.LoadFile(dir.File("kaputt.xml"));
  EXPECT_FALSE(verdict.ok);
  EXPECT_EQ(verdict.line, items + 4);
  EXPECT_EQ(verdict.reason, LibXml2Parser::Parse(broken).reason);

  EXPECT_EQ(parser.LoadFile(dir.File("fehlt.xml")).reason,
            "Das System kann die angegebene Datei nicht finden.");
  EXPECT_EQ(parser.LoadFile(dir.path().string()).reason,
            "Auf die Datei kann nicht zugegriffen werden.");

  // A file that ends too soon is called so, wherever it was cut, and not "extra content"; content
  // after the root still is extra content.
  const std::string cut = whole.substr(0, whole.find("\r\n", whole.size() / 2) + 2);
  testing::WriteBytes(dir.File("abgeschnitten.xml"), cut);
  const XmlParser::Result cut_off = parser.LoadFile(dir.File("abgeschnitten.xml"));
  EXPECT_EQ(cut_off.reason, "Premature end of data in tag Liste line 3");
  EXPECT_EQ(cut_off.line, std::count(cut.begin(), cut.end(), '\n') + 1);
  testing::WriteBytes(dir.File("leer.xml"), "");
  EXPECT_EQ(parser.LoadFile(dir.File("leer.xml")).reason, "Document is empty");
  EXPECT_EQ(LibXml2Parser::Parse(std::string(kDeclaration) + "<Root>").reason,
            "Premature end of data in tag Root line 2");
  EXPECT_EQ(LibXml2Parser::Parse(whole + "<Nachsatz/>").reason,
            "Extra content at the end of the document");
}

// The scan goes eight bytes at a time: a fault must be seen wherever in a word it falls.
TEST(XmlPrescreen, SeesFaultsAtEveryPlaceInAWord) {
  for (size_t offset = 0; offset < 17; ++offset) {
    const std::string before(offset, 'x');
    const std::string after(17, 'y');
    for (const std::string bad : {"]]>", "&bogus;", "&#1;", "\x01", "\x7f\xc3(", "\xff", "<"}) {
      const std::string content = "<a>" + before + bad + after + "</a>";
      EXPECT_FALSE(SurelyWellFormed(content)) << content;
    }
    for (const std::string bad : {"<", "&bogus;", "\x02", "\xc3", "\""}) {
      const std::string value = "<a v=\"" + before + bad + after + "\"/>";
      EXPECT_FALSE(SurelyWellFormed(value)) << value;
    }
  }
}

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

TEST(SepaText, JoinsTrimmedLinesWhateverTheLineEndsTheWindowsAndTheEncoding) {
  EXPECT_EQ(JoinedThroughAnyWindow("  <A>\r\n\t<B> x y </B>\t\n<C/>\r</A>  "),
            "<A><B> x y </B><C/></A>");
  EXPECT_EQ(JoinedThroughAnyWindow("\r\n \r\n\t"), "");
  // A line far longer than any window, blanks within it kept, and a last line without its end.
  const std::string name(100, 'N');
  EXPECT_EQ(JoinedThroughAnyWindow("<Nm>" + name + "   " + name + "</Nm>   \r\n   <Ende/>"),
            "<Nm>" + name + "   " + name + "</Nm><Ende/>");
  // Text that is no UTF-8 is taken as Windows-1252.
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
}  // namespace lastora
