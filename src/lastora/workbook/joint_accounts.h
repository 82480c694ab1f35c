// Several members paying from one account: the processing run merges only rows that stand next
// to each other, so the workbook brings them together first and says when they name different
// account holders (a copied IBAN would otherwise debit one person for another, silently).
#ifndef LASTORA_WORKBOOK_JOINT_ACCOUNTS_H_
#define LASTORA_WORKBOOK_JOINT_ACCOUNTS_H_

#include <cstdint>
#include <vector>

#include "lastora/table_files.h"

namespace lastora {

// Moves every row up behind the first row of its account (column 4); the list's order holds
// among the accounts and within each. Rows without an account stay where they fall. Returns the
// order for RestoreOrder: the former position of each row.
std::vector<int32_t> GroupByAccount(ColouredTable& table);

// Puts the rows back where GroupByAccount found them, so that the payment table's rows stay the
// member list's rows; a merged payment stays with the last member of its account.
void RestoreOrder(ColouredTable& table, const std::vector<int32_t>& order);

// Marks the last row of each run of one account whose rows name different holders (column 3)
// with a warning; returns how many runs were marked.
int32_t WarnDifferentHolders(ColouredTable& table);

}  // namespace lastora

#endif  // LASTORA_WORKBOOK_JOINT_ACCOUNTS_H_
