// The .xls import on arbitrary bytes behind the container's signature: whatever the reader in the
// child process makes of them (or however it dies), the import answers and the program lives on.
#include <cstdlib>
#include <string>

#include "contained_children.h"
#include "fuzz_file.h"
#include "lastora/class1.h"
#include "silent_dialogs.h"

namespace {

constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lastora::fuzz::SilenceDialogs();
  lastora::fuzz::LeaveChildDeathsToTheProgram();
  // The signature is what sends a file to this reader; the corpus files carry it already.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!bytes.starts_with(std::string_view(kSignature, 8))) bytes.insert(0, kSignature, 8);
  const std::string file = lastora::fuzz::WriteInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                                                     bytes.size(), ".xls");
  lastora::Class1 c1;
  lastora::Table sheet(1, 1);
  sheet(1, 1) = lastora::Variant("vorher");
  const std::string result = c1.GetColumnsFromExcelFile(file, sheet, "", 1);
  // A refused file leaves the caller's table as it was.
  if (result != "ok" && !(sheet(1, 1) == lastora::Variant("vorher"))) std::abort();
  return 0;
}
