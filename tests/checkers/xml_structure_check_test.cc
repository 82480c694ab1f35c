// The format of the answer, a reason and then " (Zeile N)", is held where the program's xml-check
// and the generation run print it; here, that the reason never breaks the caller's cell.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lastora/class1.h"
#include "lastora/platform.h"

namespace lastora {
namespace {

// A parser whose reason carries line breaks, as another platform's parser may word it.
class WordyParser : public XmlParser {
 public:
  Result LoadFile(const std::string&) override {
    return Result{false, "Ende-Tag fehlt.\r\nElement: a\r\n", 7};
  }
};

TEST(XmlStructureCheck, ReasonIsJoinedToOneLine) {
  auto previous = SetXmlParser(std::make_shared<WordyParser>());
  const std::string answer = Class1().SEPA_Check_XMLStruktur("egal.xml");
  SetXmlParser(previous);
  EXPECT_EQ(answer, "Ende-Tag fehlt.Element: a (Zeile 7)");
}

}  // namespace
}  // namespace lastora
