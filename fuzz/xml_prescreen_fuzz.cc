// The quick scan against libxml2 itself: whatever the scan lets through without the parser, the
// parser must accept too, or a broken payment file would pass the well-formedness check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/libxml2/libxml2_parser.h"
#include "platform/libxml2/xml_prescreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);
  if (lastora::xml_prescreen::SurelyWellFormed(document) &&
      !lastora::LibXml2Parser::Parse(document).ok) {
    std::abort();
  }
  return 0;
}
