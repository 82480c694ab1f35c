// The DTAUS checker on arbitrary bytes, with and without the references read back.
#include <cstdlib>
#include <string>

#include "fuzz_file.h"
#include "lastora/class1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = lastora::fuzz::WriteInput(data, size, ".dta");
  lastora::Class1 c1;
  lastora::VariantArray vars(206);
  vars[177] = size % 2 == 0 ? "Payment-ID" : "Mandat-ID";  // SepaFuncVER2
  lastora::Table values, colours, unused;
  const std::string result =
      c1.ext_DTAUS_Checker(vars, values, colours, unused, unused, file, size % 3 == 0);
  if (result.empty() || result == "Exit") std::abort();
  return 0;
}
