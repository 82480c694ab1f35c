#include "support/schema_validation.h"

#include "lastora/schema_check.h"

namespace lastora::testing {

// The program's own verdict, so the tests hold every document to what the bank upload is held to.
std::string SepaSchemaErrorsOfFile(const std::string& path) {
  const std::string verdict = SchemaVerdict(path);
  return verdict == "ok" ? "" : verdict;
}

RefusingSchemas::RefusingSchemas() {
  for (const char* name : {"pain.008.002.02.xsd", "pain.001.002.03.xsd"}) {
    std::string schema = ReadBytes(std::string(LASTORA_TESTDATA_DIR) + "/schemas/" + name);
    for (size_t at = 0; (at = schema.find("\"70\"", at)) != std::string::npos;) {
      schema.replace(at, 4, "\"3\"");
    }
    WriteBytes(dir_.File(name), schema);
  }
  chosen_.emplace("LASTORA_SCHEMA_DIR", dir_.path().string());
}

}  // namespace lastora::testing
