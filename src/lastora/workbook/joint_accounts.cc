#include "workbook/joint_accounts.h"

#include <algorithm>
#include <deque>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/row_order.h"
#include "core/text.h"
#include "lastora/payment_table.h"

namespace lastora {
namespace {

using payment_table::kIban;
using payment_table::kName;

// The cell's text without surrounding blanks. A text cell is read where it lies; any other kind is
// written out into `scratch`, which the result then points into. Every row is read this way, so
// no row costs a copy of its account or holder.
std::string_view TrimmedText(const Variant& cell, std::string& scratch) {
  if (cell.IsString()) return text::TrimmedView(cell.AsString());
  if (cell.IsEmpty() || cell.IsNull()) return {};
  scratch = CStr(cell);
  return text::TrimmedView(scratch);
}

void AppendWarning(ColouredTable& table, int32_t row, const std::string& message) {
  Variant& cell = table.values(row, payment_table::kWarnings);
  std::string scratch;
  const std::string present(TrimmedText(cell, scratch));
  cell = present.empty() ? message : present + ", " + message;
  table.colours(row, kIban) = payment_table::kWarningColour;
}

}  // namespace

std::vector<int32_t> GroupByAccount(ColouredTable& table) {
  const Table& values = table.values;
  const int32_t rows = values.RowCount();
  std::vector<int32_t> group(rows);
  {
    // Keys point into the cells, which stay put until the rows move below; accounts that are not
    // texts keep their written-out form in `written`, whose strings never move.
    std::unordered_map<std::string_view, int32_t> first_of_account;
    first_of_account.reserve(static_cast<size_t>(rows));  // nearly every member has an account
    std::deque<std::string> written;
    std::string scratch;
    for (int32_t r = 0; r < rows; ++r) {
      const Variant& cell = values(values.RowLower() + r, kIban);
      std::string_view account = TrimmedText(cell, scratch);
      if (account.empty()) {
        group[r] = r;
        continue;
      }
      if (!cell.IsString()) account = written.emplace_back(account);
      group[r] = first_of_account.try_emplace(account, r).first->second;
    }
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
  std::string scratch, next_scratch;
  for (int32_t r = values.RowLower(); r <= values.RowUpper(); ++r) {
    const std::string_view account = TrimmedText(values(r, kIban), scratch);
    const bool run_goes_on = r < values.RowUpper() && !account.empty() &&
                             TrimmedText(values(r + 1, kIban), next_scratch) == account;
    if (run_goes_on) continue;
    if (first == r) {  // a member alone on an account names one holder at most
      first = r + 1;
      continue;
    }
    std::vector<std::string> holders;
    for (int32_t i = first; i <= r; ++i) {
      const std::string holder(TrimmedText(values(i, kName), scratch));
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
