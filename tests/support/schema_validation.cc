#include "support/schema_validation.h"

#include "lastora/schema_check.h"
#include "support/temp_dir.h"

namespace lastora::testing {

// The program's own verdict, so the tests hold every document to what the bank upload is held to.
std::string SepaSchemaErrorsOfFile(const std::string& path) {
  const std::string verdict = SchemaVerdict(path);
  return verdict == "ok" ? "" : verdict;
}

std::string SepaSchemaErrors(const std::string& xml_bytes) {
  ScopedTempDir dir;
  const std::string path = dir.File("document.xml");
  WriteBytes(path, xml_bytes);
  return SepaSchemaErrorsOfFile(path);
}

}  // namespace lastora::testing
