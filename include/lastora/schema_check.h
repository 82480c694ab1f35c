// The bank's own test of a SEPA document: validation against the DK schema of its message kind,
// as shipped with the program.
#ifndef LASTORA_SCHEMA_CHECK_H_
#define LASTORA_SCHEMA_CHECK_H_

#include <future>
#include <string>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// "ok" when the document at `path` is valid against the schema that its root element's namespace
// names (pain.008.002.02, pain.001.002.03); otherwise why a bank would refuse it, with the line of
// the first complaint. The document is read as a stream, so a file of 100,000 payments costs no
// more memory than a small one.
std::string SchemaVerdict(const std::string& path);
// SchemaVerdict on a thread of its own, so that a large document is validated while the caller
// goes on with other work.
std::future<std::string> SchemaVerdictInBackground(const std::string& path);

// Where the schemas are read from: LASTORA_SCHEMA_DIR when set, else share/lastora/schemas beside
// the running program's folder, else the installation's share folder, else the source tree's copy
// (a program run from its build folder).
std::string SchemaFolder();

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_SCHEMA_CHECK_H_
