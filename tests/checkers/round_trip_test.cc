// What the generation run writes as a credit transfer, the checker reads back into the same
// payments. Direct debits take that way in the sample club's calls, whose whole answer is pinned.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/text.h"
#include "generation/generation_fixture.h"
#include "support/field_texts.h"

namespace lastora::testing {
namespace {

using CheckerRoundTrip = GenerationTest;

TEST_F(CheckerRoundTrip, CreditTransferComesBackWithTheCreditorsAndNoMandates) {
  in.SepaAART.Value = "Überweisung";
  in.SepaFPI2.Value = "-";
  // The golden files' payments that reach a document, one of them with blanks around its account.
  AddDebits();
  rows.resize(3);
  ASSERT_EQ(Run(), "ok");
  Class1 checker;
  VariantArray check_vars{206};
  Table values, check_colours, blz_intern, blz_new;
  // An empty second name takes no part, as "-" does: its figures stay "0".
  ASSERT_EQ(checker.ext_SEPA_Checker(check_vars, values, check_colours, blz_intern, blz_new,
                                     Folder() + out.SepaFIL1.Value, ""),
            "ok");
  SEPAVARIABLEN read;
  VariablenToRecord(check_vars, read);

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
  // The table's rows by their end-to-end reference (column 7).
  std::map<std::string, int32_t> by_reference;
  for (int32_t r = 1; r <= values.RowCount(); ++r) by_reference[CStr(values(r, 7))] = r;
  ASSERT_EQ(by_reference.size(), rows.size());
  for (const PaymentRow& row : rows) {
    SCOPED_TRACE(row.payment_id);
    const int32_t r = by_reference.at(row.payment_id);
    EXPECT_EQ(values(r, 2), Variant(r));
    // The remittance text as the document carries it: the quoted lines joined without separator.
    EXPECT_EQ(CellTexts(values, r, {3, 4, 8, 9, 26}),
              (Texts{row.name, text::Trim(row.iban),
                     text::Replace(Format(Variant(CDbl(row.amount)), "0.00"), ".", ","),
                     text::Replace(text::Replace(row.remittance, "\",\"", ""), "\"", ""), ""}));
    EXPECT_TRUE(values(r, 10).IsEmpty() && values(r, 11).IsEmpty());
  }
}

}  // namespace
}  // namespace lastora::testing
