// Each file format behind the spreadsheet port: the Bundesbank's own files in their three forms,
// OpenDocument and comma-separated files, and files that are not what they claim to be.
#include <string>

#include "core/text.h"
#include "gtest/gtest.h"
#include "import/import_fixture.h"
#include "support/field_texts.h"
#include "support/workbook_fixtures.h"

namespace lastora::testing {
namespace {

std::string BankCodeFile(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/blz/" + name;
}

int32_t RowOf(const Table& table, const std::string& bank_code) {
  for (int32_t r = 1; r <= table.RowUpper(); ++r) {
    if (table(r, 1) == Variant(bank_code)) return r;
  }
  return 0;
}

class ReadersTest : public ImportTest {};

TEST_F(ReadersTest, BundesbankFileReadsAlikeInAllThreeForms) {
  Table from_text, from_xlsx, from_xls;
  ASSERT_EQ(
      c_.GetColumnsFromExcelFile(BankCodeFile("bundesbank-blz_20200420.txt"), from_text, "", 2),
      "ok");
  ASSERT_EQ(c_.GetColumnsFromExcelFile(BankCodeFile("blz_20200420.xlsx"), from_xlsx, "", 2), "ok");
  ASSERT_EQ(c_.GetColumnsFromExcelFile(BankCodeFile("blz_20200420.xls"), from_xls, "", 2), "ok");
  ASSERT_EQ(from_text.RowCount(), 16028);
  ASSERT_EQ(from_text.ColCount(), 13);
  for (const Table* other : {&from_xlsx, &from_xls}) {
    ASSERT_EQ(other->RowCount(), from_text.RowCount());
    ASSERT_EQ(other->ColCount(), from_text.ColCount());
    int mismatches = 0;
    for (int32_t r = 1; r <= from_text.RowUpper(); ++r) {
      for (int32_t c = 1; c <= 13; ++c) {
        if (!(from_text(r, c) == (*other)(r, c)) && ++mismatches <= 5) {
          ADD_FAILURE() << "row " << r << " column " << c << ": " << CStr(from_text(r, c)) << " vs "
                        << CStr((*other)(r, c));
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
  const int32_t postbank = RowOf(from_text, "10010010");
  ASSERT_GT(postbank, 0);
  EXPECT_EQ(from_text(postbank, 6), Variant("Postbank Ndl DB PFK"));
  EXPECT_EQ(from_text(postbank, 8), Variant("PBNKDEFFXXX"));
}

TEST_F(ReadersTest, BundesbankTextHasTheSpreadsheetHeaderAndUmlauts) {
  Table table;
  ASSERT_EQ(
      c_.GetColumnsFromExcelFile(BankCodeFile("bundesbank-blz_20200420-excerpt.txt"), table, "", 1),
      "ok");
  EXPECT_EQ(table(1, 9), Variant("Prüfzifferberechnungsmethode"));
  EXPECT_EQ(table(2, 1), Variant("10000000"));
  EXPECT_EQ(table(2, 3), Variant("Bundesbank"));
  // The BIC column of a branch without one is empty, not a blank text.
  bool found_empty_bic = false;
  for (int32_t r = 2; r <= table.RowUpper(); ++r) found_empty_bic |= table(r, 8).IsEmpty();
  EXPECT_TRUE(found_empty_bic);
}

TEST_F(ReadersTest, BankCodeTextOfTheWrongShapeIsRefused) {
  const std::string path = dir_.File("blz.txt");
  WriteBytes(path, "10000000 too short\r\n");
  Table table;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 2), "Error");
  EXPECT_NE(LogText().find("Zeile 1 hat nicht die Satzl"), std::string::npos) << LogText();
}

TEST_F(ReadersTest, OpenDocumentCellsAndCreationDate) {
  const std::string content = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">
 <office:body><office:spreadsheet>
  <table:table table:name="Leer"/>
  <table:table table:name="Daten">
   <table:table-row>
    <table:table-cell office:value-type="string"><text:p>Name</text:p></table:table-cell>
    <table:table-cell office:value-type="float" office:value="1.5"><text:p>1,5</text:p></table:table-cell>
    <table:table-cell office:value-type="date" office:date-value="2020-04-20"><text:p>x</text:p></table:table-cell>
    <table:table-cell office:value-type="boolean" office:boolean-value="true"><text:p>WAHR</text:p></table:table-cell>
   </table:table-row>
   <table:table-row table:number-rows-repeated="2">
    <table:table-cell table:number-columns-repeated="2" office:value-type="string"><text:p>a<text:s text:c="2"/>b</text:p><text:p>c</text:p><office:annotation><text:p>Notiz</text:p></office:annotation></table:table-cell>
    <table:table-cell table:number-columns-repeated="1020"/>
   </table:table-row>
   <table:table-row table:number-rows-repeated="1048570"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
  </table:table>
 </office:spreadsheet></office:body>
</office:document-content>)";
  const std::string meta = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-meta xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0">
 <office:meta><meta:creation-date>2020-01-02T03:04:05.123456789</meta:creation-date></office:meta>
</office:document-meta>)";
  const std::string path = dir_.File("liste.ods");
  WriteOds(path, content, meta);
  Table table;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "Daten", 1, 0, "", Variant(int16_t{1})), "ok");
  ASSERT_EQ(table.RowCount(), 3);
  ASSERT_EQ(table.ColCount(), 4);
  EXPECT_EQ(table(1, 1), Variant("Name"));
  EXPECT_EQ(table(1, 2), Variant(1.5));
  EXPECT_EQ(table(1, 3), Variant::Date(MakeDate(2020, 4, 20)));
  EXPECT_EQ(table(1, 4), Variant(true));
  EXPECT_EQ(table(3, 2), Variant("a  b\nc"));
  EXPECT_TRUE(table(3, 3).IsEmpty());
  ASSERT_EQ(platform_.dialogs().shown.size(), 1u);
  EXPECT_NE(platform_.dialogs().shown[0].prompt.find("02.01.2020 03:04:05"), std::string::npos);

  // An empty sheet reads as its single cell A1.
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "Leer", 1), "ok");
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_TRUE(table(1, 1).IsEmpty());
}

TEST_F(ReadersTest, SpreadsheetPackageWrittenByOtherPrograms) {
  // What other writers do: no cell references, a prefixed namespace, rich and phonetic texts,
  // formulas without a value, the 1904 date system and a home-made date format.
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
 <si><t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh></si>
</sst>)";
  const std::string styles = R"(<?xml version="1.0"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
 <numFmts count="1"><numFmt numFmtId="170" formatCode="&quot;am&quot; dd/mm/yyyy"/></numFmts>
 <cellStyleXfs count="1"><xf numFmtId="170"/></cellStyleXfs>
 <cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="170"/><xf numFmtId="4"/></cellXfs>
</styleSheet>)";
  const std::string sheet = R"(<?xml version="1.0"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
 <row><c t="s"><v>0</v></c><c t="s"><v>1</v></c><c t="inlineStr"><is><t>inline</t></is></c></row>
 <row><c s="1"><v>0</v></c><c s="2"><v>1234.5</v></c><c><f>A1</f></c><c t="s" s="1"/></row>
 <row r="5"><c r="D5" t="b"><v>0</v></c><c t="str"><v>Formel</v></c><c t="e"><v>#NV</v></c></row>
 <row r="6"><c r="A6" t="s"><v>0</v></c><c r="A6"><v>7</v></c><c r="B6"><v>8</v></c><c r="B6" t="s"><v>1</v></c></row>
</sheetData></worksheet>)";
  const std::string path = dir_.File("fremd.xlsx");
  WriteZip(path, {{"xl/workbook.xml", workbook},
                  {"xl/_rels/workbook.xml.rels", rels},
                  {"xl/texts.xml", texts},
                  {"xl/styles.xml", styles},
                  {"xl/sheets/data.xml", sheet}});
  Table table;
  ASSERT_EQ(c_.GetColumnsFromExcelFile(path, table, "Daten", 1), "ok");
  ASSERT_EQ(table.RowCount(), 6);
  ASSERT_EQ(table.ColCount(), 6);
  EXPECT_EQ(table(1, 1), Variant("Fett & normal"));
  EXPECT_EQ(table(1, 2), Variant("漢字"));
  EXPECT_EQ(table(1, 3), Variant("inline"));
  EXPECT_EQ(table(2, 1), Variant::Date(MakeDate(1904, 1, 1)));
  EXPECT_EQ(table(2, 2), Variant(1234.5));
  EXPECT_TRUE(table(2, 3).IsEmpty());
  EXPECT_TRUE(table(2, 4).IsEmpty());
  EXPECT_TRUE(table(3, 1).IsEmpty());
  EXPECT_EQ(table(5, 4), Variant(false));
  EXPECT_EQ(table(5, 5), Variant("Formel"));
  EXPECT_EQ(table(5, 6), Variant("#NV"));
  // A cell written twice keeps its later value, whether that is a shared text or not.
  EXPECT_EQ(table(6, 1), Variant(7.0));
  EXPECT_EQ(table(6, 2), Variant("漢字"));

  // A reference beyond the shared texts, or a broken text table, makes the file unreadable.
  const std::string beyond = dir_.File("beyond.xlsx");
  WriteZip(beyond, {{"xl/workbook.xml", workbook},
                    {"xl/_rels/workbook.xml.rels", rels},
                    {"xl/texts.xml", texts},
                    {"xl/sheets/data.xml", R"(<worksheet><sheetData><row><c t="s"><v>2</v></c>
</row></sheetData></worksheet>)"}});
  EXPECT_EQ(c_.GetColumnsFromExcelFile(beyond, table, "Daten", 1), "Error");
  const std::string broken_texts = dir_.File("broken-texts.xlsx");
  WriteZip(broken_texts, {{"xl/workbook.xml", workbook},
                          {"xl/_rels/workbook.xml.rels", rels},
                          {"xl/texts.xml", texts.substr(0, texts.size() / 2)},
                          {"xl/sheets/data.xml", sheet}});
  EXPECT_EQ(c_.GetColumnsFromExcelFile(broken_texts, table, "Daten", 1), "Error");
  EXPECT_EQ(table(6, 1), Variant(7.0)) << "the table of the last good read stays";
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

  // Commas, Windows-1252, and leading zeros that a number would lose.
  const std::string commas = dir_.File("b.csv");
  WriteBytes(commas,
             "Stra\xDF"
             "e,PLZ\n\xC4"
             "u\xDF"
             "ere,01067\n");
  ASSERT_EQ(c_.GetColumnsFromExcelFile(commas, table, "", 1), "ok");
  EXPECT_EQ(CellTexts(table, 1, {1, 2}), (Texts{"Straße", "PLZ"}));
  EXPECT_EQ(CellTexts(table, 2, {1, 2}), (Texts{"Äußere", "01067"}));

  const std::string open_quote = dir_.File("c.csv");
  WriteBytes(open_quote, "a;\"b\r\nc;d\r\n");
  EXPECT_EQ(c_.GetColumnsFromExcelFile(open_quote, table, "", 1), "Error");
}

TEST_F(ReadersTest, BrokenFilesEndInErrorAndLeaveTheTableAlone) {
  std::string good;
  {
    const std::string path = dir_.File("good.xlsx");
    WriteXlsx(path, {{"S", {{std::string("x"), 1.0}}}});
    good = ReadBytes(path);
  }
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"truncated.xlsx", good.substr(0, good.size() / 2)},
      {"noise.xlsx", std::string(4096, '\x5A')},
      {"zipped-noise.xlsx", good.substr(0, 4) + std::string(2000, '\x01')},
      {"noise.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(3000, '\x07')},
      {"picture.png", "\x89PNG\r\n\x1A\n"},
  };
  for (const auto& [name, bytes] : broken) {
    const std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    Table table(1, 1);
    table(1, 1) = Variant("vorher");
    EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 1), "Error") << name;
    EXPECT_EQ(table(1, 1), Variant("vorher")) << name;
  }
}

TEST_F(ReadersTest, MalformedSheetXmlIsRefused) {
  const std::string path = dir_.File("lies.ods");
  WriteOds(path, "<not-closed>", "");
  Table table;
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 1), "Error");
}

}  // namespace
}  // namespace lastora::testing
