#include "workbook/joint_accounts.h"

#include <gtest/gtest.h>

#include <string>

#include "lastora/payment_table.h"

namespace lastora {
namespace {

using payment_table::kIban;
using payment_table::kName;

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
TEST(JointAccountsTest, GroupedRowsStayWholeAndGoBackWhereTheyCameFrom) {
  const std::vector<std::string> accounts = {"DE01", "DE02", "",     "DE01", "DE03", "DE02",
                                             "DE01", "",     "DE03", "DE04", "DE02"};
  ColouredTable table = Members(accounts);
  const std::vector<int32_t> order = GroupByAccount(table);
  const std::vector<int32_t> expected = {0, 3, 6, 1, 5, 10, 2, 4, 8, 7, 9};
  ASSERT_EQ(order, expected);
  for (int32_t r = 1; r <= static_cast<int32_t>(expected.size()); ++r) {
    const int32_t from = expected[static_cast<size_t>(r - 1)] + 1;
    EXPECT_EQ(table.values(r, kName), Variant("Mitglied mit der Nummer " + std::to_string(from)));
    EXPECT_EQ(table.colours(r, 1), Variant(from)) << r;
  }
  RestoreOrder(table, order);
  const ColouredTable original = Members(accounts);
  for (int32_t r = 1; r <= static_cast<int32_t>(accounts.size()); ++r) {
    EXPECT_EQ(table.values(r, kName), original.values(r, kName)) << r;
    EXPECT_EQ(table.values(r, kIban), original.values(r, kIban)) << r;
    EXPECT_EQ(table.colours(r, 1), original.colours(r, 1)) << r;
  }
}

// An account is its text without surrounding blanks, whatever kind of cell holds it.
TEST(JointAccountsTest, AccountsMatchByTheirTrimmedText) {
  ColouredTable table = Members({"12345", "DE01", "", " DE01 "});
  table.values(3, kIban) = 12345.0;
  EXPECT_EQ(GroupByAccount(table), (std::vector<int32_t>{0, 2, 1, 3}));
}

// Holders differing only in case and blanks are one; rows without an account are no run.
TEST(JointAccountsTest, OnlyRunsNamingDifferentHoldersAreWarned) {
  ColouredTable table = Members({"DE01", "DE01", "DE02", "DE02", "", "", "DE03"});
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
