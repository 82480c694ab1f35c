#include "lastora/csv.h"

#include <gtest/gtest.h>

#include <string>

#include "support/field_texts.h"

namespace lastora {
namespace {

using testing::Grid;
using testing::GridOf;

TEST(CsvTest, ParsesQuotedFieldsAndEveryLineEndAndWritesWhatItReads) {
  EXPECT_EQ(ParseCsv("a;\"b;\"\"c\"\"\";\r\n\"zwei\nZeilen\";x\ry\n"),
            (CsvRows{{"a", "b;\"c\"", ""}, {"zwei\nZeilen", "x"}, {"y"}}));

  // Written with a decimal comma, quoted where needed, and read back.
  Table table(1, 4);
  table(1, 1) = 12.5;
  table(1, 2) = "\"Zeile 1\",\"Zeile 2\"";
  table(1, 4) = Variant::Date(MakeDate(2026, 3, 16));
  const std::string csv = TableToCsv(table, {"Betrag", "Zweck", "", "Datum"});
  EXPECT_EQ(csv, "Betrag;Zweck;;Datum\r\n12,5;\"\"\"Zeile 1\"\",\"\"Zeile 2\"\"\";;16.03.2026\r\n");
  EXPECT_EQ(CsvToTable(ParseCsv(csv), 2)(1, 2), Variant("\"Zeile 1\",\"Zeile 2\""));
}

TEST(CsvTest, TakesCommaOrTabWhenTheFirstLineHasNoSemicolonAndQuotesOnlyAtAFieldStart) {
  EXPECT_EQ(ParseCsv("a,b\n1,2\n")[1], (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(ParseCsv("a\tb\tc\n")[0], (std::vector<std::string>{"a", "b", "c"}));
  // One semicolon outweighs any number of commas: a German list leaves the commas of names and
  // amounts unquoted, so counting them would split "Müller, Hans" and "30,00".
  EXPECT_EQ(ParseCsv("Müller, Hans;30,00;1,50\n")[0],
            (std::vector<std::string>{"Müller, Hans", "30,00", "1,50"}));
  // Separators inside quotes do not count, and a tab beats a comma.
  EXPECT_EQ(CsvSeparator("\"a;b\",c\n"), ',');
  EXPECT_EQ(CsvSeparator("a,b\tc\n"), '\t');
  EXPECT_EQ(CsvSeparator("Name\nx;y\n"), ';');

  // Quotes open only at a field's start and must close.
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

// The table grows as rows are read: a blank row widens it only when a filled row follows, and
// lines broken inside quotes do not miscount the rows ahead. Blank rows at the end are not data.
TEST(CsvTest, TableTakesItsShapeFromTheRowsUpToTheLastFilledOne) {
  EXPECT_EQ(GridOf(CsvToTable(ParseCsv("Kopf\n12,50;01.03.2026;  \nx\n;;\n\n"), 2)),
            (Grid{{"12,50", "01.03.2026", {}}, {"x", {}, {}}}));
  EXPECT_FALSE(CsvToTable(ParseCsv("Kopf\n;;\n"), 2).IsAllocated());
  EXPECT_EQ(GridOf(CsvTextToTable("a\n;;;\nb;c\n;;;;;;\n", 1)),
            (Grid{{"a", {}, {}, {}}, {{}, {}, {}, {}}, {"b", "c", {}, {}}}));
  const std::string breaks(1000, '\n');
  EXPECT_EQ(GridOf(CsvTextToTable("Kopf\n\"" + breaks + "\";x\ny;z\n", 2)),
            (Grid{{breaks, "x"}, {"y", "z"}}));
}

// The reader that lays text out as a table straight away must split and trim exactly as the
// two-step way does, at every place a row or field can end.
TEST(CsvTest, TextToTableMatchesParsedRows) {
  for (const std::string_view text :
       {"Kopf\n12,50;01.03.2026;  \nx\n;;\n\n", "Kopf\n;;\n", "", ";", "a;", "a;\"b\"\"c\"x;d\r\ne",
        "Kopf\r\n\"zwei\r\nZeilen\";\t\r;;;;\rz;\"\"\n \n", "a,b\n\"1,5\",2\n", "\n\n\nx\n"}) {
    for (const int32_t first_row : {1, 2, 4}) {
      EXPECT_EQ(GridOf(CsvTextToTable(text, first_row)),
                GridOf(CsvToTable(ParseCsv(text), first_row)))
          << text << " from " << first_row;
    }
  }
  EXPECT_THROW(CsvTextToTable("a\n\"b;c\n", 1), CsvQuoteError);
}

}  // namespace
}  // namespace lastora
