// A generation run under a fixed clock into a fresh folder, with a club's settings and a
// payment table laid out as the processing run leaves it.
#ifndef LASTORA_TESTS_GENERATION_GENERATION_FIXTURE_H_
#define LASTORA_TESTS_GENERATION_GENERATION_FIXTURE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "lastora/class1.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"
#include "support/club_settings.h"
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
  GenerationTest() : in(DefaultSettings()), folder(Folder()) {}

  // A club collecting CORE debits on 1 October 2013, lists and cover sheets on, no limits.
  static SEPAVARIABLEN DefaultSettings() {
    SEPAVARIABLEN s;
    AddClubGenerationSettings(s);
    s.SepaFuncBMAX.Value = "1000";
    s.SepaFuncBMIN.Value = "1";
    s.SepaFuncWARN.Value = "nicht warnen";
    return s;
  }

  // Runs ext_SEPA_Erzeugung on the rows; `out` then holds the settings the caller got back.
  std::string Run(bool dtaus = false) {
    RecordToVariablen(returned, in);
    payments = Table(static_cast<int32_t>(rows.size()), 27);
    colours = Table(static_cast<int32_t>(rows.size()), 27);
    // The table's column of each PaymentRow field, in the fields' order.
    constexpr int32_t kColumns[] = {3, 4, 5, 7, 8, 9, 10, 11, 12, 22, 23, 27};
    for (int32_t i = 1; i <= payments.RowUpper(); ++i) {
      const PaymentRow& r = rows[static_cast<size_t>(i - 1)];
      const Variant cells[] = {r.name,          r.iban,       r.bic,        r.payment_id,
                               r.amount,        r.remittance, r.mandate_id, r.mandate_date,
                               r.sequence_type, r.account,    r.bank_code,  r.warnings};
      for (size_t c = 0; c < std::size(kColumns); ++c) payments(i, kColumns[c]) = cells[c];
    }
    const std::string result =
        object.ext_SEPA_Erzeugung(returned, payments, colours, folder, dtaus);
    out = SEPAVARIABLEN{};
    VariablenToRecord(returned, out);
    // Whatever a test does, a document the run leaves under its name is one the bank accepts.
    for (const std::string& name : FileNames()) {
      if (name.ends_with(".xml")) {
        EXPECT_EQ(SepaSchemaErrorsOfFile(dir_.File(name)), "") << name;
      }
    }
    return result;
  }

  // Payments of every kind and form the golden files hold; the last two are left out of the
  // documents, one for its amount, one for its missing IBAN.
  void AddDebits() {
    rows.push_back({"Max Mustermann", "DE50512305000018102010", "BYLADEM1001", "M001-2013-10", 12.5,
                    "\"Beitrag 2013\",\"Mitglied 12\"", "M001",
                    Variant::Date(MakeDate(2010, 3, 15)), "FRST", "18102010", "51230500", ""});
    rows.push_back({"Meier & Soehne GmbH", " DE26501108006231602308 ", " INGDDEFFXXX ",
                    "M002-2013-10", "1234,5", "\"Beitrag 2013\"", "M002", "01.02.2012", "RCUR",
                    "6231602308", "50110800", ""});
    rows.push_back({"Erika Beispiel", "DE30500210000010116606", "BELADEBEXXX", "M003-2013-10", 0.01,
                    "\"Spende\",\"Jugendabteilung\",\"Danke\"", "M003",
                    Variant::Date(MakeDate(2013, 8, 1)), "OOFF", "10116606", "50021000", ""});
    rows.push_back({"Ohne Betrag", "DE63690400450272181900", "SOLADES1TUB", "M004-2013-10", 0.0,
                    "\"Beitrag 2013\"", "M004", Variant::Date(MakeDate(2011, 1, 1)), "FRST",
                    "272181900", "69040045", "Adresse alt"});
    rows.push_back({"Ohne IBAN", "", "BYLADEM1001", "M005-2013-10", 20.0, "\"Beitrag 2013\"",
                    "M005", Variant::Date(MakeDate(2011, 1, 1)), "FRST", "", "", ""});
  }

  std::string File(const std::string& name) const { return ReadBytes(dir_.File(name)); }
  std::string Folder() const { return dir_.path().string() + "/"; }
  std::vector<std::string> FileNames() const { return FileNamesIn(dir_.path()); }

  ScopedTestPlatform platform_{MakeDate(2013, 9, 3) + MakeTime(9, 5, 7)};  // local time
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
