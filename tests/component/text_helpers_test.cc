#include <gtest/gtest.h>

#include <string>

#include "component/helpers.h"
#include "lastora/class1.h"
#include "support/vb_error_number.h"

namespace lastora {
namespace {

using testing::ErrorOf;

std::vector<std::string> Parts(const VariantArray& array) {
  EXPECT_EQ(array.Lower(), 1);
  std::vector<std::string> parts;
  for (int32_t i = array.Lower(); i <= array.Upper(); ++i) parts.emplace_back(array.At(i).AsString());
  return parts;
}

TEST(Padding, CountsCharactersNotBytes) {
  EXPECT_EQ(PadRight(Variant("Müller"), Variant(8), Variant(".")), "Müller..");
  EXPECT_EQ(PadRight(Variant("Müller"), Variant(3), Variant(" ")), "Mül");
  EXPECT_EQ(PadLeft(Variant("Müller"), Variant(8), Variant("ä")), "ääMüller");
  EXPECT_EQ(PadLeft(Variant("Müller"), Variant(4), Variant("")), "ller");
  EXPECT_EQ(PadLeft(Variant("Bär"), Variant(5), Variant("")), "  Bär");
}

TEST(Padding, FillIsTheFirstCharacterOfItsText) {
  EXPECT_EQ(PadLeft(Variant(42), Variant(6), Variant("0")), "000042");
  EXPECT_EQ(PadLeft(Variant(42), Variant(6), Variant(0)), "000042");
  EXPECT_EQ(PadRight(Variant("ab"), Variant(5), Variant("xyz")), "abxxx");
  EXPECT_EQ(PadRight(Variant("ab"), Variant(4), Variant::Missing()), "ab  ");
  EXPECT_EQ(PadRight(Variant("ab"), Variant(0), Variant("x")), "");
  EXPECT_EQ(ErrorOf([] { PadLeft(Variant("ab"), Variant(-1), Variant("x")); }), 5);
}

TEST(SplitToArray, PartsStartAtIndexOne) {
  EXPECT_EQ(Parts(SplitToArray(";", ";")), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(Parts(SplitToArray("", ";")), (std::vector<std::string>{""}));
  EXPECT_EQ(Parts(SplitToArray("a;b;;c", ";")), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(Parts(SplitToArray("1<>2<>", "<>")), (std::vector<std::string>{"1", "2", ""}));
  EXPECT_EQ(Parts(SplitToArray("a;b", "")), (std::vector<std::string>{"a;b"}));
}

TEST(CountStringInText, CountsNonOverlappingFromTheLeft) {
  Class1 component;
  EXPECT_EQ(component.CountStringInText("aaaa", "aa"), 2);
  EXPECT_EQ(component.CountStringInText("aaa", "aa"), 1);
  EXPECT_EQ(
      component.CountStringInText("<DrctDbtTxInf>x</DrctDbtTxInf><DrctDbtTxInf>", "<DrctDbtTxInf>"),
      2);
  EXPECT_EQ(component.CountStringInText("abc", "x"), 0);
  EXPECT_EQ(component.CountStringInText("abc", "C"), 0);
  EXPECT_EQ(component.CountStringInText("", "a"), 0);
  EXPECT_EQ(component.CountStringInText("abc", ""), 0);
}

TEST(TextBetween, FirstStartMarkToTheNextEndMark) {
  EXPECT_EQ(TextBetween("<Nm>Verein</Nm><Nm>B</Nm>", "<Nm>", "</Nm>"), "Verein");
  EXPECT_EQ(TextBetween("<Nm></Nm>", "<Nm>", "</Nm>"), "");
  EXPECT_EQ(TextBetween("<Nm>Verein", "<Nm>", "</Nm>"), "");
  EXPECT_EQ(TextBetween("Verein</Nm>", "<Nm>", "</Nm>"), "");
  // An end mark before the start mark does not count.
  EXPECT_EQ(TextBetween("</Nm><Nm>Verein", "<Nm>", "</Nm>"), "");
  EXPECT_EQ(TextBetween("<a>x<a>y</a>", "<a>", "</a>"), "x<a>y");
}

TEST(ColumnLetters, SpreadsheetColumnNames) {
  const std::pair<int16_t, const char*> cases[] = {{1, "A"},    {26, "Z"},   {27, "AA"},
                                                   {28, "AB"},  {52, "AZ"},  {53, "BA"},
                                                   {256, "IV"}, {702, "ZZ"}, {703, "AAA"}};
  for (auto [number, letters] : cases) {
    int16_t column = number;
    EXPECT_EQ(ColumnLetters(column), Variant(letters)) << number;
    EXPECT_EQ(column, number);
  }
  int16_t zero = 0;
  EXPECT_EQ(ErrorOf([&] { ColumnLetters(zero); }), 5);
}

TEST(FindHeaderColumn, FirstExactMatchInRowOne) {
  Table header(2, 5);
  header(1, 1) = Variant("Name");
  header(1, 2) = Variant::Null();
  header(1, 3) = Variant("IBAN");
  header(1, 4) = Variant(static_cast<int32_t>(2013));
  header(1, 5) = Variant("IBAN");
  header(2, 1) = Variant("BIC");
  EXPECT_EQ(FindHeaderColumn(header, "IBAN"), 3);
  EXPECT_EQ(FindHeaderColumn(header, "2013"), 4);
  EXPECT_EQ(FindHeaderColumn(header, "iban"), 0);
  EXPECT_EQ(FindHeaderColumn(header, "BIC"), 0);
  EXPECT_EQ(FindHeaderColumn(Table(), "Name"), 0);
}

TEST(TruncateDecimals, RoundsDownTowardsMinusInfinity) {
  const struct {
    double value, decimals, expected;
  } cases[] = {{0.29, 2, 0.28}, {-1.234, 2, -1.24}, {2.678, 2, 2.67}, {12.5, 0, 12}, {7, 2, 7}};
  for (auto c : cases) {
    double value = c.value;
    double decimals = c.decimals;
    EXPECT_DOUBLE_EQ(TruncateDecimals(value, decimals), c.expected) << c.value;
  }
}

TEST(NullToZero, OnlyNullBecomesIntegerZero) {
  const Variant zero = NullToZero(Variant::Null());
  EXPECT_EQ(zero.type(), VarType::kInteger);
  EXPECT_EQ(zero.AsInteger(), 0);
  EXPECT_TRUE(NullToZero(Variant()).IsEmpty());
  EXPECT_EQ(NullToZero(Variant("x")), Variant("x"));
}

TEST(CharacterCleaning, UmlautsAreSpelledOut) {
  EXPECT_EQ(ReplaceUmlauts("Übergröße Äpfel Öl süß"), "Uebergroesse Aepfel Oel suess");
  EXPECT_EQ(ReplaceUmlauts("Ää Öö Üü ß"), "Aeae Oeoe Ueue ss");
  EXPECT_EQ(ReplaceUmlauts("Café René"), "Café René");
  EXPECT_EQ(RemoveBlanks(" DE89 3704 0044 "), "DE8937040044");
}

TEST(CharacterCleaning, EveryCharacterOutsideAsciiBecomesOneQuestionMark) {
  EXPECT_EQ(ReplaceNonAscii("Müller & Söhne €5"), "M?ller & S?hne ?5");
  EXPECT_EQ(ReplaceNonAscii("日本"), "??");
  EXPECT_EQ(ReplaceNonAscii("tab\there\r\n~"), "tab\there\r\n~");
  EXPECT_EQ(ReplaceNonAscii(""), "");
}

TEST(CharacterCleaning, TextsOver32767CharactersFail) {
  EXPECT_EQ(ReplaceNonAscii(std::string(32767, 'a')).size(), 32767u);
  std::string umlauts;
  for (int i = 0; i < 32767; ++i) umlauts += "ä";
  EXPECT_EQ(ReplaceNonAscii(umlauts), std::string(32767, '?'));
  EXPECT_EQ(ErrorOf([] { ReplaceNonAscii(std::string(32768, 'a')); }), 6);
}

}  // namespace
}  // namespace lastora
