// The XML port's adapter on libxml2, which every platform the library builds for has.
#ifndef LASTORA_PLATFORM_LIBXML2_LIBXML2_PARSER_H_
#define LASTORA_PLATFORM_LIBXML2_LIBXML2_PARSER_H_

#include <string>
#include <string_view>

#include "lastora/platform.h"

namespace lastora {

// Plain documents pass a quick scan; libxml2 parses the rest and words the reasons.
class LibXml2Parser : public XmlParser {
 public:
  Result LoadFile(const std::string& path) override;
  // libxml2's own verdict, without the quick scan, which must never contradict it.
  static Result Parse(std::string_view bytes);
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_LIBXML2_LIBXML2_PARSER_H_
