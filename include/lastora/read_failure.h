// The reason behind a spreadsheet import that answered only "Error".
#ifndef LASTORA_READ_FAILURE_H_
#define LASTORA_READ_FAILURE_H_

#include <cstdint>
#include <string>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// Opens the file as the import does and reads the sheet from `first_row`; returns why that fails
// in the reader's words (which part of the package is missing or broken, the line of a quote left
// open), or "" when it does not fail. The import's own answer stays as it is: this is for the
// caller who must tell a user what to mend. `sheet` empty: the first.
std::string ReadFailureReason(const std::string& path, const std::string& sheet, int32_t first_row);

// `result` of an import with the reason appended when it is the bare "Error".
std::string WithReadFailureReason(const std::string& result, const std::string& path,
                                  const std::string& sheet, int32_t first_row);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_READ_FAILURE_H_
