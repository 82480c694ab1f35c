// The first row of a bank-code table that holds a given bank code in one column, found by hash
// instead of a scan per looked-up row.
#ifndef LASTORA_ACCOUNTS_BANK_CODE_INDEX_H_
#define LASTORA_ACCOUNTS_BANK_CODE_INDEX_H_

#include <cstdint>
#include <string>
#include <unordered_map>

#include "lastora/table.h"

namespace lastora::detail {

class BankCodeIndex {
 public:
  // Indexes `column` of `table`; VbError 9 when the table has rows but not that column.
  BankCodeIndex(const Table& table, int32_t column);

  // The first row whose cell equals the code, or 0. A text cell matches by its text; any other
  // value by its text form, so a bank code that a spreadsheet stores as the number 10010010
  // matches "10010010". A Null cell before the match cannot be compared: VbError 94, as the
  // row-by-row search would have met it.
  int32_t FirstRow(const std::string& bank_code) const;

 private:
  std::unordered_map<std::string, int32_t> first_row_;
  int32_t first_null_row_ = 0;  // 0: none
};

}  // namespace lastora::detail

#endif  // LASTORA_ACCOUNTS_BANK_CODE_INDEX_H_
