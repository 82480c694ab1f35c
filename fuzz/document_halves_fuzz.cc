// The cut that lets a large payment document be validated as two halves at once, on arbitrary
// bytes: two halves the schema accepts must mean a whole it accepts, or the split would pass a
// document the bank refuses.
#include <cstdlib>
#include <string>

#include "fuzz_file.h"
#include "lastora/schema_check.h"
#include "workbook/document_halves.h"

namespace {

std::string Written(const std::string& bytes, const char* extension) {
  return lastora::fuzz::WriteInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                   extension);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = lastora::fuzz::WriteInput(data, size, ".xml");
  const auto cut = lastora::document_halves::FindCut(file, 0);
  if (!cut) return 0;
  if (cut->run_start >= cut->resume_at || cut->resume_at >= size) std::abort();
  const std::string whole(reinterpret_cast<const char*>(data), size);
  const std::string first = whole.substr(0, cut->resume_at) + cut->closing;
  const std::string second = whole.substr(0, cut->run_start) + whole.substr(cut->resume_at);
  if (lastora::SchemaVerdict(Written(first, ".first.xml")) != "ok") return 0;
  if (lastora::SchemaVerdict(Written(second, ".second.xml")) != "ok") return 0;
  if (lastora::SchemaVerdict(file) != "ok") std::abort();
  return 0;
}
