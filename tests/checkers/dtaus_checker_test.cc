#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "formats/dtaus_record_layout.h"
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

struct Debit {
  std::string bank_code;
  std::string account;
  int64_t cents;
  std::string name;
  std::vector<std::string> lines;
};

std::vector<Debit> ThreeDebits() {
  return {{"37040044", "532013000", 1250, "ERIKA MUSTERMANN", {"BEITRAG 2013", "PAYMENT-ID 4711"}},
          {"51230500", "18102010", 500, "MAX MUSTER", {"BEITRAG 2013", "MANDAT M-2", "ZEILE 3"}},
          {"50110800", "6231602308", 123405, "VEREIN", {"SPENDE"}}};
}

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

class DtausCheckerTest : public ::testing::Test {
 protected:
  std::string Check(const std::string& file, bool external = false) {
    const std::string result =
        c1_.ext_DTAUS_Checker(vars_, values_, colours_, unused_, unused_, file, external);
    VariablenToRecord(vars_, out_);
    return result;
  }
  std::string CheckText(const std::string& bytes) {
    testing::WriteBytes(dir_.File("DTAUS_2013-09-10_FRST.txt"), bytes);
    return Check(dir_.File("DTAUS_2013-09-10_FRST.txt"));
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

TEST_F(DtausCheckerTest, TrailerFindingsNameBothValuesAndAnAmountThatIsNoNumberIsARowError) {
  std::string file = TransferFile(ThreeDebits());
  file.replace(file.size() - 128 + 10, 7, testing::DtausNumber(4, 7));  // the trailer's count
  EXPECT_EQ(CheckText(file), "DTAUS-Checker: Datensatz-Anzahl falsch (4 <> 3)");
  EXPECT_EQ(Values(out_, {&S::ProgChecPAOK, &S::ProgChecKANZ, &S::ProgChecDANZ}),
            (Texts{"DTAUS-Checker: Datensatz-Anzahl falsch (4 <> 3)", "4", "3"}));
  ASSERT_EQ(values_.RowCount(), 3);  // the table is complete all the same
  EXPECT_EQ(Cell(3, 3), "VEREIN");

  // An amount that is no number is the row's error, counted; the sum read leaves it out, so the
  // trailer's sum no longer agrees either.
  file = TransferFile(ThreeDebits());
  const dtaus::Field amount = dtaus::kCRecord[dtaus::kC12];
  const size_t name_at = file.find("MAX MUSTER");
  ASSERT_NE(name_at, std::string::npos);
  const size_t second_record = name_at - (dtaus::kCRecord[dtaus::kC14a].position - 1);
  file.replace(second_record + amount.position - 1, amount.width, std::string(amount.width, 'X'));
  CheckText(file);
  EXPECT_EQ(Cell(2, 26), "Betrag ungültig: '" + std::string(amount.width, 'X') + "'");
  EXPECT_EQ(CLng(colours_(2, 8)), 3);
  EXPECT_TRUE(colours_(1, 8).IsEmpty());
  EXPECT_EQ(Values(out_, {&S::ProgChecFehl, &S::ProgChecDSUM}), (Texts{"1", "1246,55"}));
}

TEST_F(DtausCheckerTest, FilesThatAreNoTransferFilesOrBreakTheRecordChainStopEarly) {
  values_ = Table(1, 1);
  values_(1, 1) = "caller's";
  EXPECT_EQ(CheckText("0127A" + std::string(200, ' ')), "DTAUS-Checker: Falsches Dateiformat");
  EXPECT_EQ(out_.ProgChecPAOK.Value, "DTAUS-Checker: Falsches Dateiformat");
  EXPECT_EQ(Cell(1, 1), "caller's");

  // A broken record chain ends with message 142.
  const std::string whole = TransferFile(ThreeDebits());
  const std::string message = "DTAUS-Checker: Formatfehler - Beginn Datensatz C nicht gefunden";

  // Cut inside the third payment: the two before it are shown.
  EXPECT_EQ(CheckText(whole.substr(0, 128 + 256 + 384 + 100)), message);
  ASSERT_EQ(values_.RowCount(), 2);
  EXPECT_EQ(Cell(2, 3), "MAX MUSTER");
  EXPECT_EQ(out_.ProgChecPAOK.Value, message);

  // A record length that is not one of the sixteen.
  std::string unknown = whole;
  unknown.replace(128 + 256, 4, "0300");
  EXPECT_EQ(CheckText(unknown), message);
}

// Credit and debit, customer's and bank's files of other programs, all with the same payments.
TEST_F(DtausCheckerTest, ReadsFilesOfOtherPrograms) {
  const std::pair<const char*, const char*> cases[] = {
      {"testParserBasicCredit.dta", "Gutschrift Kundendiskette"},
      {"testParserBasicDebitBankFile.dta", "Lastschrift Bankdiskette"},
  };
  for (const auto& [file, kind] : cases) {
    SCOPED_TRACE(file);
    ASSERT_EQ(Check(std::string(LASTORA_TESTDATA_DIR) + "/dtaus/" + file, /*external=*/true), "ok");
    ASSERT_EQ(values_.RowCount(), 2);
    EXPECT_EQ(
        Values(out_, {&S::SepaAART, &S::KreditorNAME, &S::Import__MDAT, &S::ProgChecKANZ,
                      &S::ProgChecKSUM, &S::ProgChecDSUM, &S::ProgChecISUM, &S::ProgChecBSUM}),
        (Texts{kind, "SENDERS NAME", "30.01.2010", "2", "1556,46", "1556,46", "27158000",
               "66668888"}));
    // The IBAN is built from the bank code and account.
    EXPECT_EQ(CellTexts(values_, 1, {3, 4, 8, 9, 22, 23}),
              (Texts{"FRANZ MUELLER", "DE86333344440013579000", "1234,56",
                     "\"TEST-VERWENDUNGSZWECK\"", "0013579000", "33334444"}));
    EXPECT_EQ(Cell(2, 8), "321,90");
  }
}

}  // namespace
}  // namespace lastora
