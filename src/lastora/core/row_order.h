// Reordering the rows of a table where it lies.
#ifndef LASTORA_CORE_ROW_ORDER_H_
#define LASTORA_CORE_ROW_ORDER_H_

#include <cstdint>
#include <vector>

#include "lastora/table.h"

namespace lastora {

// Row first + i becomes what row first + order[i] was; order is a permutation of 0..n-1. Rows
// are swapped, never copied: no cell's text is duplicated and no second table is made.
void ReorderRows(Table& table, int32_t first, const std::vector<int32_t>& order);

}  // namespace lastora

#endif  // LASTORA_CORE_ROW_ORDER_H_
