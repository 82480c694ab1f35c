// Class1's well-formedness check of an XML file.
#include <string>

#include "core/text.h"
#include "lastora/class1.h"
#include "lastora/platform.h"

namespace lastora {
namespace {

// The answer is shown in one cell and one settings field, so it must stay on one line.
std::string OnOneLine(const std::string& text) {
  std::string line = text::Replace(text, "\r\n", "");
  std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
  return line;
}

// "" for a well-formed document, otherwise the parser's reason, " (Zeile ", the line and ")".
std::string XmlStructureAnswer(const XmlParser::Result& parsed) {
  if (parsed.ok) return "";
  return OnOneLine(parsed.reason) + " (Zeile " + std::to_string(parsed.line) + ")";
}

}  // namespace

std::string Class1::SEPA_Check_XMLStruktur(const std::string& strDTAFile) {
  return XmlStructureAnswer(GetXmlParser()->LoadFile(strDTAFile));
}

}  // namespace lastora
