// The quick scan against libxml2 itself: whatever the scan lets through without the parser, the
// parser must accept too, or a broken payment file would pass the well-formedness check. The scan
// of a file read in pieces runs through a window small enough to move within a fuzzed input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/libxml2/libxml2_parser.h"
#include "platform/libxml2/xml_prescreen.h"

namespace {

bool StreamedThroughASmallWindow(std::string_view document) {
  return lastora::xml_prescreen::SurelyWellFormed(
      [&](char* into, size_t room) {
        const size_t count = std::min({room, size_t{5}, document.size()});
        document.copy(into, count);
        document.remove_prefix(count);
        return count;
      },
      64);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);
  if ((lastora::xml_prescreen::SurelyWellFormed(document) ||
       StreamedThroughASmallWindow(document)) &&
      !lastora::LibXml2Parser::Parse(document).ok) {
    std::abort();
  }
  return 0;
}
