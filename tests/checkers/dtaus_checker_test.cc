#include <gtest/gtest.h>

#include <string>

#include "component/catalogue.h"
#include "lastora/class1.h"
#include "support/payment_samples.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

using testing::DtausFileText;
using testing::SampleDtausFile;
using testing::SampleDtausPayment;

std::string DtausSample(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/dtaus/" + name;
}

SampleDtausFile ThreeDebits() {
  SampleDtausFile f;
  SampleDtausPayment p;
  p.bank_code = "37040044";
  p.account = "532013000";
  p.cents = 1250;
  p.name = "ERIKA MUSTERMANN";
  p.lines = {"BEITRAG 2013", "PAYMENT-ID 4711"};
  f.payments.push_back(p);
  p.bank_code = "51230500";
  p.account = "18102010";
  p.cents = 500;
  p.name = "MAX MUSTER";
  p.lines = {"BEITRAG 2013", "MANDATSREFERENZ M-2", "DRITTE ZEILE"};
  f.payments.push_back(p);
  p.bank_code = "50110800";
  p.account = "6231602308";
  p.cents = 123405;
  p.name = "VEREIN";
  p.lines = {"SPENDE"};
  f.payments.push_back(p);
  return f;
}

class DtausCheckerTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    const std::string path = dir_.File("DTAUS_2013-09-10_FRST.txt");
    testing::WriteBytes(path, bytes);
    return path;
  }
  std::string Check(const std::string& file, bool external = false) {
    const std::string result =
        c1_.ext_DTAUS_Checker(vars_, values_, colours_, unused_, unused_, file, external);
    VariablenToRecord(vars_, out_);
    return result;
  }
  std::string CheckText(const std::string& bytes, bool external = false) {
    return Check(Write(bytes), external);
  }
  std::string Cell(int row, int column) const { return CStr(values_(row, column)); }

  testing::ScopedTestPlatform platform_{MakeDate(2013, 9, 3)};
  testing::ScopedTempDir dir_;
  Class1 c1_;
  VariantArray vars_{206};
  Table values_;
  Table colours_;
  Table unused_;
  SEPAVARIABLEN out_;
};

TEST_F(DtausCheckerTest, CustomerDebitFileIsLaidOutRowByRow) {
  ASSERT_EQ(CheckText(DtausFileText(ThreeDebits())), "ok");

  EXPECT_EQ(out_.SepaAART.Value, "Lastschrift Kundendiskette");
  EXPECT_EQ(out_.KreditorNAME.Value, "TSV BEISPIEL");
  EXPECT_EQ(out_.KreditorBIC_.Value, "16050000");
  EXPECT_EQ(out_.KreditorIBAN.Value, "16050000");
  EXPECT_EQ(out_.Import__MDAT.Value, "03.09.2013");
  EXPECT_EQ(out_.SepaADAT.Value, "10.09.2013");
  EXPECT_EQ(out_.SepaFMID.Value, "0000000001");
  EXPECT_EQ(out_.ProgChecPAOK.Value, "ok");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");
  EXPECT_EQ(out_.ProgChecKANZ.Value, "3");
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1251,55");
  EXPECT_EQ(out_.ProgChecKSUM.Value, "1251,55");
  EXPECT_EQ(out_.ProgChecISUM.Value, std::to_string(532013000LL + 18102010 + 6231602308LL));
  EXPECT_EQ(out_.ProgChecBSUM.Value, std::to_string(37040044LL + 51230500 + 50110800));
  EXPECT_EQ(c1_.lngAnz, 3);

  ASSERT_EQ(values_.RowCount(), 3);
  ASSERT_EQ(values_.ColCount(), 29);
  EXPECT_EQ(values_(2, 2), Variant(int32_t{2}));
  EXPECT_EQ(Cell(1, 3), "ERIKA MUSTERMANN");
  EXPECT_EQ(Cell(1, 4), "DE89370400440532013000");
  EXPECT_EQ(Cell(2, 4), "DE50512305000018102010");
  EXPECT_EQ(Cell(3, 4), "DE26501108006231602308");
  EXPECT_EQ(Cell(1, 8), "12,50");
  EXPECT_EQ(Cell(3, 8), "1234,05");
  EXPECT_EQ(Cell(1, 9), "\"BEITRAG 2013\",\"PAYMENT-ID 4711\"");
  EXPECT_EQ(Cell(2, 9), "\"BEITRAG 2013\",\"MANDATSREFERENZ M-2\",\"DRITTE ZEILE\"");
  EXPECT_EQ(Cell(3, 9), "\"SPENDE\"");
  EXPECT_EQ(Cell(1, 22), "0532013000");
  EXPECT_EQ(Cell(1, 23), "37040044");
  EXPECT_EQ(Cell(1, 24), "DE");
  EXPECT_TRUE(colours_(1, 4).IsEmpty());
}

TEST_F(DtausCheckerTest, SecondRemittanceLineGivesBackPaymentIdOrMandateUnlessExternal) {
  const std::string file = Write(DtausFileText(ThreeDebits()));
  vars_[177] = "Payment-ID";  // SepaFuncVER2
  ASSERT_EQ(Check(file), "ok");
  EXPECT_EQ(Cell(1, 7), "4711");
  EXPECT_TRUE(values_(1, 10).IsEmpty());
  EXPECT_EQ(Cell(3, 7), "");  // no second line

  vars_[177] = "Mandat-ID";
  ASSERT_EQ(Check(file), "ok");
  EXPECT_EQ(Cell(2, 10), "M-2");
  EXPECT_TRUE(values_(2, 7).IsEmpty());

  ASSERT_EQ(Check(file, /*external=*/true), "ok");
  EXPECT_TRUE(values_(2, 10).IsEmpty());
  EXPECT_TRUE(values_(1, 7).IsEmpty());
}

TEST_F(DtausCheckerTest, TrailerFindingsNameBothValuesAndTheLastOneWins) {
  SampleDtausFile f = ThreeDebits();
  f.count_offset = 1;
  EXPECT_EQ(CheckText(DtausFileText(f)), "DTAUS-Checker: Datensatz-Anzahl falsch (4 <> 3)");
  EXPECT_EQ(out_.ProgChecPAOK.Value, "DTAUS-Checker: Datensatz-Anzahl falsch (4 <> 3)");
  EXPECT_EQ(out_.ProgChecKANZ.Value, "4");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");

  f = ThreeDebits();
  f.cents_offset = -5;
  EXPECT_EQ(CheckText(DtausFileText(f)), "DTAUS-Checker: Betragsumme falsch (1251,5 <> 1251,55)");

  f = ThreeDebits();
  f.account_sum_offset = 1;
  const std::string accounts = std::to_string(532013000LL + 18102010 + 6231602308LL);
  const std::string accounts_plus_one = std::to_string(532013000LL + 18102010 + 6231602308LL + 1);
  EXPECT_EQ(CheckText(DtausFileText(f)),
            "DTAUS-Checker: Kontosumme falsch (" + accounts_plus_one + " <> " + accounts + ")");
  ASSERT_EQ(values_.RowCount(), 3);  // the table is complete all the same
  EXPECT_EQ(Cell(3, 3), "VEREIN");

  f = ThreeDebits();
  f.count_offset = 1;
  f.bank_code_sum_offset = -1;
  EXPECT_EQ(CheckText(DtausFileText(f)),
            "DTAUS-Checker: BLZ-Summe falsch (138381343 <> 138381344)");
}

TEST_F(DtausCheckerTest, RecordWithFifteenExtensionsIsFollowedByTheNextRecord) {
  SampleDtausFile f = ThreeDebits();
  f.payments[0].lines.clear();
  for (int k = 0; k <= 15; ++k) f.payments[0].lines.push_back("ZEILE " + std::to_string(k));
  const std::string text = DtausFileText(f);
  ASSERT_EQ(text.substr(128, 4), "0622");
  ASSERT_EQ(text.substr(128 + 768, 4), "0245");
  ASSERT_EQ(CheckText(text), "ok");
  std::string expected = "\"ZEILE 0\"";
  for (int k = 1; k <= 15; ++k) expected += ",\"ZEILE " + std::to_string(k) + "\"";
  EXPECT_EQ(Cell(1, 9), expected);
  EXPECT_EQ(Cell(2, 3), "MAX MUSTER");
}

TEST_F(DtausCheckerTest, BlankExtensionsCountOnlyBeforeAWrittenLine) {
  SampleDtausFile f = ThreeDebits();
  f.payments[0].lines = {"A", "", "C"};
  f.payments[1].lines = {"A", "B", "", "", "", "", ""};
  ASSERT_EQ(CheckText(DtausFileText(f)), "ok");
  EXPECT_EQ(Cell(1, 9), "\"A\",\"\",\"C\"");
  EXPECT_EQ(Cell(2, 9), "\"A\",\"B\"");
}

TEST_F(DtausCheckerTest, ForeignCurrencyFilesReadTheOldAmountFields) {
  SampleDtausFile f = ThreeDebits();
  f.currency = " ";
  std::string text = DtausFileText(f);
  // Move every euro amount into the former currency's field, and the trailer sum likewise.
  for (size_t offset = 128; text.substr(offset, 4) != "0128";) {
    const std::string euro = text.substr(offset + 79, 11);
    text.replace(offset + 50, 11, euro);
    text.replace(offset + 79, 11, std::string(11, '0'));
    offset += text.substr(offset, 4) <= "0245" ? 256 : 384;
  }
  const size_t trailer = text.size() - 128;
  text.replace(trailer + 17, 13, text.substr(trailer + 64, 13));
  text.replace(trailer + 64, 13, std::string(13, '0'));
  ASSERT_EQ(CheckText(text), "ok");
  EXPECT_EQ(Cell(3, 8), "1234,05");
  EXPECT_EQ(out_.ProgChecKSUM.Value, "1251,55");
}

TEST_F(DtausCheckerTest, FilesThatAreNoTransferFilesStopEarly) {
  values_ = Table(1, 1);
  values_(1, 1) = "caller's";
  EXPECT_EQ(CheckText("0127A" + std::string(200, ' ')), "DTAUS-Checker: Falsches Dateiformat");
  EXPECT_EQ(out_.ProgChecPAOK.Value, "DTAUS-Checker: Falsches Dateiformat");
  EXPECT_EQ(CheckText(""), "DTAUS-Checker: Falsches Dateiformat");
  ASSERT_EQ(values_.RowCount(), 1);
  EXPECT_EQ(Cell(1, 1), "caller's");

  SampleDtausFile none = ThreeDebits();
  none.payments.clear();
  EXPECT_EQ(CheckText(DtausFileText(none)), "Fehler");
  EXPECT_EQ(out_.ProgChecPAOK.Value, "Fehler");

  EXPECT_EQ(Check(dir_.File("missing.txt")), "Fehler: Datei nicht gefunden (53)");
}

TEST_F(DtausCheckerTest, BrokenRecordChainEndsWithMessage142) {
  const std::string whole = DtausFileText(ThreeDebits());
  const std::string message = "DTAUS-Checker: Formatfehler - Beginn Datensatz C nicht gefunden";

  // Cut inside the third payment: the two before it are shown.
  EXPECT_EQ(CheckText(whole.substr(0, 128 + 256 + 384 + 100)), message);
  ASSERT_EQ(values_.RowCount(), 2);
  EXPECT_EQ(Cell(2, 3), "MAX MUSTER");
  EXPECT_EQ(out_.ProgChecPAOK.Value, message);

  // Cut inside the trailer, and a record length that is not one of the sixteen.
  EXPECT_EQ(CheckText(whole.substr(0, whole.size() - 1)), message);
  std::string unknown = whole;
  unknown.replace(128 + 256, 4, "0300");
  EXPECT_EQ(CheckText(unknown), message);
  EXPECT_EQ(CheckText(whole.substr(0, 128)), message);

  // The readable file with line ends is no transfer file.
  std::string readable = whole.substr(0, 128) + "\r\n" + whole.substr(128);
  EXPECT_EQ(CheckText(readable), message);
}

TEST_F(DtausCheckerTest, TrailerFieldThatIsNoNumberIsAFailure) {
  std::string text = DtausFileText(ThreeDebits());
  text.replace(text.size() - 128 + 10, 7, "000000X");
  EXPECT_EQ(CheckText(text), "Fehler: Typen unverträglich (13)");
}

TEST_F(DtausCheckerTest, BinaryAndOddInputNeverEscapesTheFrame) {
  const std::string whole = DtausFileText(ThreeDebits());
  std::string zeros = whole;
  for (size_t i = 128; i < zeros.size(); ++i) zeros[i] = '0';
  std::string binary = "0128";
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 37) & 0xff);
  for (const std::string& text : {zeros, binary, std::string("0128"), whole + whole}) {
    const std::string result = CheckText(text);
    EXPECT_FALSE(result.empty());
    EXPECT_NE(result, "Exit");
  }
}

// Files written by other programs, with the trailer figures they state.
TEST_F(DtausCheckerTest, ReadsFilesOfOtherPrograms) {
  struct Expected {
    const char* file;
    const char* kind;
    int rows;
    const char* sum;
    const char* account_sum;
    const char* bank_code_sum;
  };
  const Expected cases[] = {
      {"testParserBasicCredit.dta", "Gutschrift Kundendiskette", 2, "1556,46", "27158000",
       "66668888"},
      {"testParserBasicCreditBankFile.dta", "Gutschrift Bankdiskette", 2, "1556,46", "27158000",
       "66668888"},
      {"testParserBasicDebit.dta", "Lastschrift Kundendiskette", 2, "1556,46", "27158000",
       "66668888"},
      {"testParserBasicDebitBankFile.dta", "Lastschrift Bankdiskette", 2, "1556,46", "27158000",
       "66668888"},
      {"testParserTimestamp.dta", "Gutschrift Kundendiskette", 2, "1556,46", "27158000",
       "66668888"},
      {"testContent.dta", "Gutschrift Kundendiskette", 2, "1556,46", "27158000", "66668888"},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.file);
    ASSERT_EQ(Check(DtausSample(e.file), /*external=*/true), "ok");
    EXPECT_EQ(out_.SepaAART.Value, e.kind);
    EXPECT_EQ(out_.KreditorNAME.Value, "SENDERS NAME");
    EXPECT_EQ(out_.Import__MDAT.Value, "30.01.2010");
    ASSERT_EQ(values_.RowCount(), e.rows);
    EXPECT_EQ(out_.ProgChecKANZ.Value, std::to_string(e.rows));
    EXPECT_EQ(out_.ProgChecKSUM.Value, e.sum);
    EXPECT_EQ(out_.ProgChecDSUM.Value, e.sum);
    EXPECT_EQ(out_.ProgChecISUM.Value, e.account_sum);
    EXPECT_EQ(out_.ProgChecBSUM.Value, e.bank_code_sum);
    EXPECT_EQ(Cell(1, 3), "FRANZ MUELLER");
    EXPECT_EQ(Cell(1, 8), "1234,56");
    EXPECT_EQ(Cell(2, 8), "321,90");
    EXPECT_EQ(Cell(1, 9), "\"TEST-VERWENDUNGSZWECK\"");
    EXPECT_EQ(Cell(1, 22), "0013579000");
    EXPECT_EQ(Cell(1, 23), "33334444");
    EXPECT_EQ(Cell(1, 4).substr(0, 2), "DE");
    EXPECT_TRUE(Cell(1, 4).ends_with("333344440013579000"));
  }
}

TEST_F(DtausCheckerTest, ShowsEveryExtensionOfFilesOfOtherPrograms) {
  for (int extensions = 0; extensions <= 7; ++extensions) {
    const std::string name = "payment_dta-credit-1tx-0" + std::to_string(extensions) + "ext.dta";
    SCOPED_TRACE(name);
    ASSERT_EQ(Check(DtausSample(name), /*external=*/true), "ok");
    std::string expected = "\"VERWENDUNGSZWECK ZEILE 1\"";
    for (int k = 1; k <= extensions; ++k) {
      expected += ",\"VERWENDUNGSZWECK ZEILE " + std::to_string(k + 1) + "\"";
    }
    ASSERT_EQ(values_.RowCount(), 1);
    EXPECT_EQ(Cell(1, 9), expected);
    EXPECT_EQ(Cell(1, 3), "A RECEIVERS NAME");
    EXPECT_EQ(Cell(1, 8), "1234,56");
    EXPECT_EQ(out_.Import__MDAT.Value, "06.12.2026");  // A7 "061226" as day, month, year
    EXPECT_EQ(out_.ProgChecISUM.Value, "3503007767");
    EXPECT_EQ(out_.ProgChecBSUM.Value, "16050000");
  }
}

}  // namespace
}  // namespace lastora
