// Each file format behind the spreadsheet port, and files that are not what they claim to be.
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "import/import_fixture.h"
#include "support/field_texts.h"
#include "support/workbook_fixtures.h"

namespace lastora::testing {
namespace {

class ReadersTest : public ImportTest {};

TEST_F(ReadersTest, OpenDocumentCellsWithRepeatsAndParagraphs) {
  const std::string content = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">
 <office:body><office:spreadsheet>
  <table:table table:name="Daten">
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Name</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="1.5"><text:p>1,5</text:p></table:table-cell>
    <table:table-cell office:value-type="date" office:date-value="2020-04-20"><text:p>x</text:p></table:table-cell>
   </table:table-row>
   <table:table-row table:number-rows-repeated="2">
    <table:table-cell table:number-columns-repeated="2" office:value-type="string"><text:p>a<text:s text:c="2"/>b</text:p><text:p>c</text:p><office:annotation><text:p>Notiz</text:p></office:annotation></table:table-cell>
    <table:table-cell table:number-columns-repeated="1020"/>
   </table:table-row>
   <table:table-row table:number-rows-repeated="1048570"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
  </table:table>
 </office:spreadsheet></office:body>
</office:document-content>)";
  const std::string path = dir_.File("liste.ods");
  WriteZip(path, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                  {"content.xml", content}});
  Table table;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "Daten", 1), "ok");
  EXPECT_EQ(GridOf(table), (Grid{{"Name", 1.5, Variant::Date(MakeDate(2020, 4, 20))},
                                 {"a  b\nc", "a  b\nc", {}},
                                 {"a  b\nc", "a  b\nc", {}}}));
}

TEST_F(ReadersTest, SpreadsheetPackageWrittenByOtherPrograms) {
  // What other writers do: no cell references, a prefixed namespace, rich texts, formulas
  // without a value, the 1904 date system and a home-made date format.
  const std::string workbook = R"(<?xml version="1.0"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
 <x:workbookPr date1904="1"/>
 <x:sheets><x:sheet name="Daten" sheetId="1" r:id="rId7"/></x:sheets>
</x:workbook>)";
  const std::string rels = R"(<?xml version="1.0"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
 <Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/data.xml"/>
 <Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="/xl/texts.xml"/>
 <Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
</Relationships>)";
  const std::string texts = R"(<?xml version="1.0"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
 <si><r><rPr><b/></rPr><t>Fett</t></r><r><t xml:space="preserve"> &amp; normal</t></r></si>
</sst>)";
  const std::string styles = R"(<?xml version="1.0"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
 <numFmts count="1"><numFmt numFmtId="170" formatCode="&quot;am&quot; dd/mm/yyyy"/></numFmts>
 <cellStyleXfs count="1"><xf numFmtId="170"/></cellStyleXfs>
 <cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="170"/><xf numFmtId="4"/></cellXfs>
</styleSheet>)";
  const std::string sheet = R"(<?xml version="1.0"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
 <row><c t="s"><v>0</v></c><c t="inlineStr"><is><t>inline</t></is></c><c t="str"><v>Formel</v></c></row>
 <row r="3"><c s="1"><v>0</v></c><c s="2"><v>1234.5</v></c><c><f>A1</f></c></row>
</sheetData></worksheet>)";
  using Parts = std::vector<std::pair<std::string, std::string>>;
  const Parts parts = {{"xl/workbook.xml", workbook},
                       {"xl/_rels/workbook.xml.rels", rels},
                       {"xl/texts.xml", texts},
                       {"xl/styles.xml", styles},
                       {"xl/sheets/data.xml", sheet}};
  const std::string path = dir_.File("fremd.xlsx");
  WriteZip(path, parts);
  Table table;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "Daten", 1), "ok");
  EXPECT_EQ(GridOf(table), (Grid{{"Fett & normal", "inline", "Formel"},
                                 {{}, {}, {}},
                                 {Variant::Date(MakeDate(1904, 1, 1)), 1234.5, {}}}));

  // A reference beyond the shared texts makes the file unreadable, and so does a part whose bytes
  // its declared encoding cannot hold; the parser's own reports of it stay off the terminal.
  Parts beyond = parts;
  beyond[4].second =
      R"(<worksheet><sheetData><row><c t="s"><v>1</v></c></row></sheetData></worksheet>)";
  Parts sheet_encoding = parts;
  std::string& bytes = sheet_encoding[4].second;
  bytes.insert(bytes.find("?>"), " encoding=\"EUC-JP\"");
  bytes.insert(bytes.find('>', bytes.find("?>") + 2) + 1,
               "\xff"
               "00:");  // in the root
  const std::pair<const char*, const Parts*> cases[] = {{"shared text", &beyond},
                                                        {"sheet encoding", &sheet_encoding}};
  for (const auto& [name, broken] : cases) {
    SCOPED_TRACE(name);
    WriteZip(path, *broken);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "Daten", 1), "Error");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  }
}

TEST_F(ReadersTest, CommaSeparatedFiles) {
  const std::string semicolons = dir_.File("a.csv");
  WriteBytes(semicolons,
             "\xEF\xBB\xBFName;Ort\r\n\"M\xC3\xBCller; Anna\";\"sagt \"\"hallo\"\"\"\r\n"
             "\"zwei\nZeilen\";\r\n;x\r\n");
  Table table;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(semicolons, table, "", 1), "ok");
  ASSERT_EQ(table.ColCount(), 2);
  EXPECT_EQ(ColumnTexts(table, 1), (Texts{"Name", "Müller; Anna", "zwei\nZeilen", ""}));
  EXPECT_EQ(ColumnTexts(table, 2), (Texts{"Ort", "sagt \"hallo\"", "", "x"}));
  EXPECT_TRUE(table(3, 2).IsEmpty());
}

TEST_F(ReadersTest, LegacyExcelWorkbookWithSeveralSheetsDatesAndAnOverclaimedSheet) {
  const std::string sheets = LASTORA_TESTDATA_DIR "/xls/blaetter.xls";
  for (const std::string name : {"Eins", "Zwei"}) {
    Table table;
    ASSERT_EQ(c_.GetColumnsFromExcelFile(sheets, table, name, 1), "ok") << name;
    ASSERT_EQ(table.RowCount(), 4) << name;
    ASSERT_EQ(table.ColCount(), 8) << name;
    EXPECT_EQ(table(1, 1), Variant(name));
    EXPECT_EQ(table(4, 8), Variant(7.0)) << name;
    EXPECT_TRUE(table(4, 1).IsEmpty()) << name;
  }
  Table empty;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(sheets, empty, "Leer", 1), "ok");
  EXPECT_EQ(GridOf(empty), Grid(empty.RowCount(), std::vector<Variant>(empty.ColCount())));

  Table dates;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(LASTORA_TESTDATA_DIR "/xls/daten.xls", dates, "", 1), "ok");
  // The second is formatted as a date only, so FreeXL leaves out the time of day.
  EXPECT_EQ(GridOf(dates),
            (Grid{{Variant::Date(MakeDate(2020, 4, 20)), Variant::Date(MakeDate(2026, 3, 16))},
                  {Variant::Date((12 * 3600 + 15 * 60 + 30) / 86400.0), -1.0},
                  {1e300, {}}}));

  // A damaged sheet that claims more rows than the format holds is refused, and the workbook's
  // sound sheets are still read.
  std::string bytes = ReadBytes(sheets);
  // The row count of the empty third sheet's dimensions record.
  constexpr size_t kRowCountOfLeer = 2349;
  ASSERT_EQ(bytes.substr(kRowCountOfLeer - 8, 4), std::string("\x00\x02\x0e\x00", 4));
  bytes.replace(kRowCountOfLeer, 4, "\xff\xff\xff\xff");
  const std::string path = dir_.File("behauptet.xls");
  WriteBytes(path, bytes);
  Table table(1, 1);
  table(1, 1) = Variant("vorher");
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "Leer", 1), "Error");
  EXPECT_EQ(table(1, 1), Variant("vorher"));
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "Zwei", 1), "ok");
  EXPECT_EQ(table(4, 8), Variant(7.0));
}

TEST_F(ReadersTest, BrokenFilesEndInErrorAndLeaveTheTableAlone) {
  WriteXlsx(dir_.File("good.xlsx"), {{"S", {{std::string("x"), 1.0}}}});
  const std::string good = ReadBytes(dir_.File("good.xlsx"));
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"truncated.xlsx", good.substr(0, good.size() / 2)},
      {"noise.xlsx", std::string(4096, '\x5A')},
      {"noise.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(3000, '\x07')},
      {"open_quote.csv", "a;\"b\r\nc;d\r\n"},
      {"blz.txt", "10000000 too short\r\n"},  // a bank-code text of the wrong shape
  };
  for (const auto& [name, bytes] : broken) {
    const std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    Table table(1, 1);
    table(1, 1) = Variant("vorher");
    EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 1), "Error") << name;
    EXPECT_EQ(table(1, 1), Variant("vorher")) << name;
  }
  EXPECT_NE(LogText().find("Zeile 1 hat nicht die Satzl"), std::string::npos) << LogText();
}

}  // namespace
}  // namespace lastora::testing
