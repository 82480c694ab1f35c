// A record cell as the text that goes into a document.
#ifndef LASTORA_MAILMERGE_RECORD_TEXT_H_
#define LASTORA_MAILMERGE_RECORD_TEXT_H_

#include <cstdint>
#include <string>

#include "lastora/table.h"

namespace lastora {

// The cell's text ("" for Empty and Null, which a member list leaves in unfilled cells).
std::string RecordText(const Table& records, int32_t row, int32_t column);

}  // namespace lastora

#endif  // LASTORA_MAILMERGE_RECORD_TEXT_H_
