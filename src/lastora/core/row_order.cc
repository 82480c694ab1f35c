#include "core/row_order.h"

namespace lastora {

void ReorderRows(Table& table, int32_t first, const std::vector<int32_t>& order) {
  // Following each cycle of the permutation, every swap puts one row in its final place.
  std::vector<bool> placed(order.size());
  for (size_t start = 0; start < order.size(); ++start) {
    for (size_t i = start; !placed[i]; i = static_cast<size_t>(order[i])) {
      placed[i] = true;
      if (static_cast<size_t>(order[i]) != start) {
        table.SwapRows(first + static_cast<int32_t>(i), first + order[i]);
      }
    }
  }
}

}  // namespace lastora
