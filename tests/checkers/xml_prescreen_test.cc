#include "platform/posix/xml_prescreen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/posix_adapters.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

using xml_prescreen::SurelyWellFormed;

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

bool LibXml2Accepts(const std::string& document) { return LibXml2Parser::Parse(document).ok; }

std::vector<std::string> FilesIn(const std::string& folder, const std::string& extension) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == extension) paths.push_back(entry.path().string());
  }
  return paths;
}

TEST(XmlPrescreen, PaymentFilesOfThisAndOtherProgramsPassWithoutTheParser) {
  std::vector<std::string> files = FilesIn(std::string(LASTORA_TESTDATA_DIR) + "/sepa", ".xml");
  const std::vector<std::string> golden = FilesIn(LASTORA_GOLDEN_DIR, ".xml");
  files.insert(files.end(), golden.begin(), golden.end());
  ASSERT_GE(files.size(), 5u);
  for (const std::string& file : files) {
    EXPECT_TRUE(SurelyWellFormed(testing::ReadBytes(file))) << file;
  }
}

// Documents libxml2 rejects: the quick scan must leave every one of them to it. The cases are the
// rules a scan of this kind most easily forgets.
TEST(XmlPrescreen, NeverPassesWhatTheParserRejects) {
  const std::string d = kDeclaration;
  const std::vector<std::string> rejected = {
      "",
      "   ",
      d,
      d + "<a>",
      d + "<a></b>",
      d + "<a><b></a></b>",
      d + "<a></a><b/>",
      d + "<a></a>text",
      "text<a/>",
      " " + d + "<a/>",
      d + "<a x=\"1\" x=\"2\"/>",
      d + "<a x=\"1\"y=\"2\"/>",
      d + "<a x=1/>",
      d + "<a x=\"<\"/>",
      d + "<a>]]></a>",
      d + "<a>&nbsp;</a>",
      d + "<a>&amp</a>",
      d + "<a>&#0;</a>",
      d + "<a>&#xFFFE;</a>",
      d + "<a>&#x110000;</a>",
      d + "<a>&#X41;</a>",
      d + "<a>&#;</a>",
      d + "<a>\x01</a>",
      d + "<a>\x0c</a>",
      d + "<a>\xc3</a>",
      d + "<a>\xc3\x28</a>",
      d + "<a>\xed\xa0\x80</a>",
      d + "<a>\xef\xbf\xbe</a>",
      d + "<a>\xc0\xaf</a>",
      d + "<a><!-- a -- b --></a>",
      d + "<a><!-- a ---></a>",
      d + "<a><!-- open</a>",
      d + "<p:a/>",
      d + "<a p:x=\"1\"/>",
      d + "<a xmlns:p=\"\"/>",
      d + "<a xmlns:p=\"u:1\"><b/></a><p:c/>",
      d + "<a xmlns:p=\"u:1\" xmlns:q=\"u:1\" p:x=\"1\" q:x=\"2\"/>",
      d + "<a xmlns=\"http://www.w3.org/XML/1998/namespace\"/>",
      d + "<a xmlns:p=\"http://www.w3.org/2000/xmlns/\"/>",
      d + "<a xmlns:xmlns=\"u:1\"/>",
      d + "<a xmlns=\":bad\"/>",
      d + "<a xmlns=\"ur:&lt;rthema\"/>",
      d + "<a xmlns:p=\"u:a&#32;b\"/>",
      d + "<a:b:c xmlns:a=\"u:1\"/>",
      d + "<1a/>",
      d + "<a></a >x",
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>",
      "<?xml version=\"1.0\"encoding=\"UTF-8\"?><a/>",
      "<?xml  ?><a/>",
      d + std::string(300, 'x'),
      d + "<a>" + std::string(1, '\0') + "</a>",
  };
  for (const std::string& document : rejected) {
    EXPECT_FALSE(LibXml2Accepts(document)) << "not a fault after all: " << document;
    EXPECT_FALSE(SurelyWellFormed(document)) << document;
  }
}

// The scan passes text a word of eight bytes at a time: a fault must be seen wherever in a word
// it falls, and what is allowed must pass there too.
TEST(XmlPrescreen, SeesFaultsAtEveryPlaceInAWord) {
  for (size_t offset = 0; offset < 17; ++offset) {
    const std::string before(offset, 'x');
    const std::string after(17, 'y');
    for (const std::string bad : {"]]>", "&bogus;", "&#1;", "\x01", "\x7f\xc3(", "\xff", "<"}) {
      const std::string content = "<a>" + before + bad + after + "</a>";
      EXPECT_FALSE(LibXml2Accepts(content)) << content;
      EXPECT_FALSE(SurelyWellFormed(content)) << content;
    }
    for (const std::string bad : {"<", "&bogus;", "\x02", "\xc3", "\""}) {
      const std::string value = "<a v=\"" + before + bad + after + "\"/>";
      EXPECT_FALSE(LibXml2Accepts(value)) << value;
      EXPECT_FALSE(SurelyWellFormed(value)) << value;
    }
    for (const std::string good : {"]]>", "'", "&amp;", "\xc3\xa4", "\t\r\n", "\x7f"}) {
      const std::string value = "<a v=\"" + before + good + after + "\"/>";
      EXPECT_TRUE(LibXml2Accepts(value)) << value;
      EXPECT_TRUE(SurelyWellFormed(value)) << value;
    }
    for (const std::string good : {"]]", "]>", "\"", "&#xE4;", "\xe2\x82\xac", "\r\n"}) {
      const std::string content = "<a>" + before + good + after + "</a>";
      EXPECT_TRUE(LibXml2Accepts(content)) << content;
      EXPECT_TRUE(SurelyWellFormed(content)) << content;
    }
  }
}

TEST(XmlPrescreen, LeavesUnusualButWellFormedDocumentsToTheParser) {
  const std::string d = kDeclaration;
  std::string deep;
  for (int i = 0; i < 150; ++i) deep += "<e>";
  for (int i = 0; i < 150; ++i) deep += "</e>";
  const std::vector<std::string> unusual = {
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xe4</a>",
      "\xef\xbb\xbf<a/>",
      "<?xml version=\"1.1\"?><a/>",
      d + "<!DOCTYPE a><a/>",
      d + "<?pi data?><a/>",
      d + "<a><![CDATA[<x>]]></a>",
      d + "<a xml:lang=\"de\"/>",
      d + "<\xc3\xa4/>",
      d + "<a>" + std::string(2 << 20, 'x') + "</a>",
      d + deep,
  };
  for (const std::string& document : unusual) {
    EXPECT_TRUE(LibXml2Accepts(document)) << document.substr(0, 80);
    EXPECT_FALSE(SurelyWellFormed(document)) << document.substr(0, 80);
  }
}

TEST(XmlPrescreen, AcceptsTheWellFormedVariantsOfItsOwnSubset) {
  const std::vector<std::string> plain = {
      "<a/>",
      "\r\n <a/>\r\n",
      "<?xml version='1.0'?><a/>",
      "<?xml version = \"1.0\" encoding = 'utf-8' standalone=\"yes\" ?>\n<a></a>",
      std::string(kDeclaration) + "<!-- x - y -->\r\n<a>1 &lt; 2 &amp;&#x41;&#228;</a>",
      "<a b='\"' c=\"'\" d=\"&quot;&#10;\t\"/>",
      "<a xmlns=\"urn:x\" xmlns:p=\"http://e.org/n\" p:x=\"1\"><p:b p:y=\"2\"/></a >",
      "<a>] ]] ]>\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80</a><!---->",
  };
  for (const std::string& document : plain) {
    EXPECT_TRUE(LibXml2Accepts(document)) << document;
    EXPECT_TRUE(SurelyWellFormed(document)) << document;
  }
}

}  // namespace
}  // namespace lastora
