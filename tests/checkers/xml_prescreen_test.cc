#include "platform/libxml2/xml_prescreen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/libxml2/libxml2_parser.h"
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
    EXPECT_FALSE(LibXml2Accepts(document)) << "not a fault after all: " << document;
    EXPECT_FALSE(SurelyWellFormed(document)) << document;
  }
}

// The scan goes eight bytes at a time: a fault must be seen wherever in a word it falls.
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
    for (const std::string good : {"]]", "]>", "\"", "&#xE4;", "\xe2\x82\xac", "\r\n"}) {
      const std::string content = "<a>" + before + good + after + "</a>";
      EXPECT_TRUE(LibXml2Accepts(content)) << content;
      EXPECT_TRUE(SurelyWellFormed(content)) << content;
    }
  }
}

}  // namespace
}  // namespace lastora
