// A generation run under a fixed clock into a fresh folder, with a club's settings and a
// payment table laid out as the processing run leaves it.
#ifndef LASTORA_TESTS_GENERATION_GENERATION_FIXTURE_H_
#define LASTORA_TESTS_GENERATION_GENERATION_FIXTURE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lastora/class1.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora::testing {

// One row of the payment table, in the columns the generation run reads.
struct PaymentRow {
  std::string name, iban, bic, payment_id;
  Variant amount;
  std::string remittance, mandate_id;
  Variant mandate_date;
  std::string sequence_type, account, bank_code, warnings;
};

class GenerationTest : public ::testing::Test {
 protected:
  // 3 September 2013, 9:05:07 local time.
  static double RunTime() { return MakeDate(2013, 9, 3) + MakeTime(9, 5, 7); }

  GenerationTest() : in(DefaultSettings()), folder(Folder()) {}

  // A club collecting CORE debits on 1 October 2013, lists and cover sheets on, no limits.
  static SEPAVARIABLEN DefaultSettings() {
    SEPAVARIABLEN s;
    s.KreditorNAME.Value = "TSV Musterstadt e.V.";
    s.KreditorIBAN.Value = "DE89370400440532013000";
    s.KreditorBIC_.Value = "COBADEFFXXX";
    s.KreditorID__.Value = "DE98ZZZ09999999999";
    s.SepaAART.Value = "Basislastschrift";
    s.SepaADAT.Value = "01.10.2013";
    s.SepaFPI1.Value = "PII-2013-10-FRST";
    s.SepaFMI1.Value = "MSG-2013-10-FRST";
    s.SepaFPI2.Value = "PII-2013-10-RCUR";
    s.SepaFMI2.Value = "MSG-2013-10-RCUR";
    s.SepaITXT.Value = "Liste drucken";
    s.SepaBTXT.Value = "Begleitzettel drucken";
    s.SepaFuncWARN.Value = "nicht warnen";
    s.SepaFuncBMAX.Value = "1000";
    s.SepaFuncBMIN.Value = "1";
    s.UserNAME.Value = "Erika Kassenwart";
    s.UserSTRE.Value = "Hauptstr. 1";
    s.UserPLZ_.Value = "12345 Musterstadt";
    s.UserTEL_.Value = "0123 456789";
    for (SEPAVALUES* counter :
         {&s.ProgErzeWarn, &s.ProgErzeDAN1, &s.ProgErzeDAN2, &s.ProgErzeDSU1, &s.ProgErzeDSU2}) {
      counter->Value = "0";
    }
    return s;
  }

  // Runs ext_SEPA_Erzeugung on the rows; `out` then holds the settings the caller got back.
  std::string Run(bool dtaus = false) {
    RecordToVariablen(returned, in);
    payments = Table(static_cast<int32_t>(rows.size()), 27);
    colours = Table(static_cast<int32_t>(rows.size()), 27);
    for (size_t r = 0; r < rows.size(); ++r) {
      const PaymentRow& row = rows[r];
      const int32_t i = static_cast<int32_t>(r) + 1;
      payments(i, 3) = row.name;
      payments(i, 4) = row.iban;
      payments(i, 5) = row.bic;
      payments(i, 7) = row.payment_id;
      payments(i, 8) = row.amount;
      payments(i, 9) = row.remittance;
      payments(i, 10) = row.mandate_id;
      payments(i, 11) = row.mandate_date;
      payments(i, 12) = row.sequence_type;
      payments(i, 22) = row.account;
      payments(i, 23) = row.bank_code;
      payments(i, 27) = row.warnings;
    }
    const std::string result =
        object.ext_SEPA_Erzeugung(returned, payments, colours, folder, dtaus);
    out = SEPAVARIABLEN{};
    VariablenToRecord(returned, out);
    ExpectValidDocuments();
    return result;
  }

  // Whatever a test does, a document the run leaves under its name is one the bank accepts.
  void ExpectValidDocuments() const {
    for (const std::string& name : FileNames()) {
      if (!name.ends_with(".xml")) continue;
      EXPECT_EQ(SepaSchemaErrorsOfFile(dir_.File(name)), "") << name;
    }
  }

  std::string File(const std::string& name) const { return ReadBytes(dir_.File(name)); }
  std::string Folder() const { return dir_.path().string() + "/"; }
  std::vector<std::string> FileNames() const { return FileNamesIn(dir_.path()); }

  ScopedTestPlatform platform_{RunTime()};
  ScopedTempDir dir_;
  SEPAVARIABLEN in;    // the settings passed
  std::string folder;  // strPathDTA_
  SEPAVARIABLEN out;   // the settings returned
  VariantArray returned;
  std::vector<PaymentRow> rows;
  Table payments;
  Table colours;
  Class1 object;
};

// The checked-in file's bytes; "" when it does not exist.
inline std::string Golden(const std::string& name) {
  return ReadBytes(std::string(LASTORA_GOLDEN_DIR) + "/" + name);
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_GENERATION_GENERATION_FIXTURE_H_
