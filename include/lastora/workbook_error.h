// A failure the program reports to the user before or around a run: bad input, a file that cannot
// be read or written. Its text is the whole message, in the program's own words.
#ifndef LASTORA_WORKBOOK_ERROR_H_
#define LASTORA_WORKBOOK_ERROR_H_

#include <stdexcept>
#include <string>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

class WorkbookError : public std::runtime_error {
 public:
  explicit WorkbookError(const std::string& message) : std::runtime_error(message) {}
};

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_WORKBOOK_ERROR_H_
