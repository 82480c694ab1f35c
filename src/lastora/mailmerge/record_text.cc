#include "mailmerge/record_text.h"

#include "lastora/variant.h"

namespace lastora {

std::string RecordText(const Table& records, int32_t row, int32_t column) {
  const Variant& cell = records.At(row, column);
  if (cell.IsNull() || cell.IsEmpty()) return "";
  return CStr(cell);
}

}  // namespace lastora
