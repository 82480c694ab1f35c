#include "workbook/joint_accounts.h"

#include <gtest/gtest.h>

#include <string>

#include "lastora/payment_table.h"
#include "support/field_texts.h"

namespace lastora {
namespace {

using payment_table::kIban;
using payment_table::kName;
using testing::Grid;
using testing::GridOf;

// Members in list order with the account each pays from ("" for none).
ColouredTable Members(const std::vector<std::string>& accounts) {
  const int32_t rows = static_cast<int32_t>(accounts.size());
  ColouredTable table{Table(rows, kPaymentColumns), Table(rows, kPaymentColumns)};
  for (int32_t r = 1; r <= rows; ++r) {
    table.values(r, kName) = "Mitglied mit der Nummer " + std::to_string(r);  // a long text
    if (!accounts[static_cast<size_t>(r - 1)].empty()) {
      table.values(r, kIban) = accounts[static_cast<size_t>(r - 1)];
    }
    table.colours(r, 1) = r;
  }
  return table;
}

// Grouping moves whole rows, colours with their values, and putting them back restores the
// list exactly, however the accounts interleave.
TEST(JointAccountsTest, GroupedRowsStayWholeAndGoBackAndOnlyDifferentHoldersAreWarned) {
  const std::vector<std::string> accounts = {"DE01", "DE02", "",     "DE01", "DE03", "DE02",
                                             "DE01", "",     "DE03", "DE04", "DE02"};
  ColouredTable table = Members(accounts);
  const std::vector<int32_t> order = GroupByAccount(table);
  ASSERT_EQ(order, (std::vector<int32_t>{0, 3, 6, 1, 5, 10, 2, 4, 8, 7, 9}));
  const ColouredTable original = Members(accounts);
  const Grid values = GridOf(original.values), colours = GridOf(original.colours);
  Grid grouped_values, grouped_colours;
  for (const int32_t from : order) {
    grouped_values.push_back(values[from]);
    grouped_colours.push_back(colours[from]);
  }
  EXPECT_EQ(GridOf(table.values), grouped_values);
  EXPECT_EQ(GridOf(table.colours), grouped_colours);
  RestoreOrder(table, order);
  EXPECT_EQ(GridOf(table.values), values);
  EXPECT_EQ(GridOf(table.colours), colours);

  // An account is its text without surrounding blanks, whatever kind of cell holds it.
  ColouredTable kinds = Members({"12345", "DE01", "", " DE01 "});
  kinds.values(3, kIban) = 12345.0;
  EXPECT_EQ(GroupByAccount(kinds), (std::vector<int32_t>{0, 2, 1, 3}));

  // Only runs naming different holders are warned: holders differing only in case and blanks
  // are one; rows without an account are no run.
  table = Members({"DE01", "DE01", "DE02", "DE02", "", "", "DE03"});
  const std::vector<std::string> names = {"Anna Schmidt", " anna SCHMIDT ", "Anna", "Jürgen",
                                          "Otto",         "Paul",           "Eva"};
  for (int32_t r = 1; r <= static_cast<int32_t>(names.size()); ++r) {
    table.values(r, kName) = names[static_cast<size_t>(r - 1)];
  }
  table.values(4, payment_table::kWarnings) = " Alt ";
  EXPECT_EQ(WarnDifferentHolders(table), 1);
  EXPECT_EQ(table.values(4, payment_table::kWarnings),
            Variant("Alt, Ein Konto, verschiedene Kontoinhaber: Anna / Jürgen"));
  EXPECT_EQ(table.colours(4, kIban), Variant(payment_table::kWarningColour));
  for (const int32_t r : {1, 2, 3, 5, 6, 7}) {
    EXPECT_TRUE(table.values(r, payment_table::kWarnings).IsEmpty()) << r;
    EXPECT_TRUE(table.colours(r, kIban).IsEmpty()) << r;
  }
}

}  // namespace
}  // namespace lastora
