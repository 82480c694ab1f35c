// Looking up BICs by bank code in the caller's table and in the Bundesbank file.
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "import/import_fixture.h"
#include "support/field_texts.h"

namespace lastora::testing {
namespace {

// Columns of the result table the lookup writes to.
constexpr int kBic = 5, kName = 6, kCode = 23, kCountry = 24, kErrors = 26, kWarnings = 27;

struct Bank {
  Variant code;
  const char* name;
  const char* bic;
};

Table BankTable(const std::vector<Bank>& banks) {
  Table table(static_cast<int32_t>(banks.size()), 13);
  for (int32_t r = 1; r <= table.RowUpper(); ++r) {
    const Bank& bank = banks[static_cast<size_t>(r - 1)];
    table(r, 1) = bank.code;
    table(r, 6) = Variant(bank.name);
    if (bank.bic[0] != '\0') table(r, 8) = Variant(bank.bic);
  }
  return table;
}

// One result row per bank code, all German.
Table ResultTable(const std::vector<std::string>& codes) {
  Table table(static_cast<int32_t>(codes.size()), 27);
  for (int32_t r = 1; r <= table.RowUpper(); ++r) {
    table(r, kCode) = Variant(codes[static_cast<size_t>(r - 1)]);
    table(r, kCountry) = Variant("DE");
  }
  return table;
}

class BicLookupTest : public ImportTest {
 protected:
  // Search the table's bank codes (column 1) with the result's (column 23); the BIC goes to 5.
  std::string Lookup(const std::string& source, Table& values) {
    colours_ = Table(values.RowCount(), 27);
    return c_.Check_BIC(1, kCode, 8, kBic, source, settings_, values, colours_, intern_, new_);
  }

  Table intern_ = BankTable({{Variant("10010010"), "Postbank Ndl DB PFK", "PBNKDEFFXXX"},
                             {Variant("20050550"), "Haspa", "HASPDEHHXXX"},
                             {Variant("20050550"), "Haspa Filiale", "HASPDEHH001"},
                             {Variant("20050550"), "Haspa ohne BIC", ""},
                             {Variant("30000000"), "Ohne BIC", ""}});
  SEPAVARIABLEN settings_;
  Table colours_;
  Table new_;
};

// Filled, foreign and blank rows are left alone, also after a row of the same code.
TEST_F(BicLookupTest, FillsBicCodeAndNameAndRepeatsForTheSameCodeOnly) {
  Table values = ResultTable({"10010010", " 10010010 ", "30000000", "10010010", "10010010", "  "});
  values(4, kBic) = Variant("");
  values(5, kCountry) = Variant("AT611904300234573201");
  EXPECT_EQ(Lookup("intern", values), "ok");
  for (int r : {1, 2}) {
    EXPECT_EQ(CellsOf(values, r, {kBic, kCode, kName}),
              (Cells{Variant("PBNKDEFFXXX"), Variant("10010010"), Variant("Postbank Ndl DB PFK")}))
        << r;
  }
  EXPECT_EQ(CellsOf(values, 3, {kBic, kName}), (Cells{Variant(), Variant("Ohne BIC")}));
  EXPECT_EQ(CellsOf(values, 4, {kBic, kName}), (Cells{Variant(""), Variant()}));
  for (int r : {5, 6}) EXPECT_EQ(CellsOf(values, r, {kBic, kName}), (Cells{Variant(), Variant()}));
}

TEST_F(BicLookupTest, SeveralBicsAreMarkedOncePerRowAMissingCodeNotAtAll) {
  const std::string several = "Mehrere BICs zur BLZ möglich. Bitte manuell prüfen!";
  Table values = ResultTable({"20050550", "20050550", "20050550"});
  values(3, kWarnings) = Variant(several);
  values(2, kWarnings) = Variant("alt");
  EXPECT_EQ(Lookup("intern", values), "ok");
  EXPECT_EQ(values(1, kBic), Variant("HASPDEHHXXX"));
  // The repeated code is just as ambiguous: marked too, after what was there.
  EXPECT_EQ(ColumnTexts(values, kWarnings), (Texts{several, "alt; " + several, several}));
  for (int r : {1, 2}) EXPECT_EQ(colours_(r, kBic), Variant(int32_t{6})) << r;

  // A code missing from the caller's table marks nothing; codes stored there as numbers are found.
  Table missing = ResultTable({"99999999"});
  EXPECT_EQ(Lookup("intern", missing), "Not found");
  EXPECT_TRUE(missing(1, kErrors).IsEmpty() && colours_(1, kCode).IsEmpty());
  EXPECT_EQ(c_.lngZZ_FEHL, 0);

  intern_ = BankTable({{Variant(10010010.0), "Postbank Ndl DB PFK", "PBNKDEFFXXX"},
                       {Variant(int32_t{20050550}), "Haspa", "HASPDEHHXXX"}});
  values = ResultTable({"10010010", "20050550"});
  EXPECT_EQ(Lookup("intern", values), "ok");
  EXPECT_EQ(CellsOf(values, 1, {kBic, kCode}),
            (Cells{Variant("PBNKDEFFXXX"), Variant(10010010.0)}));
  EXPECT_EQ(values(2, kBic), Variant("HASPDEHHXXX"));

  intern_ = Table();
  EXPECT_EQ(Lookup("intern", values), "Keine Daten vorhanden");
}

TEST_F(BicLookupTest, SingleLookupByIban) {
  Table values = ResultTable({"10010010"});
  colours_ = Table(1, 27);
  std::string iban = "DE89100100100532013000", bic, code, bank;
  EXPECT_EQ(c_.Check_BIC(1, kCode, 8, kBic, "intern", settings_, values, colours_, intern_, new_,
                         iban, bic, code, bank),
            "ok");
  EXPECT_EQ(code + " " + bic + " " + bank, "10010010 PBNKDEFFXXX Postbank Ndl DB PFK");

  std::string short_iban = "DE891001";
  EXPECT_EQ(c_.Check_BIC(1, kCode, 8, kBic, "intern", settings_, values, colours_, intern_, new_,
                         short_iban, bic, code, bank),
            "Bankleitzahl ungültig");
  EXPECT_EQ(code, "1001");
}

using BundesbankLookupTest = BicLookupTest;

TEST_F(BundesbankLookupTest, FindsBicsInEveryFormOfTheFileAndNothingInAnUnreadableOne) {
  settings_.ProgBLZ_Inte.Value = "ja";
  for (const char* file :
       {"bundesbank-blz_20200420.txt", "blz_20200420.xlsx", "blz_20200420.xls"}) {
    c_.settings().ProgBLZ_File.Value = std::string(LASTORA_TESTDATA_DIR) + "/blz/" + file;
    Table values = ResultTable({"10010010", "12345678"});
    SCOPED_TRACE(file);
    EXPECT_EQ(Lookup("extern", values), "Not found");
    EXPECT_EQ(CellsOf(values, 1, {kBic, kName}),
              (Cells{Variant("PBNKDEFFXXX"), Variant("Postbank Ndl DB PFK")}));
    EXPECT_EQ(CellsOf(colours_, 2, {kCode, kBic}),
              (Cells{Variant(int32_t{3}), Variant(int32_t{3})}));
    EXPECT_EQ(values(2, kErrors), Variant("BIC konnte nicht ermittelt werden"));
  }
  EXPECT_EQ(c_.lngZZ_FEHL, 3);

  // An unreadable file finds nothing.
  c_.settings().ProgBLZ_File.Value = dir_.File("fehlt.txt");
  Table values = ResultTable({"10010010"});
  EXPECT_EQ(Lookup("extern", values), "Not found");
  EXPECT_EQ(values(1, kErrors), Variant("BIC konnte nicht ermittelt werden"));
  Table unused;
  EXPECT_FALSE(c_.Check_BLZ_File(unused));
}

}  // namespace
}  // namespace lastora::testing
