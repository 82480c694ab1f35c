#include "lastora/csv.h"

#include <gtest/gtest.h>

namespace lastora {
namespace {

TEST(CsvTest, ParsesQuotedFieldsAndEveryLineEnd) {
  const CsvRows rows = ParseCsv("a;\"b;\"\"c\"\"\";\r\n\"zwei\nZeilen\";x\ry\n");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b;\"c\"", ""}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"zwei\nZeilen", "x"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"y"}));
}

TEST(CsvTest, TakesCommaOrTabWhenTheFirstLineHasNoSemicolon) {
  EXPECT_EQ(ParseCsv("a,b\n1,2\n")[1], (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(ParseCsv("a\tb\tc\n")[0], (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(ParseCsv("a;b,c\n")[0], (std::vector<std::string>{"a", "b,c"}));
  // One semicolon outweighs any number of commas: a German list leaves the commas of names and
  // amounts unquoted, so counting them would split "Müller, Hans" and "30,00".
  EXPECT_EQ(ParseCsv("Name,Ort;Land,IBAN\n")[0],
            (std::vector<std::string>{"Name,Ort", "Land,IBAN"}));
  EXPECT_EQ(ParseCsv("Müller, Hans;30,00;1,50\n")[0],
            (std::vector<std::string>{"Müller, Hans", "30,00", "1,50"}));
  // Separators inside quotes do not count, and a tab beats a comma.
  EXPECT_EQ(CsvSeparator("\"a;b\",c\n"), ',');
  EXPECT_EQ(CsvSeparator("a,b\tc\n"), '\t');
  EXPECT_EQ(CsvSeparator("Name\nx;y\n"), ';');
}

TEST(CsvTest, QuotesOpenOnlyAtAFieldStartAndMustClose) {
  EXPECT_EQ(ParseCsv("12\" Zoll;x\n")[0], (std::vector<std::string>{"12\" Zoll", "x"}));
  EXPECT_EQ(ParseCsv("a;\n")[0], (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(ParseCsv("a;")[0], (std::vector<std::string>{"a", ""}));
  try {
    ParseCsv("a;b\r\n\"c\r\nd;e\r\n");
    FAIL() << "an open quote swallowed the rest of the file";
  } catch (const CsvQuoteError& e) {
    EXPECT_EQ(e.line(), 2);
    EXPECT_STREQ(e.what(), "Anführungszeichen ab Zeile 2 nicht geschlossen");
  }
}

TEST(CsvTest, TableKeepsTextsAndMakesBlanksEmpty) {
  const Table table = CsvToTable(ParseCsv("Kopf\n12,50;01.03.2026;  \nx\n;;\n\n"), 2);
  ASSERT_EQ(table.RowCount(), 2);  // the blank rows at the end are not data
  ASSERT_EQ(table.ColCount(), 3);
  EXPECT_EQ(table(1, 1), Variant("12,50"));
  EXPECT_EQ(table(1, 2), Variant("01.03.2026"));
  EXPECT_TRUE(table(1, 3).IsEmpty());
  EXPECT_TRUE(table(2, 2).IsEmpty());
  EXPECT_FALSE(CsvToTable(ParseCsv("Kopf\n;;\n"), 2).IsAllocated());
}

TEST(CsvTest, WritesDecimalCommaAndQuotesWhatNeedsIt) {
  Table table(1, 4);
  table(1, 1) = 12.5;
  table(1, 2) = "\"Zeile 1\",\"Zeile 2\"";
  table(1, 4) = Variant::Date(MakeDate(2026, 3, 16));
  const std::string csv = TableToCsv(table, {"Betrag", "Zweck", "", "Datum"});
  EXPECT_EQ(csv, "Betrag;Zweck;;Datum\r\n12,5;\"\"\"Zeile 1\"\",\"\"Zeile 2\"\"\";;16.03.2026\r\n");
  const Table back = CsvToTable(ParseCsv(csv), 2);
  EXPECT_EQ(back(1, 2), Variant("\"Zeile 1\",\"Zeile 2\""));
}

}  // namespace
}  // namespace lastora
