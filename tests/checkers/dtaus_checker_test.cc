#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "component/catalogue.h"
#include "generation/dtaus_writer.h"
#include "generation/sepa_kind.h"
#include "lastora/class1.h"
#include "support/field_texts.h"
#include "support/payment_samples.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

using S = SEPAVARIABLEN;
using testing::CellTexts;
using testing::Texts;
using testing::Values;

std::string DtausSample(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/dtaus/" + name;
}

struct Debit {
  std::string bank_code;
  std::string account;
  int64_t cents;
  std::string name;
  std::vector<std::string> lines;
};

std::vector<Debit> ThreeDebits() {
  return {{"37040044", "532013000", 1250, "ERIKA MUSTERMANN", {"BEITRAG 2013", "PAYMENT-ID 4711"}},
          {"51230500",
           "18102010",
           500,
           "MAX MUSTER",
           {"BEITRAG 2013", "MANDATSREFERENZ M-2", "DRITTE ZEILE"}},
          {"50110800", "6231602308", 123405, "VEREIN", {"SPENDE"}}};
}
constexpr int64_t kAccountSum = 532013000LL + 18102010 + 6231602308LL;
constexpr int64_t kBankCodeSum = 37040044LL + 51230500 + 50110800;

// A transfer file of customer's direct debits as the generation run writes it.
std::string TransferFile(const std::vector<Debit>& debits) {
  const auto field = [](const std::string& text) { return testing::DtausText(text, 27); };
  generation::DtausWriter writer(generation::SepaKindFor("Basislastschrift"),
                                 {field("TSV BEISPIEL"), "16050000", "3503007767"});
  for (const Debit& d : debits) {
    std::vector<std::string> lines;
    for (const std::string& line : d.lines) lines.push_back(field(line));
    writer.Append({d.bank_code, d.account, d.cents, d.name, lines});
  }
  return writer.Finish("0000000001", "030913", "10092013").transfer;
}

// The file with one trailer field, at its offset in the record, replaced by a number.
std::string WithTrailerField(std::string file, size_t offset, size_t width, int64_t value) {
  file.replace(file.size() - 128 + offset, width, testing::DtausNumber(value, width));
  return file;
}
constexpr size_t kTrailerCount = 10, kTrailerAccounts = 30, kTrailerBankCodes = 47,
                 kTrailerCents = 64;

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

TEST_F(DtausCheckerTest, SecondRemittanceLineGivesBackPaymentIdOrMandateUnlessExternal) {
  const std::string file = Write(TransferFile(ThreeDebits()));
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
  const std::string file = TransferFile(ThreeDebits());
  EXPECT_EQ(CheckText(WithTrailerField(file, kTrailerCount, 7, 4)),
            "DTAUS-Checker: Datensatz-Anzahl falsch (4 <> 3)");
  EXPECT_EQ(Values(out_, {&S::ProgChecPAOK, &S::ProgChecKANZ, &S::ProgChecDANZ}),
            (Texts{"DTAUS-Checker: Datensatz-Anzahl falsch (4 <> 3)", "4", "3"}));

  EXPECT_EQ(CheckText(WithTrailerField(file, kTrailerCents, 13, 125150)),
            "DTAUS-Checker: Betragsumme falsch (1251,5 <> 1251,55)");

  EXPECT_EQ(CheckText(WithTrailerField(file, kTrailerAccounts, 17, kAccountSum + 1)),
            "DTAUS-Checker: Kontosumme falsch (" + std::to_string(kAccountSum + 1) + " <> " +
                std::to_string(kAccountSum) + ")");
  ASSERT_EQ(values_.RowCount(), 3);  // the table is complete all the same
  EXPECT_EQ(Cell(3, 3), "VEREIN");

  EXPECT_EQ(CheckText(WithTrailerField(WithTrailerField(file, kTrailerCount, 7, 4),
                                       kTrailerBankCodes, 17, kBankCodeSum - 1)),
            "DTAUS-Checker: BLZ-Summe falsch (138381343 <> 138381344)");
}

// The writer stops at fourteen extensions; other programs write the fifteenth, which opens a
// block of its own.
TEST_F(DtausCheckerTest, RecordWithFifteenExtensionsIsFollowedByTheNextRecord) {
  std::vector<Debit> debits = ThreeDebits();
  debits[0].lines.clear();
  for (int k = 0; k <= 14; ++k) debits[0].lines.push_back("ZEILE " + std::to_string(k));
  std::string text = TransferFile(debits);
  ASSERT_EQ(text.substr(128, 4), "0593");
  text.replace(128, 4, "0622");
  text.replace(128 + 185, 2, "15");
  text.insert(128 + 640, "02" + testing::DtausText("ZEILE 15", 27 + 128 - 29));
  ASSERT_EQ(CheckText(text), "ok");
  std::string expected = "\"ZEILE 0\"";
  for (int k = 1; k <= 15; ++k) expected += ",\"ZEILE " + std::to_string(k) + "\"";
  EXPECT_EQ(Cell(1, 9), expected);
  EXPECT_EQ(Cell(2, 3), "MAX MUSTER");
}

TEST_F(DtausCheckerTest, BlankExtensionsCountOnlyBeforeAWrittenLine) {
  std::vector<Debit> debits = ThreeDebits();
  debits[0].lines = {"A", "", "C"};
  debits[1].lines = {"A", "B", "", "", "", "", ""};
  ASSERT_EQ(CheckText(TransferFile(debits)), "ok");
  EXPECT_EQ(Cell(1, 9), "\"A\",\"\",\"C\"");
  EXPECT_EQ(Cell(2, 9), "\"A\",\"B\"");
}

TEST_F(DtausCheckerTest, ForeignCurrencyFilesReadTheOldAmountFields) {
  std::string text = TransferFile(ThreeDebits());
  text[127] = ' ';  // no currency sign
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

  EXPECT_EQ(CheckText(TransferFile({})), "Fehler");
  EXPECT_EQ(out_.ProgChecPAOK.Value, "Fehler");

  EXPECT_EQ(Check(dir_.File("missing.txt")), "Fehler: Datei nicht gefunden (53)");
}

TEST_F(DtausCheckerTest, BrokenRecordChainEndsWithMessage142) {
  const std::string whole = TransferFile(ThreeDebits());
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
  std::string text = TransferFile(ThreeDebits());
  text.replace(text.size() - 128 + 10, 7, "000000X");
  EXPECT_EQ(CheckText(text), "Fehler: Typen unverträglich (13)");
}

TEST_F(DtausCheckerTest, BinaryAndOddInputNeverEscapesTheFrame) {
  const std::string whole = TransferFile(ThreeDebits());
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

// Files written by other programs: credit and debit, customer's and bank's files, all with the
// same two payments and trailer.
TEST_F(DtausCheckerTest, ReadsFilesOfOtherPrograms) {
  const std::pair<const char*, const char*> cases[] = {
      {"testParserBasicCredit.dta", "Gutschrift Kundendiskette"},
      {"testParserBasicCreditBankFile.dta", "Gutschrift Bankdiskette"},
      {"testParserBasicDebit.dta", "Lastschrift Kundendiskette"},
      {"testParserBasicDebitBankFile.dta", "Lastschrift Bankdiskette"},
      {"testParserTimestamp.dta", "Gutschrift Kundendiskette"},
      {"testContent.dta", "Gutschrift Kundendiskette"},
  };
  for (const auto& [file, kind] : cases) {
    SCOPED_TRACE(file);
    ASSERT_EQ(Check(DtausSample(file), /*external=*/true), "ok");
    ASSERT_EQ(values_.RowCount(), 2);
    EXPECT_EQ(
        Values(out_, {&S::SepaAART, &S::KreditorNAME, &S::Import__MDAT, &S::ProgChecKANZ,
                      &S::ProgChecKSUM, &S::ProgChecDSUM, &S::ProgChecISUM, &S::ProgChecBSUM}),
        (Texts{kind, "SENDERS NAME", "30.01.2010", "2", "1556,46", "1556,46", "27158000",
               "66668888"}));
    EXPECT_EQ(
        CellTexts(values_, 1, {3, 8, 9, 22, 23}),
        (Texts{"FRANZ MUELLER", "1234,56", "\"TEST-VERWENDUNGSZWECK\"", "0013579000", "33334444"}));
    EXPECT_EQ(Cell(2, 8), "321,90");
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
    EXPECT_EQ(CellTexts(values_, 1, {3, 8, 9}), (Texts{"A RECEIVERS NAME", "1234,56", expected}));
    // A7 "061226" read as day, month, year.
    EXPECT_EQ(Values(out_, {&S::Import__MDAT, &S::ProgChecISUM, &S::ProgChecBSUM}),
              (Texts{"06.12.2026", "3503007767", "16050000"}));
  }
}

}  // namespace
}  // namespace lastora
