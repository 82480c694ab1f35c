// Validates SEPA documents against the DK schemas, through the program's own check, so every test
// that writes or reads a pain file can show that a bank's validator would accept it.
#ifndef LASTORA_TESTS_SUPPORT_SCHEMA_VALIDATION_H_
#define LASTORA_TESTS_SUPPORT_SCHEMA_VALIDATION_H_

#include <optional>
#include <string>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {

// The schema is chosen by the document's root namespace (pain.008.002.02 or pain.001.002.03).
// Returns "" when the document is valid, otherwise the program's verdict, naming the line (or why
// the document could not be validated at all).
std::string SepaSchemaErrorsOfFile(const std::string& path);

// While it lives, the program checks documents against schemas that allow names of three
// characters, so that every document it writes is refused.
class RefusingSchemas {
 public:
  RefusingSchemas();

 private:
  ScopedTempDir dir_;
  std::optional<ScopedEnv> chosen_;
};

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_SCHEMA_VALIDATION_H_
