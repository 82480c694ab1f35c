#include "workbook/joint_accounts.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/row_order.h"
#include "core/text.h"
#include "lastora/payment_table.h"

namespace lastora {
namespace {

using payment_table::kIban;
using payment_table::kName;

std::string TextOf(const Variant& cell) {
  return cell.IsEmpty() || cell.IsNull() ? std::string() : text::Trim(CStr(cell));
}

void AppendWarning(ColouredTable& table, int32_t row, const std::string& message) {
  Variant& cell = table.values(row, payment_table::kWarnings);
  const std::string present = TextOf(cell);
  cell = present.empty() ? message : present + ", " + message;
  table.colours(row, kIban) = payment_table::kWarningColour;
}

}  // namespace

std::vector<int32_t> GroupByAccount(ColouredTable& table) {
  const Table& values = table.values;
  const int32_t rows = values.RowCount();
  std::unordered_map<std::string, int32_t> first_of_account;
  std::vector<int32_t> group(rows);
  for (int32_t r = 0; r < rows; ++r) {
    const std::string account = TextOf(values(values.RowLower() + r, kIban));
    group[r] = account.empty() ? r : first_of_account.try_emplace(account, r).first->second;
  }
  std::vector<int32_t> order(rows);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&group](int32_t a, int32_t b) { return group[a] < group[b]; });
  if (std::is_sorted(order.begin(), order.end())) return order;
  ReorderRows(table.values, table.values.RowLower(), order);
  ReorderRows(table.colours, table.colours.RowLower(), order);
  return order;
}

void RestoreOrder(ColouredTable& table, const std::vector<int32_t>& order) {
  if (std::is_sorted(order.begin(), order.end())) return;
  std::vector<int32_t> back(order.size());
  for (size_t i = 0; i < order.size(); ++i) back[order[i]] = static_cast<int32_t>(i);
  ReorderRows(table.values, table.values.RowLower(), back);
  ReorderRows(table.colours, table.colours.RowLower(), back);
}

int32_t WarnDifferentHolders(ColouredTable& table) {
  const Table& values = table.values;
  int32_t warned = 0;
  int32_t first = values.RowLower();
  for (int32_t r = values.RowLower(); r <= values.RowUpper(); ++r) {
    const std::string account = TextOf(values(r, kIban));
    const bool run_goes_on =
        r < values.RowUpper() && !account.empty() && TextOf(values(r + 1, kIban)) == account;
    if (run_goes_on) continue;
    std::vector<std::string> holders;
    for (int32_t i = first; i <= r; ++i) {
      const std::string holder = TextOf(values(i, kName));
      if (holder.empty()) continue;
      const bool known = std::any_of(holders.begin(), holders.end(), [&](const std::string& h) {
        return text::UCase(h) == text::UCase(holder);
      });
      if (!known) holders.push_back(holder);
    }
    if (holders.size() > 1) {
      std::string names;
      for (const std::string& holder : holders) names += (names.empty() ? "" : " / ") + holder;
      AppendWarning(table, r, "Ein Konto, verschiedene Kontoinhaber: " + names);
      ++warned;
    }
    first = r + 1;
  }
  return warned;
}

}  // namespace lastora
