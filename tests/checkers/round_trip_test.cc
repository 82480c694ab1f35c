// What the generation run writes, the checkers read back into the same payments.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/text.h"
#include "generation/generation_fixture.h"
#include "support/field_texts.h"

namespace lastora::testing {
namespace {

class CheckerRoundTrip : public GenerationTest {
 protected:
  // The golden files' payments that reach a document, one of them with blanks around its account.
  void AddPayments() {
    AddDebits();
    rows.resize(3);
  }

  std::string CheckSepa(const std::string& first, const std::string& second) {
    const std::string result = checker.ext_SEPA_Checker(
        check_vars, values, check_colours, blz_intern, blz_new, Folder() + first,
        second.empty() || second == "-" ? second : Folder() + second);
    VariablenToRecord(check_vars, read);
    return result;
  }

  // The table's rows by their end-to-end reference (column 7).
  std::map<std::string, int32_t> RowsByReference() const {
    std::map<std::string, int32_t> by_reference;
    for (int32_t r = 1; r <= values.RowCount(); ++r) by_reference[CStr(values(r, 7))] = r;
    return by_reference;
  }

  static std::string AmountText(const Variant& amount) {
    return text::Replace(Format(Variant(CDbl(amount)), "0.00"), ".", ",");
  }

  // The remittance text as the document carries it: the quoted lines joined without separator.
  static std::string JoinedRemittance(const std::string& lines) {
    return text::Replace(text::Replace(lines, "\",\"", ""), "\"", "");
  }

  std::string Cell(int32_t row, int32_t column) const { return CStr(values(row, column)); }

  Class1 checker;
  VariantArray check_vars{206};
  Table values;
  Table check_colours;
  Table blz_intern;
  Table blz_new;
  SEPAVARIABLEN read;
};

TEST_F(CheckerRoundTrip, DirectDebitPassesComeBackAsTheRowsTheyWereWrittenFrom) {
  AddPayments();
  ASSERT_EQ(Run(), "ok");
  ASSERT_EQ(CheckSepa(out.SepaFIL1.Value, out.SepaFIL2.Value), "ok");

  // What the caller passed comes back as written.
  using S = SEPAVARIABLEN;
  const auto passed = {&S::KreditorNAME, &S::KreditorIBAN, &S::KreditorBIC_, &S::KreditorID__,
                       &S::SepaFMI1,     &S::SepaFMI2,     &S::SepaFPI1};
  EXPECT_EQ(Values(read, passed), Values(in, passed));
  EXPECT_EQ(Values(read, {&S::SepaAART, &S::Import__MDAT, &S::SepaADA1, &S::SepaADA2, &S::SepaLAR1,
                          &S::SepaLAR2, &S::ProgChecDANZ, &S::ProgChecKANZ, &S::ProgChecDSUM,
                          &S::ProgChecKSUM, &S::ProgChecFehl, &S::ProgChecKAN2, &S::ProgChecKSU2,
                          &S::ProgChecPAO2}),
            (Texts{"Basislastschrift", "03.09.2013 09:05:07", "01.10.2013", "01.10.2013", "FRST",
                   "RCUR", "3", "3", "1247,01", "1247,01", "0", "1", "1234,5", "ok"}));
  // The second file's rows follow the first's, numbered on.
  EXPECT_EQ(ColumnTexts(values, 7), (Texts{"M001-2013-10", "M003-2013-10", "M002-2013-10"}));
  EXPECT_EQ(ColumnTexts(values, 2), (Texts{"1", "2", "3"}));

  const std::map<std::string, int32_t> by_reference = RowsByReference();
  ASSERT_EQ(by_reference.size(), rows.size());
  for (const PaymentRow& row : rows) {
    SCOPED_TRACE(row.payment_id);
    ASSERT_TRUE(by_reference.contains(row.payment_id));
    const int32_t r = by_reference.at(row.payment_id);
    EXPECT_EQ(CellTexts(values, r, {3, 4, 5, 8, 9, 10, 24}),
              (Texts{row.name, text::Trim(row.iban), text::Trim(row.bic), AmountText(row.amount),
                     JoinedRemittance(row.remittance), row.mandate_id, "DE"}));
    // The date of signature comes back as the document's text.
    EXPECT_EQ(Cell(r, 11), Format(Variant::Date(CDate(row.mandate_date)), "YYYY-MM-DD"));
  }
}

TEST_F(CheckerRoundTrip, CreditTransferComesBackWithTheCreditorsAndNoMandates) {
  in.SepaAART.Value = "Überweisung";
  in.SepaFPI2.Value = "-";
  AddPayments();
  ASSERT_EQ(Run(), "ok");
  // An empty second name takes no part, as "-" does: its figures stay "0".
  ASSERT_EQ(CheckSepa(out.SepaFIL1.Value, ""), "ok");

  // The debtor, the club itself, takes the ordering party's place.
  using S = SEPAVARIABLEN;
  EXPECT_EQ(Values(read, {&S::SepaAART, &S::KreditorNAME, &S::KreditorIBAN, &S::SepaADA1,
                          &S::ProgChecPAO1, &S::ProgChecKAN1, &S::ProgChecKAN2, &S::ProgChecKSU2,
                          &S::SepaFMI2, &S::ProgChecFehl}),
            (Texts{"Überweisung", in.KreditorNAME.Value, in.KreditorIBAN.Value, "01.10.2013", "ok",
                   "3", "0", "0", "", "0"}));
  EXPECT_EQ(read.ProgChecDSUM.Value, read.ProgChecKSUM.Value);
  ASSERT_EQ(values.ColCount(), 29);
  EXPECT_EQ(check_colours.RowCount(), values.RowCount());
  const std::map<std::string, int32_t> by_reference = RowsByReference();
  ASSERT_EQ(by_reference.size(), rows.size());
  for (const PaymentRow& row : rows) {
    SCOPED_TRACE(row.payment_id);
    const int32_t r = by_reference.at(row.payment_id);
    EXPECT_EQ(values(r, 2), Variant(r));
    EXPECT_EQ(CellTexts(values, r, {3, 4, 8, 9, 26}),
              (Texts{row.name, text::Trim(row.iban), AmountText(row.amount),
                     JoinedRemittance(row.remittance), ""}));
    EXPECT_TRUE(values(r, 10).IsEmpty() && values(r, 11).IsEmpty());
  }
}

}  // namespace
}  // namespace lastora::testing
