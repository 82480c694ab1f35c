// The well-formedness check on arbitrary bytes: an answer on one line, empty only for a
// document the parser accepted.
#include <cstdlib>
#include <string>

#include "fuzz_file.h"
#include "lastora/class1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = lastora::fuzz::WriteInput(data, size, ".xml");
  lastora::Class1 c1;
  const std::string answer = c1.SEPA_Check_XMLStruktur(file);
  if (answer.find('\n') != std::string::npos || answer.find('\r') != std::string::npos) {
    std::abort();
  }
  if (!answer.empty() && !answer.ends_with(")")) std::abort();
  return 0;
}
