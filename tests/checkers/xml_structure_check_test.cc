#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lastora/class1.h"
#include "lastora/platform.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

using testing::ScopedTempDir;
using testing::WriteBytes;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(XmlStructureCheck, WellFormedFileGivesEmptyAnswer) {
  ScopedTempDir dir;
  WriteBytes(
      dir.File("ok.xml"),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a>\r\n  <b>x &amp; y</b>\r\n</a>\r\n\r\n");
  Class1 object;
  EXPECT_EQ(object.SEPA_Check_XMLStruktur(dir.File("ok.xml")), "");
}

TEST(XmlStructureCheck, FaultsGiveOneLineWithTheLineNumber) {
  ScopedTempDir dir;
  Class1 object;
  WriteBytes(dir.File("cut.xml"), "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b>text</b>\r\n  <c>ha");
  const std::string cut = object.SEPA_Check_XMLStruktur(dir.File("cut.xml"));
  EXPECT_TRUE(EndsWith(cut, " (Zeile 4)")) << cut;
  EXPECT_GT(cut.size(), std::string(" (Zeile 4)").size());

  WriteBytes(dir.File("amp.xml"), "<a>\r\n<b>Meier & Sohn</b>\r\n</a>");
  const std::string amp = object.SEPA_Check_XMLStruktur(dir.File("amp.xml"));
  EXPECT_TRUE(EndsWith(amp, " (Zeile 2)")) << amp;

  WriteBytes(dir.File("mismatch.xml"), "<a>\n<b></c>\n</a>\n");
  EXPECT_TRUE(EndsWith(object.SEPA_Check_XMLStruktur(dir.File("mismatch.xml")), " (Zeile 2)"));

  for (const std::string& answer : {cut, amp}) {
    EXPECT_EQ(answer.find('\n'), std::string::npos) << answer;
    EXPECT_EQ(answer.find('\r'), std::string::npos) << answer;
  }
}

TEST(XmlStructureCheck, MissingFileGivesAReason) {
  ScopedTempDir dir;
  Class1 object;
  const std::string answer = object.SEPA_Check_XMLStruktur(dir.File("absent.xml"));
  EXPECT_TRUE(EndsWith(answer, " (Zeile 0)")) << answer;
  EXPECT_GT(answer.size(), std::string(" (Zeile 0)").size());
}

// A parser whose reason carries line breaks, as another platform's parser may word it.
class WordyParser : public XmlParser {
 public:
  Result LoadFile(const std::string&) override {
    return Result{false, "Ende-Tag fehlt.\r\nElement: a\r\n", 7};
  }
};

TEST(XmlStructureCheck, ReasonIsJoinedToOneLine) {
  auto previous = SetXmlParser(std::make_shared<WordyParser>());
  Class1 object;
  const std::string answer = object.SEPA_Check_XMLStruktur("egal.xml");
  SetXmlParser(previous);
  EXPECT_EQ(answer, "Ende-Tag fehlt.Element: a (Zeile 7)");
}

}  // namespace
}  // namespace lastora
