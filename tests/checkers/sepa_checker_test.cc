#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "component/catalogue.h"
#include "lastora/class1.h"
#include "lastora/platform.h"
#include "support/payment_samples.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

using testing::NumberedPayment;
using testing::SampleDocument;
using testing::SepaDocumentText;

// Lets every file through the well-formedness check, so the reader itself meets broken input.
class AcceptingParser : public XmlParser {
 public:
  Result LoadFile(const std::string&) override { return {}; }
};

class ScopedParser {
 public:
  explicit ScopedParser(std::shared_ptr<XmlParser> parser)
      : previous_(SetXmlParser(std::move(parser))) {}
  ~ScopedParser() { SetXmlParser(previous_); }

 private:
  std::shared_ptr<XmlParser> previous_;
};

std::string SepaSample(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/sepa/" + name;
}

class SepaCheckerTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.File(name);
    testing::WriteBytes(path, bytes);
    return path;
  }
  std::string WriteDocument(const std::string& name, const SampleDocument& document) {
    return Write(name, SepaDocumentText(document));
  }
  std::string Check(const std::string& file1, const std::string& file2 = "-") {
    const std::string result =
        c1_.ext_SEPA_Checker(vars_, values_, colours_, blz_intern_, blz_new_, file1, file2);
    VariablenToRecord(vars_, out_);
    return result;
  }
  std::string Cell(int row, int column) const { return CStr(values_(row, column)); }

  testing::ScopedTestPlatform platform_{MakeDate(2013, 9, 3)};
  testing::ScopedTempDir dir_;
  Class1 c1_;
  VariantArray vars_{206};
  Table values_;
  Table colours_;
  Table blz_intern_;
  Table blz_new_;
  SEPAVARIABLEN out_;
};

SampleDocument ThreeDirectDebits() {
  SampleDocument d;
  d.payments = {NumberedPayment(1), NumberedPayment(2), NumberedPayment(3)};
  d.payments[0].amount = "12.50";
  d.payments[1].amount = "5.00";
  d.payments[2].amount = "1234.05";
  d.stated_sum = "1251.55";
  return d;
}

TEST_F(SepaCheckerTest, DirectDebitFillsOneRowPerTransactionAndTheHeaderSettings) {
  const std::string file = WriteDocument("dd.xml", ThreeDirectDebits());
  EXPECT_EQ(Check(file), "ok");

  ASSERT_EQ(values_.RowCount(), 3);
  ASSERT_EQ(values_.ColCount(), 29);
  EXPECT_EQ(colours_.RowCount(), 3);
  EXPECT_EQ(values_(3, 2), Variant(int32_t{3}));
  EXPECT_EQ(Cell(1, 3), "Mitglied 1");
  EXPECT_EQ(Cell(1, 4), "DE50512305000018102010");
  EXPECT_EQ(Cell(1, 5), "COBADEFFXXX");
  EXPECT_EQ(Cell(1, 7), "E2E-1");
  EXPECT_EQ(Cell(1, 8), "12,50");
  EXPECT_EQ(Cell(2, 8), "5,00");
  EXPECT_EQ(Cell(3, 8), "1234,05");
  EXPECT_EQ(Cell(1, 9), "Beitrag 2013 Mitglied 1");
  EXPECT_EQ(Cell(1, 10), "M-1");
  EXPECT_EQ(Cell(1, 11), "2013-02-15");
  EXPECT_EQ(Cell(1, 24), "DE");
  EXPECT_EQ(Cell(1, 26), "");

  EXPECT_EQ(out_.SepaAART.Value, "Basislastschrift");
  EXPECT_EQ(out_.KreditorNAME.Value, "TSV Beispiel e.V.");
  EXPECT_EQ(out_.KreditorIBAN.Value, "DE89370400440532013000");
  EXPECT_EQ(out_.KreditorBIC_.Value, "COBADEFFXXX");
  EXPECT_EQ(out_.KreditorID__.Value, "DE98ZZZ09999999999");
  EXPECT_EQ(out_.Import__MDAT.Value, "03.09.2013 09:05:07");
  EXPECT_EQ(out_.SepaADA1.Value, "10.09.2013");
  EXPECT_EQ(out_.SepaFMI1.Value, "MSG-1");
  EXPECT_EQ(out_.SepaLAR1.Value, "FRST");
  EXPECT_EQ(out_.SepaFPI1.Value, "PMT-1");
  EXPECT_EQ(out_.ProgChecPAO1.Value, "ok");
  EXPECT_EQ(out_.ProgChecKAN1.Value, "3");
  EXPECT_EQ(out_.ProgChecKSU1.Value, "1251,55");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1251,55");
  EXPECT_EQ(out_.ProgChecKANZ.Value, "3");
  EXPECT_EQ(out_.ProgChecKSUM.Value, "1251,55");
  EXPECT_EQ(out_.ProgChecFehl.Value, "0");
  // The second file took no part.
  EXPECT_EQ(out_.ProgChecKAN2.Value, "0");
  EXPECT_EQ(out_.ProgChecKSU2.Value, "0");
  EXPECT_EQ(out_.SepaFMI2.Value, "");
}

TEST_F(SepaCheckerTest, CreditTransferShowsCreditorsAndTheDebtorAsOrderingParty) {
  SampleDocument d;
  d.transfer = true;
  d.created = "2010-11-11T09:30:47.000Z";
  d.payments = {NumberedPayment(7), NumberedPayment(8)};
  const std::string file = WriteDocument("ct.xml", d);
  ASSERT_EQ(Check(file, ""), "ok");

  EXPECT_EQ(out_.SepaAART.Value, "Überweisung");
  EXPECT_EQ(out_.KreditorNAME.Value, "TSV Beispiel e.V.");
  EXPECT_EQ(out_.KreditorIBAN.Value, "DE89370400440532013000");
  EXPECT_EQ(out_.Import__MDAT.Value, "11.11.2010 09:30:47");
  EXPECT_EQ(out_.SepaADA1.Value, "10.09.2013");
  ASSERT_EQ(values_.RowCount(), 2);
  EXPECT_EQ(Cell(1, 3), "Mitglied 7");
  EXPECT_EQ(Cell(2, 3), "Mitglied 8");
  EXPECT_TRUE(values_(1, 10).IsEmpty());
  EXPECT_TRUE(values_(1, 11).IsEmpty());
  // The first character behind the shorter opening tag is skipped; no field loses anything.
  EXPECT_EQ(Cell(1, 7), "E2E-7");
}

TEST_F(SepaCheckerTest, WrongIbanIsMarkedAndCountedButTheRunSucceeds) {
  SampleDocument d = ThreeDirectDebits();
  d.payments[1].iban = "DE00512305000018102010";
  const std::string file = WriteDocument("dd.xml", d);
  ASSERT_EQ(Check(file), "ok");

  EXPECT_EQ(CLng(colours_(2, 4)), 3);
  EXPECT_TRUE(Cell(2, 26).starts_with(Message(124)));
  EXPECT_TRUE(colours_(1, 4).IsEmpty());
  EXPECT_EQ(Cell(1, 26), "");
  EXPECT_EQ(out_.ProgChecFehl.Value, "1");
}

TEST_F(SepaCheckerTest, BicLookupAsksTheCallersTableFirstAndTheBankCodeFileAfterIt) {
  // A lookup in the file may log and warn about the file's age: keep both in the test's folder.
  testing::ScopedEnv home("LASTORA_HOME", dir_.path().string());
  std::filesystem::create_directory(dir_.path() / "Logdateien");
  c1_.settings().ProgBLZ_File.Value =
      std::string(LASTORA_TESTDATA_DIR) + "/blz/bundesbank-blz_20200420-excerpt.txt";
  const std::string file = WriteDocument("dd.xml", ThreeDirectDebits());
  vars_[79] = "ja";     // ProgChecBLZ_
  vars_[141] = "nein";  // ProgBLZ_Inte
  ASSERT_EQ(Check(file), "ok");
  EXPECT_FALSE(blz_new_.IsAllocated());

  vars_[141] = "ja";
  blz_intern_ = Table(1, 13);
  blz_intern_(1, 1) = "51230500";
  blz_intern_(1, 8) = "BYLADEM1001";
  ASSERT_EQ(Check(file), "ok");
  EXPECT_FALSE(blz_new_.IsAllocated());  // the caller's table answered

  blz_intern_ = Table();
  ASSERT_EQ(Check(file), "ok");
  EXPECT_EQ(blz_new_.RowCount(), 3);     // the file was consulted for the three rows
  EXPECT_EQ(Cell(1, 5), "COBADEFFXXX");  // a BIC the document names is kept
}

TEST_F(SepaCheckerTest, TwoFilesFollowEachOtherInOneTableWithTheirOwnFigures) {
  SampleDocument first = ThreeDirectDebits();
  SampleDocument second;
  second.message_id = "MSG-2";
  second.sequence_type = "RCUR";
  second.payments = {NumberedPayment(4), NumberedPayment(5)};
  second.payments[0].amount = "0.10";
  second.payments[1].amount = "0.20";
  second.stated_sum = "0.30";
  const std::string one = WriteDocument("frst.xml", first);
  const std::string two = WriteDocument("rcur.xml", second);
  ASSERT_EQ(Check(one, two), "ok");

  ASSERT_EQ(values_.RowCount(), 5);
  EXPECT_EQ(values_(4, 2), Variant(int32_t{4}));
  EXPECT_EQ(Cell(4, 3), "Mitglied 4");
  EXPECT_EQ(out_.SepaFMI1.Value, "MSG-1");
  EXPECT_EQ(out_.SepaFMI2.Value, "MSG-2");
  EXPECT_EQ(out_.SepaLAR2.Value, "RCUR");
  EXPECT_EQ(out_.ProgChecKAN2.Value, "2");
  EXPECT_EQ(out_.ProgChecKSU2.Value, "0,3");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "5");
  EXPECT_EQ(out_.ProgChecKANZ.Value, "5");
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1251,85");
  EXPECT_EQ(out_.ProgChecKSUM.Value, "1251,85");
  EXPECT_EQ(out_.ProgChecPAO2.Value, "ok");
}

TEST_F(SepaCheckerTest, IllFormedSecondFileStopsBeforeTheTableIsLaidOut) {
  const std::string one = WriteDocument("frst.xml", ThreeDirectDebits());
  std::string broken = SepaDocumentText(ThreeDirectDebits());
  broken.resize(broken.size() / 2);
  const std::string two = Write("broken.xml", broken);
  values_ = Table(1, 1);
  values_(1, 1) = "caller's";
  vars_[1] = "passed name";  // KreditorNAME

  const std::string result = Check(one, two);
  EXPECT_TRUE(result.starts_with(Message(79) + ": ")) << result;
  EXPECT_TRUE(result.ends_with(")")) << result;
  EXPECT_NE(result.find(" (Zeile "), std::string::npos) << result;
  EXPECT_EQ(out_.ProgChecPAO1.Value, "ok");
  EXPECT_EQ(out_.ProgChecPAO2.Value, result);
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");  // the first file's expected count
  EXPECT_EQ(out_.KreditorNAME.Value, "passed name");
  ASSERT_EQ(values_.RowCount(), 1);
  EXPECT_EQ(Cell(1, 1), "caller's");
}

TEST_F(SepaCheckerTest, UnclosedTransactionEndsWithMessage98AndStillFormsTheTotals) {
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  std::string text = SepaDocumentText(ThreeDirectDebits());
  text.resize(text.rfind("</DrctDbtTxInf>"));
  const std::string file = Write("cut.xml", text);

  EXPECT_EQ(Check(file), "Keine Datensätzee in XML-Datei gefunden!");
  EXPECT_EQ(Cell(2, 3), "Mitglied 2");  // rows read before the cut stay
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");
  EXPECT_EQ(out_.ProgChecKANZ.Value, "3");
  EXPECT_EQ(out_.ProgChecKSUM.Value, "1251,55");
}

TEST_F(SepaCheckerTest, ExpectedCountTakesEveryPartyTagUpToTheLastByte) {
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  const std::string file =
      Write("cut.xml", "<PmtMtd>DD</PmtMtd></Cdtr><DrctDbtTxInf></Dbtr></Cdtr></Dbtr>");
  EXPECT_EQ(Check(file), Message(98));
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");
}

TEST_F(SepaCheckerTest, FailureInsideTheRunIsReportedWithTheTotalsOfTheFirstFile) {
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  const std::string one = WriteDocument("frst.xml", ThreeDirectDebits());
  const std::string result = Check(one, dir_.File("missing.xml"));
  EXPECT_EQ(result, "Fehler: Datei nicht gefunden (53)");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "3");
}

TEST_F(SepaCheckerTest, DocumentWithoutPaymentsCannotBeLaidOut) {
  SampleDocument d;
  const std::string file = WriteDocument("empty.xml", d);
  EXPECT_EQ(Check(file), "Fehler: Index außerhalb des gültigen Bereichs (9)");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "0");
}

TEST_F(SepaCheckerTest, AmountThatIsNoNumberLeavesItsCellEmptyAndOutOfTheSum) {
  SampleDocument d = ThreeDirectDebits();
  d.payments[1].amount = "fünf";
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  ASSERT_EQ(Check(WriteDocument("dd.xml", d)), "ok");
  EXPECT_TRUE(values_(2, 8).IsEmpty());
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1246,55");
}

// Amounts as other programs may write them: each comes back in the cell and the sum with the
// cents the user's number format gives it.
TEST_F(SepaCheckerTest, AmountsOfEveryWrittenFormKeepTheirCents) {
  const std::vector<std::pair<std::string, std::string>> amounts = {
      {"12.5", "12,50"},
      {"0.05", "0,05"},
      {"007.10", "7,10"},
      {"3", "3,00"},
      {"999999999.99", "999999999,99"},
      {"1.234", "1,23"},
      {"1.235", "1,24"},
      {"1e2", "100,00"},
      {" 4.20 ", "4,20"},
  };
  SampleDocument d;
  for (size_t i = 0; i < amounts.size(); ++i) {
    d.payments.push_back(NumberedPayment(static_cast<int>(i) + 1));
    d.payments.back().amount = amounts[i].first;
  }
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  ASSERT_EQ(Check(WriteDocument("amounts.xml", d)), "ok");
  for (size_t i = 0; i < amounts.size(); ++i) {
    EXPECT_EQ(Cell(static_cast<int>(i) + 1, 8), amounts[i].second) << amounts[i].first;
  }
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1000000129,31");
}

TEST_F(SepaCheckerTest, DocumentWithoutControlSumStatesNone) {
  SampleDocument d = ThreeDirectDebits();
  d.with_control_sum = false;
  ASSERT_EQ(Check(WriteDocument("dd.xml", d)), "ok");
  EXPECT_EQ(out_.ProgChecKSU1.Value, "0");
  EXPECT_EQ(out_.ProgChecKSUM.Value, "0");
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1251,55");
}

TEST_F(SepaCheckerTest, DirectDebitWithoutLocalInstrumentIsStillReadAsDirectDebit) {
  SampleDocument d = ThreeDirectDebits();
  d.local_instrument = "";
  ASSERT_EQ(Check(WriteDocument("dd.xml", d)), "ok");
  EXPECT_EQ(out_.SepaAART.Value, "Basislastschrift");
  ASSERT_EQ(values_.RowCount(), 3);
  EXPECT_EQ(Cell(3, 3), "Mitglied 3");
  EXPECT_EQ(Cell(3, 10), "M-3");

  d.local_instrument = "B2B";
  ASSERT_EQ(Check(WriteDocument("b2b.xml", d)), "ok");
  EXPECT_EQ(out_.SepaAART.Value, "Firmenlastschrift");
}

TEST_F(SepaCheckerTest, EscapedCharactersAndLatinOneFilesComeBackAsText) {
  SampleDocument d = ThreeDirectDebits();
  d.payments[0].name = "M&#252;ller &amp; S&#xF6;hne";
  d.payments[0].remittance = "Beitrag &lt;2013&gt; &quot;A&quot; &apos;B&apos;";
  ASSERT_EQ(Check(WriteDocument("dd.xml", d)), "ok");
  EXPECT_EQ(Cell(1, 3), "Müller & Söhne");
  EXPECT_EQ(Cell(1, 9), "Beitrag <2013> \"A\" 'B'");

  ScopedParser accepting(std::make_shared<AcceptingParser>());
  std::string latin1 = SepaDocumentText(ThreeDirectDebits());
  const size_t name = latin1.find("Mitglied 2");
  latin1.replace(name, 10, "J\xfcrgen \xc4");
  ASSERT_EQ(Check(Write("latin1.xml", latin1)), "ok");
  EXPECT_EQ(Cell(2, 3), "Jürgen Ä");
}

std::string Repeated(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST_F(SepaCheckerTest, MalformedContentNeverEscapesTheFrame) {
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  const std::string whole = SepaDocumentText(ThreeDirectDebits());
  const std::string cases[] = {
      "",
      std::string("\0\x01\xff\xfe<DrctDbtTxInf>", 18),
      "<DrctDbtTxInf>",
      "</Dbtr></Dbtr><DrctDbtTxInf>",
      "</Cdtr></Dbtr><CdtTrfTxInf>x</CdtTrfTxInf>",
      "<PmtMtd>TRF</PmtMtd></Cdtr></Cdtr><CdtTrfTxInf></CdtTrfTxInf>",
      std::string(100000, '<') + "</Dbtr></Dbtr>",
      whole.substr(0, whole.size() / 3),
      "</Dbtr></Cdtr><DrctDbtTxInf><InstdAmt Ccy=\"EUR\">1e300</InstdAmt></DrctDbtTxInf>",
      // Opening tags that never close must not make the reader go over the text once for each.
      "<PmtMtd>DD</PmtMtd></Dbtr></Cdtr>" + Repeated("<!--<DrctDbtTxInf>-->", 200000) +
          "</DrctDbtTxInf>",
  };
  for (const std::string& text : cases) {
    const std::string result = Check(Write("bad.xml", text));
    EXPECT_TRUE(result == "ok" || result == Message(98) || result.starts_with("Fehler: "))
        << result;
  }
}

// Documents written by other programs, with the figures each of them states.
TEST_F(SepaCheckerTest, ReadsDocumentsOfOtherPrograms) {
  struct Expected {
    const char* file;
    const char* kind;
    int rows;
    const char* stated_count;
    const char* stated_sum;
    const char* read_sum;
    const char* first_name;
    const char* first_amount;
  };
  const Expected cases[] = {
      {"php-sepa-xml-pain.001.002.03.xml", "Überweisung", 1, "1", "12,34", "12,34", nullptr,
       "12,34"},
      {"php-sepa-xml-pain.008.002.02.xml", "Basislastschrift", 1, "1", "12,34", "12,34", nullptr,
       "12,34"},
      {"python-sepaxml-pain.008.002.02-frst-rcur.xml", "Basislastschrift", 2, "2", "60,12", "60,12",
       "Test von Testenstein", "10,12"},
      {"sepa_king-pain.001.002.03.xml", "Überweisung", 2, "2", "6655,86", "6655,86", nullptr,
       "6543,14"},
      {"sepa_king-pain.008.002.02.xml", "Basislastschrift", 2, "2", "6655,86", "6655,86", nullptr,
       "6543,14"},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.file);
    ASSERT_EQ(Check(SepaSample(e.file)), "ok");
    EXPECT_EQ(out_.SepaAART.Value, e.kind);
    ASSERT_EQ(values_.RowCount(), e.rows);
    EXPECT_EQ(out_.ProgChecKAN1.Value, e.stated_count);
    EXPECT_EQ(out_.ProgChecKSU1.Value, e.stated_sum);
    EXPECT_EQ(out_.ProgChecDSUM.Value, e.read_sum);
    EXPECT_EQ(out_.ProgChecDANZ.Value, std::to_string(e.rows));
    EXPECT_EQ(Cell(1, 8), e.first_amount);
    if (e.first_name != nullptr) {
      EXPECT_EQ(Cell(1, 3), e.first_name);
    }
    EXPECT_NE(Cell(1, 4), "");
    EXPECT_EQ(Cell(1, 24), Cell(1, 4).substr(0, 2));
  }
}

TEST_F(SepaCheckerTest, TwoPaymentBlocksGiveNoEmptyRows) {
  ASSERT_EQ(Check(SepaSample("python-sepaxml-pain.008.002.02-frst-rcur.xml")), "ok");
  ASSERT_EQ(values_.RowCount(), 2);
  EXPECT_EQ(Cell(2, 8), "50,00");
  EXPECT_EQ(out_.SepaLAR1.Value, "FRST");
  EXPECT_EQ(out_.Import__MDAT.Value, "20.01.2017 13:49:21");
  // Both debtors carry the same IBAN, whose check digits are wrong in that sample.
  EXPECT_EQ(out_.ProgChecFehl.Value, "2");
  EXPECT_EQ(CLng(colours_(2, 4)), 3);
}

TEST_F(SepaCheckerTest, CreationTimeWithZoneOffsetIsKeptAsWritten) {
  ASSERT_EQ(Check(SepaSample("php-sepa-xml-pain.008.002.02.xml")), "ok");
  EXPECT_EQ(out_.Import__MDAT.Value, "2025-08-19 08:32:02+00:00");
}

}  // namespace
}  // namespace lastora
