#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/cents.h"
#include "core/text.h"
#include "generation/sepa_document.h"
#include "generation/sepa_kind.h"
#include "lastora/class1.h"
#include "lastora/platform.h"
#include "support/field_texts.h"
#include "support/payment_samples.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

using S = SEPAVARIABLEN;
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

using Payments = std::vector<SamplePayment>;

// A direct debit document as the generation run writes it; a test that needs another form edits
// the text.
std::string DocumentText(const Payments& payments) {
  const generation::SepaHeader header{"MSG-1",
                                      "PMT-1",
                                      "2013-09-03T09:05:07Z",
                                      "2013-09-10",
                                      "FRST",
                                      "TSV Beispiel e.V.",
                                      "DE89370400440532013000",
                                      "COBADEFFXXX",
                                      "DE98ZZZ09999999999"};
  generation::SepaDocument document(generation::SepaKindFor("Basislastschrift"), payments.size());
  for (const SamplePayment& p : payments) {
    document.Append(
        {p.reference, p.cents, p.bic, p.name, p.iban, p.remittance, p.mandate, p.mandate_date});
  }
  return document.Text(header);
}

class SepaCheckerTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_.File(name);
    testing::WriteBytes(path, bytes);
    return path;
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

Payments ThreeDirectDebits() {
  Payments d = {NumberedPayment(1), NumberedPayment(2), NumberedPayment(3)};
  d[0].cents = 1250;
  d[1].cents = 500;
  d[2].cents = 123405;
  return d;
}

// Nothing is lost: a broken second file stops the run before the caller's table is replaced.
TEST_F(SepaCheckerTest, IllFormedOrMalformedFilesLeaveTheCallersTableAndTheFrame) {
  const std::string one = Write("frst.xml", DocumentText(ThreeDirectDebits()));
  std::string broken = DocumentText(ThreeDirectDebits());
  broken.resize(broken.size() / 2);
  values_ = Table(1, 1);
  values_(1, 1) = "caller's";
  const std::string result = Check(one, Write("broken.xml", broken));
  EXPECT_TRUE(result.starts_with(Message(msg::kXmlParserError) + ": ")) << result;
  EXPECT_EQ(Values(out_, {&S::ProgChecPAO1, &S::ProgChecPAO2}), (Texts{"ok", result}));
  EXPECT_EQ(Cell(1, 1), "caller's");

  // Malformed content that the well-formedness check lets through never escapes the frame.
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  const std::string cases[] = {
      std::string("\0\x01\xff\xfe<DrctDbtTxInf>", 18),
      std::string(100000, '<') + "</Dbtr></Dbtr>",
      "</Dbtr></Cdtr><DrctDbtTxInf><InstdAmt Ccy=\"EUR\">1e300</InstdAmt></DrctDbtTxInf>",
      // Opening tags that never close must not make the reader go over the text once for each.
      "<PmtMtd>DD</PmtMtd></Dbtr></Cdtr>" + text::Repeat("<!--<DrctDbtTxInf>-->", 200000) +
          "</DrctDbtTxInf>",
  };
  for (const std::string& text : cases) {
    const std::string verdict = Check(Write("bad.xml", text));
    EXPECT_TRUE(verdict == "ok" || verdict == Message(msg::kNoTransactionsInXml) ||
                verdict.starts_with("Fehler: "))
        << verdict;
  }
}

// Amounts as other programs write them keep their cents; a negative, empty or unreadable one is
// the row's error, counted and left out of the sum, beside a wrong IBAN's message.
TEST_F(SepaCheckerTest, AmountsOfEveryWrittenFormAndEveryErrorOfARow) {
  const std::vector<std::pair<std::string, std::string>> good = {
      {"0.05", "0,05"},  {"999999999.99", "999999999,99"}, {"1.235", "1,24"}, {" 4.20 ", "4,20"},
      {"0.285", "0,29"},  // its binary value lies below 0.285; the text's digits count
  };
  const std::vector<std::string> bad = {"fünf", "-12.34", "NaN", "0.00", ""};
  std::vector<std::string> written;
  for (const auto& amount : good) written.push_back(amount.first);
  written.insert(written.end(), bad.begin(), bad.end());
  Payments d = ThreeDirectDebits();
  d[1].iban = "DE00512305000018102010";
  // Further payments get placeholder amounts unlike any of the samples', then the texts.
  for (size_t i = 0; i < written.size(); ++i) {
    d.push_back(NumberedPayment(static_cast<int>(i) + 4));
    d.back().cents = 900000 + static_cast<int64_t>(i);
  }
  std::string text = text::Replace(DocumentText(d), ">5.00</InstdAmt>", ">-5.00</InstdAmt>");
  for (size_t i = 0; i < written.size(); ++i) {
    text = text::Replace(text, ">" + money::CentsText(900000 + static_cast<int64_t>(i), '.') + "<",
                         ">" + written[i] + "<");
  }
  ScopedParser accepting(std::make_shared<AcceptingParser>());
  ASSERT_EQ(Check(Write("amounts.xml", text)), "ok");
  for (size_t i = 0; i < good.size(); ++i) {
    EXPECT_EQ(Cell(static_cast<int>(i) + 4, 8), good[i].second) << good[i].first;
  }
  for (size_t i = 0; i < bad.size(); ++i) {
    const int row = static_cast<int>(good.size() + i) + 4;
    EXPECT_EQ(CLng(colours_(row, 8)), 3) << bad[i];
    EXPECT_EQ(Cell(row, 26), "Betrag ungültig: '" + bad[i] + "'");
  }
  EXPECT_TRUE(values_(static_cast<int>(good.size()) + 4, 8).IsEmpty());  // no number, no amount
  EXPECT_TRUE(colours_(1, 8).IsEmpty() && colours_(1, 4).IsEmpty());
  EXPECT_EQ(CLng(colours_(2, 4)), 3);
  EXPECT_EQ(CLng(colours_(2, 8)), 3);
  EXPECT_TRUE(
      Cell(2, 26).starts_with("Betrag ungültig: '-5.00', " + Message(msg::kIbanCheckDigitsWrong)))
      << Cell(2, 26);
  EXPECT_EQ(Values(out_, {&S::ProgChecFehl, &S::ProgChecDANZ, &S::ProgChecDSUM}),
            (Texts{"7", "13", "1000001252,32"}));
}

// Documents of other programs, with their stated figures and creation time in each writer's form.
TEST_F(SepaCheckerTest, ReadsDocumentsOfOtherPrograms) {
  struct Expected {
    const char* file;
    const char* kind;
    int rows;
    const char* sum;  // stated and read alike
    const char* first_amount;
    const char* created;
    const char* party;  // the ordering party of a transfer, the creditor of a debit
    const char* first_name;
  };
  const Expected cases[] = {
      {"php-sepa-xml-pain.001.002.03.xml", "Überweisung", 1, "12,34", "12,34",
       "2025-08-19 08:32:02+00:00", "OurCorp", "John Doe"},
      {"python-sepaxml-pain.008.002.02-frst-rcur.xml", "Basislastschrift", 2, "60,12", "10,12",
       "20.01.2017 13:49:21", "TestCreditor", "Test von Testenstein"},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.file);
    ASSERT_EQ(Check(std::string(LASTORA_TESTDATA_DIR) + "/sepa/" + e.file), "ok");
    ASSERT_EQ(values_.RowCount(), e.rows);
    const std::string rows = std::to_string(e.rows);
    EXPECT_EQ(Values(out_, {&S::SepaAART, &S::ProgChecKAN1, &S::ProgChecDANZ, &S::ProgChecKSU1,
                            &S::ProgChecDSUM, &S::Import__MDAT, &S::KreditorNAME}),
              (Texts{e.kind, rows, rows, e.sum, e.sum, e.created, e.party}));
    EXPECT_EQ(Cell(1, 3), e.first_name);
    EXPECT_EQ(Cell(1, 8), e.first_amount);
    EXPECT_NE(Cell(1, 4), "");
    EXPECT_EQ(Cell(1, 24), Cell(1, 4).substr(0, 2));
  }
}

}  // namespace
}  // namespace lastora
