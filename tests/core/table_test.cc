#include "lastora/table.h"

#include <gtest/gtest.h>

#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

// Worksheet ranges start at 1, which every other test relies on; a script may pass 0.
TEST(TableTest, KeepsTheCallersLowerBounds) {
  Table zero_based(2, 2, 0, 0);
  zero_based(0, 0) = 1.5;
  EXPECT_EQ(zero_based.RowUpper(), 1);
  EXPECT_EQ(zero_based(0, 0), Variant(1.5));
  EXPECT_TRUE(zero_based(1, 1).IsEmpty());
  EXPECT_EQ(ErrorOf([&] { zero_based(2, 0); }), 9);
}

TEST(TableTest, IndexOutsideTheBounds) {
  Table t(2, 3);
  for (auto [row, col] :
       {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 4}, {INT32_MIN, 1}, {1, INT32_MAX}}) {
    EXPECT_EQ(ErrorOf([&] { t.At(row, col); }), 9) << row << "," << col;
  }
  const Table empty;
  EXPECT_FALSE(empty.IsAllocated());
  EXPECT_EQ(ErrorOf([&] { empty.At(1, 1); }), 9);
  EXPECT_EQ(ErrorOf([] { Table(-1, 2); }), 9);
}

TEST(TableTest, ResizeRowsKeepsContents) {
  Table t(2, 2, 0, 1);
  t(0, 1) = "a";
  t(1, 2) = "b";
  t.ResizeRows(4);
  EXPECT_EQ(t.RowUpper(), 3);
  EXPECT_EQ(t(0, 1), Variant("a"));
  EXPECT_EQ(t(1, 2), Variant("b"));
  EXPECT_TRUE(t(3, 2).IsEmpty());
  t.ResizeRows(1);
  EXPECT_EQ(t(0, 1), Variant("a"));
  EXPECT_EQ(ErrorOf([&] { t(1, 2); }), 9);
}

TEST(TableTest, SwapRows) {
  Table t(3, 2);
  t(1, 1) = "a1";
  t(1, 2) = "a2";
  t(3, 1) = "c1";
  t.SwapRows(1, 3);
  EXPECT_EQ(t(1, 1), Variant("c1"));
  EXPECT_TRUE(t(1, 2).IsEmpty());
  EXPECT_EQ(t(3, 2), Variant("a2"));
  t.SwapRows(2, 2);
  EXPECT_EQ(ErrorOf([&] { t.SwapRows(1, 4); }), 9);
  EXPECT_EQ(t(1, 1), Variant("c1"));
}

TEST(VariantArrayTest, BoundsAndIndexing) {
  VariantArray a(206);
  a[206] = "last";
  EXPECT_EQ(a.At(206), Variant("last"));
  EXPECT_EQ(ErrorOf([&] { a[0]; }), 9);
  EXPECT_EQ(ErrorOf([&] { a[207]; }), 9);
  VariantArray zero(3, 0);
  EXPECT_EQ(zero.Upper(), 2);
  zero[0] = 1;
  EXPECT_EQ(zero[0], Variant(1));
  EXPECT_EQ(VariantArray().Count(), 0);
  EXPECT_EQ(ErrorOf([] { VariantArray(-1); }), 9);
}

TEST(VbErrorTest, GermanDescriptions) {
  EXPECT_EQ(VbError(6).description(), "Überlauf");
  EXPECT_EQ(VbError(75).description(), "Fehler beim Zugriff auf Pfad/Datei");
  EXPECT_EQ(VbError(429).description(), "Objekterstellung durch ActiveX-Komponente nicht möglich");
  EXPECT_EQ(VbError(1004).description(), "Anwendungs- oder objektdefinierter Fehler");
  EXPECT_EQ(VbError(0).description(), "Anwendungs- oder objektdefinierter Fehler");
  const VbError own(513, "Eigene Meldung");
  EXPECT_EQ(own.number(), 513);
  EXPECT_STREQ(own.what(), "Eigene Meldung");
}

}  // namespace
}  // namespace lastora
