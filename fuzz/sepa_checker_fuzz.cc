// The SEPA checker on arbitrary bytes. The well-formedness check is answered "well-formed" so
// that every input reaches the reader, which must cope with documents no parser would pass.
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz_file.h"
#include "lastora/class1.h"
#include "lastora/platform.h"

namespace {

class AcceptingParser : public lastora::XmlParser {
 public:
  Result LoadFile(const std::string&) override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool installed = [] {
    lastora::SetXmlParser(std::make_shared<AcceptingParser>());
    return true;
  }();
  (void)installed;
  const std::string file = lastora::fuzz::WriteInput(data, size, ".xml");
  lastora::Class1 c1;
  lastora::VariantArray vars(206);
  lastora::Table values, colours, blz_intern, blz_new;
  const std::string result =
      c1.ext_SEPA_Checker(vars, values, colours, blz_intern, blz_new, file, file);
  // Every way out is a text of the system's own; "Exit" would mean the work ended unreported.
  if (result.empty() || result == "Exit") std::abort();
  return 0;
}
