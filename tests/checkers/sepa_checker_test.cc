#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "component/catalogue.h"
#include "core/text.h"
#include "generation/amount.h"
#include "generation/sepa_document.h"
#include "generation/sepa_kind.h"
#include "lastora/class1.h"
#include "lastora/platform.h"
#include "support/field_texts.h"
#include "support/payment_samples.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

using S = SEPAVARIABLEN;
using testing::CellTexts;
using testing::NumberedPayment;
using testing::SamplePayment;
using testing::Texts;
using testing::Values;

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

// A document as the generation run writes it; a test that needs another form edits the text.
struct Document {
  std::string kind = "Basislastschrift";
  generation::SepaHeader header{"MSG-1",
                                "PMT-1",
                                "2013-09-03T09:05:07Z",
                                "2013-09-10",
                                "FRST",
                                "TSV Beispiel e.V.",
                                "DE89370400440532013000",
                                "COBADEFFXXX",
                                "DE98ZZZ09999999999"};
  std::vector<SamplePayment> payments;
};

std::string DocumentText(const Document& d) {
  generation::SepaDocument document(generation::SepaKindFor(d.kind), d.payments.size());
  for (const SamplePayment& p : d.payments) {
    document.Append(
        {p.reference, p.cents, p.bic, p.name, p.iban, p.remittance, p.mandate, p.mandate_date});
  }
  return document.Text(d.header);
}

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
  std::string WriteDocument(const std::string& name, const Document& document) {
    return Write(name, DocumentText(document));
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

Document ThreeDirectDebits() {
  Document d;
  d.payments = {NumberedPayment(1), NumberedPayment(2), NumberedPayment(3)};
  d.payments[0].cents = 1250;
  d.payments[1].cents = 500;
  d.payments[2].cents = 123405;
  return d;
}

TEST_F(SepaCheckerTest, WrongIbanIsMarkedAndCountedButTheRunSucceeds) {
  Document d = ThreeDirectDebits();
  d.payments[1].iban = "DE00512305000018102010";
  ASSERT_EQ(Check(WriteDocument("dd.xml", d)), "ok");

  EXPECT_EQ(CLng(colours_(2, 4)), 3);
  EXPECT_TRUE(Cell(2, 26).starts_with(Message(124)));
  EXPECT_TRUE(colours_(1, 4).IsEmpty());
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
  Document first = ThreeDirectDebits();
  Document second;
  second.header.message_id = "MSG-2";
  second.header.sequence_type = "RCUR";
  second.payments = {NumberedPayment(4), NumberedPayment(5)};
  second.payments[0].cents = 10;
  second.payments[1].cents = 20;
  const std::string one = WriteDocument("frst.xml", first);
  const std::string two = WriteDocument("rcur.xml", second);
  ASSERT_EQ(Check(one, two), "ok");

  ASSERT_EQ(values_.RowCount(), 5);
  EXPECT_EQ(CellTexts(values_, 4, {2, 3}), (Texts{"4", "Mitglied 4"}));
  EXPECT_EQ(Values(out_, {&S::SepaFMI1, &S::SepaFMI2, &S::SepaLAR2, &S::ProgChecKAN2,
                          &S::ProgChecKSU2, &S::ProgChecPAO2, &S::ProgChecDANZ, &S::ProgChecKANZ,
                          &S::ProgChecDSUM, &S::ProgChecKSUM}),
            (Texts{"MSG-1", "MSG-2", "RCUR", "2", "0,3", "ok", "5", "5", "1251,85", "1251,85"}));
}

TEST_F(SepaCheckerTest, IllFormedSecondFileStopsBeforeTheTableIsLaidOut) {
  const std::string one = WriteDocument("frst.xml", ThreeDirectDebits());
  std::string broken = DocumentText(ThreeDirectDebits());
  broken.resize(broken.size() / 2);
  const std::string two = Write("broken.xml", broken);
  values_ = Table(1, 1);
  values_(1, 1) = "caller's";
  vars_[1] = "passed name";  // KreditorNAME

  const std::string result = Check(one, two);
  EXPECT_TRUE(result.starts_with(Message(79) + ": ")) << result;
  EXPECT_TRUE(result.ends_with(")")) << result;
  EXPECT_NE(result.find(" (Zeile "), std::string::npos) << result;
  // The first file's expected count, and no header field read.
  EXPECT_EQ(Values(out_, {&S::ProgChecPAO1, &S::ProgChecPAO2, &S::ProgChecDANZ, &S::KreditorNAME}),
            (Texts{"ok", result, "3", "passed name"}));
  ASSERT_EQ(values_.RowCount(), 1);
  EXPECT_EQ(Cell(1, 1), "caller's");
}

TEST_F(SepaCheckerTest, UnclosedTransactionEndsWithMessage98AndStillFormsTheTotals) {
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  std::string text = DocumentText(ThreeDirectDebits());
  text.resize(text.rfind("</DrctDbtTxInf>"));
  const std::string file = Write("cut.xml", text);

  EXPECT_EQ(Check(file), "Keine Datensätzee in XML-Datei gefunden!");
  EXPECT_EQ(Cell(2, 3), "Mitglied 2");  // rows read before the cut stay
  EXPECT_EQ(Values(out_, {&S::ProgChecDANZ, &S::ProgChecKANZ, &S::ProgChecKSUM}),
            (Texts{"3", "3", "1251,55"}));
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
  const std::string file = WriteDocument("empty.xml", Document());
  EXPECT_EQ(Check(file), "Fehler: Index außerhalb des gültigen Bereichs (9)");
  EXPECT_EQ(out_.ProgChecDANZ.Value, "0");
}

// Amounts as other programs may write them: each comes back in the cell and the sum with the
// cents the user's number format gives it; one that is no number leaves its cell empty and stays
// out of the sum.
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
      {"fünf", ""},
  };
  Document d;
  for (size_t i = 0; i < amounts.size(); ++i) {
    d.payments.push_back(NumberedPayment(static_cast<int>(i) + 1));
    d.payments.back().cents = 100000 + static_cast<int64_t>(i);
  }
  std::string text = DocumentText(d);
  for (size_t i = 0; i < amounts.size(); ++i) {
    const int64_t written = 100000 + static_cast<int64_t>(i);
    text = text::Replace(text, ">" + generation::CentsText(written, '.') + "</InstdAmt>",
                         ">" + amounts[i].first + "</InstdAmt>");
  }
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  ASSERT_EQ(Check(Write("amounts.xml", text)), "ok");
  for (size_t i = 0; i < amounts.size(); ++i) {
    EXPECT_EQ(Cell(static_cast<int>(i) + 1, 8), amounts[i].second) << amounts[i].first;
  }
  EXPECT_TRUE(values_(static_cast<int>(amounts.size()), 8).IsEmpty());
  EXPECT_EQ(out_.ProgChecDSUM.Value, "1000000129,31");
}

TEST_F(SepaCheckerTest, DocumentWithoutControlSumStatesNone) {
  const std::string text = DocumentText(ThreeDirectDebits());
  ASSERT_EQ(Check(Write("dd.xml", text::Replace(text, "<CtrlSum>1251.55</CtrlSum>", ""))), "ok");
  EXPECT_EQ(Values(out_, {&S::ProgChecKSU1, &S::ProgChecKSUM, &S::ProgChecDSUM}),
            (Texts{"0", "0", "1251,55"}));
}

TEST_F(SepaCheckerTest, DirectDebitWithoutLocalInstrumentIsStillReadAsDirectDebit) {
  Document d = ThreeDirectDebits();
  d.kind = "Lastschrift";
  ASSERT_EQ(Check(WriteDocument("dd.xml", d)), "ok");
  EXPECT_EQ(out_.SepaAART.Value, "Basislastschrift");
  ASSERT_EQ(values_.RowCount(), 3);
  EXPECT_EQ(CellTexts(values_, 3, {3, 10}), (Texts{"Mitglied 3", "M-3"}));

  d.kind = "Firmenlastschrift";
  ASSERT_EQ(Check(WriteDocument("b2b.xml", d)), "ok");
  EXPECT_EQ(out_.SepaAART.Value, "Firmenlastschrift");
}

TEST_F(SepaCheckerTest, EscapedCharactersAndLatinOneFilesComeBackAsText) {
  // Written as other programs may write them; this system's writer escapes only "&", "<", ">".
  std::string escaped = text::Replace(DocumentText(ThreeDirectDebits()), "<Nm>Mitglied 1</Nm>",
                                      "<Nm>M&#252;ller &amp; S&#xF6;hne</Nm>");
  escaped = text::Replace(escaped, "Beitrag 2013 Mitglied 1",
                          "Beitrag &lt;2013&gt; &quot;A&quot; &apos;B&apos;");
  ASSERT_EQ(Check(Write("dd.xml", escaped)), "ok");
  EXPECT_EQ(Cell(1, 3), "Müller & Söhne");
  EXPECT_EQ(Cell(1, 9), "Beitrag <2013> \"A\" 'B'");

  ScopedParser accepting(std::make_shared<AcceptingParser>());
  std::string latin1 = DocumentText(ThreeDirectDebits());
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
  const std::string whole = DocumentText(ThreeDirectDebits());
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

// Documents written by other programs, with the figures each of them states and the creation
// time in each writer's form.
TEST_F(SepaCheckerTest, ReadsDocumentsOfOtherPrograms) {
  struct Expected {
    const char* file;
    const char* kind;
    int rows;
    const char* sum;  // stated and read alike
    const char* first_amount;
    const char* created;
  };
  const Expected cases[] = {
      {"php-sepa-xml-pain.001.002.03.xml", "Überweisung", 1, "12,34", "12,34",
       "2025-08-19 08:32:02+00:00"},
      {"php-sepa-xml-pain.008.002.02.xml", "Basislastschrift", 1, "12,34", "12,34",
       "2025-08-19 08:32:02+00:00"},
      {"python-sepaxml-pain.008.002.02-frst-rcur.xml", "Basislastschrift", 2, "60,12", "10,12",
       "20.01.2017 13:49:21"},
      {"sepa_king-pain.001.002.03.xml", "Überweisung", 2, "6655,86", "6543,14",
       "11.11.2010 09:30:47"},
      {"sepa_king-pain.008.002.02.xml", "Basislastschrift", 2, "6655,86", "6543,14",
       "21.11.2010 09:30:47"},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.file);
    ASSERT_EQ(Check(SepaSample(e.file)), "ok");
    ASSERT_EQ(values_.RowCount(), e.rows);
    const std::string rows = std::to_string(e.rows);
    EXPECT_EQ(Values(out_, {&S::SepaAART, &S::ProgChecKAN1, &S::ProgChecDANZ, &S::ProgChecKSU1,
                            &S::ProgChecDSUM, &S::Import__MDAT}),
              (Texts{e.kind, rows, rows, e.sum, e.sum, e.created}));
    EXPECT_EQ(Cell(1, 8), e.first_amount);
    EXPECT_NE(Cell(1, 4), "");
    EXPECT_EQ(Cell(1, 24), Cell(1, 4).substr(0, 2));
  }
}

// Two payment blocks in one message: the expected count still fits, so no row stays empty.
TEST_F(SepaCheckerTest, TwoPaymentBlocksGiveNoEmptyRows) {
  ASSERT_EQ(Check(SepaSample("python-sepaxml-pain.008.002.02-frst-rcur.xml")), "ok");
  ASSERT_EQ(values_.RowCount(), 2);
  EXPECT_EQ(CellTexts(values_, 1, {3, 8}), (Texts{"Test von Testenstein", "10,12"}));
  EXPECT_EQ(Cell(2, 8), "50,00");
  EXPECT_EQ(out_.SepaLAR1.Value, "FRST");
  // Both debtors carry the same IBAN, whose check digits are wrong in that sample.
  EXPECT_EQ(out_.ProgChecFehl.Value, "2");
  EXPECT_EQ(CLng(colours_(2, 4)), 3);
}

}  // namespace
}  // namespace lastora
