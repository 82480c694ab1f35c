// The answer of the well-formedness check, shared by Class1's public method and the SEPA checker,
// which hands the parser the bytes it has read anyway.
#ifndef LASTORA_CHECKERS_XML_STRUCTURE_CHECK_H_
#define LASTORA_CHECKERS_XML_STRUCTURE_CHECK_H_

#include <string>

#include "lastora/platform.h"

namespace lastora {

// "" for a well-formed document, otherwise the parser's reason on one line, " (Zeile ", the line
// and ")".
std::string XmlStructureAnswer(const XmlParser::Result& parsed);

}  // namespace lastora

#endif  // LASTORA_CHECKERS_XML_STRUCTURE_CHECK_H_
