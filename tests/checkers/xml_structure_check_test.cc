#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "lastora/class1.h"
#include "lastora/platform.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

class XmlStructureCheck : public ::testing::Test {
 protected:
  std::string CheckText(const std::string& name, const std::string& bytes) {
    testing::WriteBytes(dir_.File(name), bytes);
    return object_.SEPA_Check_XMLStruktur(dir_.File(name));
  }

  testing::ScopedTempDir dir_;
  Class1 object_;
};

TEST_F(XmlStructureCheck, WellFormedFileGivesEmptyAnswer) {
  EXPECT_EQ(CheckText("ok.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a>\r\n  <b>x &amp; y</b>\r\n"
                      "</a>\r\n\r\n"),
            "");
}

// A reason, then the line number; never a line break, which would break the caller's cell.
TEST_F(XmlStructureCheck, FaultsGiveOneLineWithTheLineNumber) {
  const std::pair<std::string, std::string> cases[] = {
      {"<?xml version=\"1.0\"?>\r\n<a>\r\n  <b>text</b>\r\n  <c>ha", " (Zeile 4)"},
      {"<a>\r\n<b>Meier & Sohn</b>\r\n</a>", " (Zeile 2)"},
      {"<a>\n<b></c>\n</a>\n", " (Zeile 2)"},
  };
  for (const auto& [bytes, line] : cases) {
    const std::string answer = CheckText("bad.xml", bytes);
    EXPECT_TRUE(answer.ends_with(line)) << answer;
    EXPECT_GT(answer.size(), line.size()) << answer;
    EXPECT_EQ(answer.find_first_of("\r\n"), std::string::npos) << answer;
  }
  const std::string missing = object_.SEPA_Check_XMLStruktur(dir_.File("absent.xml"));
  EXPECT_TRUE(missing.ends_with(" (Zeile 0)")) << missing;
  EXPECT_GT(missing.size(), std::string(" (Zeile 0)").size());
}

// A parser whose reason carries line breaks, as another platform's parser may word it.
class WordyParser : public XmlParser {
 public:
  Result LoadFile(const std::string&) override {
    return Result{false, "Ende-Tag fehlt.\r\nElement: a\r\n", 7};
  }
};

TEST_F(XmlStructureCheck, ReasonIsJoinedToOneLine) {
  auto previous = SetXmlParser(std::make_shared<WordyParser>());
  const std::string answer = object_.SEPA_Check_XMLStruktur("egal.xml");
  SetXmlParser(previous);
  EXPECT_EQ(answer, "Ende-Tag fehlt.Element: a (Zeile 7)");
}

}  // namespace
}  // namespace lastora
