// The collection date against the bank's calendar.
#include "lastora/collection_date.h"

#include <gtest/gtest.h>

#include "core/calendar.h"

namespace lastora {
namespace {

int64_t Day(int year, int month, int day) { return detail::DayFromCivil(year, month, day); }

TEST(CollectionDateTest, BusinessDaysAndLeadTimeFollowTheTarget2Calendar) {
  // Easter 2026 is on 5 April, 2027 on 28 March.
  for (const int64_t closed :
       {Day(2026, 4, 3), Day(2026, 4, 6), Day(2027, 3, 26), Day(2027, 3, 29), Day(2026, 5, 1),
        Day(2026, 12, 25), Day(2026, 12, 26), Day(2027, 1, 1), Day(2026, 3, 7), Day(2026, 3, 8)}) {
    EXPECT_FALSE(IsTarget2BusinessDay(closed)) << closed;
  }
  for (const int64_t open : {Day(2026, 4, 2), Day(2026, 4, 7), Day(2026, 12, 24), Day(2026, 12, 31),
                             Day(2025, 10, 3), Day(2026, 3, 2)}) {
    EXPECT_TRUE(IsTarget2BusinessDay(open)) << open;
  }
  // Handed in on Maundy Thursday, a debit is due after Easter Monday at the earliest.
  EXPECT_EQ(EarliestCollectionDay(Day(2026, 4, 2), false), Day(2026, 4, 7));
  EXPECT_EQ(EarliestCollectionDay(Day(2026, 12, 24), false), Day(2026, 12, 28));
  // A Saturday counts from Monday.
  EXPECT_EQ(EarliestCollectionDay(Day(2026, 3, 7), false), Day(2026, 3, 10));
  EXPECT_EQ(EarliestCollectionDay(Day(2026, 3, 7), true), Day(2026, 3, 9));
  EXPECT_EQ(EarliestCollectionDay(Day(2026, 3, 2), true), Day(2026, 3, 2));

  // Credit transfers may be executed today but not in the past.
  SEPAVARIABLEN s;
  s.SepaAART.Value = "Überweisung";
  s.SepaADAT.Value = "02.03.2026";
  const double monday = static_cast<double>(Day(2026, 3, 2)) + 0.4;
  EXPECT_EQ(CheckCollectionDate(s, monday).stop, "");
  s.SepaADAT.Value = "01.03.2026";
  EXPECT_EQ(CheckCollectionDate(s, monday).stop,
            "SepaADAT 01.03.2026 liegt in der Vergangenheit; frühestens möglich ist der "
            "02.03.2026");
  s.SepaAART.Value = "Basislastschrift";
  s.SepaADAT.Value = "morgen";
  EXPECT_EQ(CheckCollectionDate(s, monday).stop, "") << "named by the generation run";
}

}  // namespace
}  // namespace lastora
