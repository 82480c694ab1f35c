#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lastora/class1.h"
#include "lastora/platform.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

class XmlStructureCheck : public ::testing::Test {
 protected:
  testing::ScopedTempDir dir_;
  Class1 object_;
};

// A reason, then the line number; never a line break, which would break the caller's cell.
TEST_F(XmlStructureCheck, FaultsGiveOneLineWithTheLineNumber) {
  testing::WriteBytes(dir_.File("bad.xml"),
                      "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b>text</b>\r\n  <c>ha");
  const std::string answer = object_.SEPA_Check_XMLStruktur(dir_.File("bad.xml"));
  EXPECT_TRUE(answer.ends_with(" (Zeile 4)")) << answer;
  EXPECT_GT(answer.size(), std::string(" (Zeile 4)").size()) << answer;
  EXPECT_EQ(answer.find_first_of("\r\n"), std::string::npos) << answer;
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
