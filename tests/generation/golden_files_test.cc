// Every file of a run compared byte for byte with a checked-in copy that was read against the
// layouts line by line, and every SEPA document validated against its schema.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "generation/generation_fixture.h"
#include "support/schema_validation.h"

namespace lastora::testing {
namespace {

// On a mismatch the written file is left beside the build for a reviewer to diff.
void ExpectGolden(const std::string& actual, const std::string& golden_name) {
  const std::string expected = Golden(golden_name);
  EXPECT_FALSE(expected.empty()) << "no golden file " << golden_name;
  if (actual == expected) return;
  const auto mismatch_dir = std::filesystem::temp_directory_path() / "lastora-golden-mismatch";
  std::filesystem::create_directories(mismatch_dir);
  std::ofstream(mismatch_dir / golden_name, std::ios::binary) << actual;
  ADD_FAILURE() << golden_name << " differs; written file kept as "
                << (mismatch_dir / golden_name).string();
}

class GoldenFiles : public GenerationTest {
 protected:
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

  void ExpectSepaPass(const std::string& data_file, const std::string& golden_prefix) {
    const std::string base = data_file.substr(0, data_file.size() - 4);
    const std::string xml = File(data_file);
    EXPECT_EQ(SepaSchemaErrors(xml), "") << data_file;
    ExpectGolden(xml, golden_prefix + ".xml");
    ExpectGolden(File(base + "_Liste.txt"), golden_prefix + "_Liste.txt");
    ExpectGolden(File(base + "_Begleitzettel.txt"), golden_prefix + "_Begleitzettel.txt");
  }
};

TEST_F(GoldenFiles, CoreDirectDebit) {
  AddDebits();
  EXPECT_EQ(Run(), "ok");
  ExpectSepaPass("SEPA_2013-10-01_FRST.xml", "core_frst");
  ExpectSepaPass("SEPA_2013-10-01_RCUR.xml", "core_rcur");
}

TEST_F(GoldenFiles, B2bDirectDebit) {
  in.SepaAART.Value = "Firmenlastschrift";
  in.SepaFuncVER0.Value = "Trennen";
  AddDebits();
  EXPECT_EQ(Run(), "ok");
  ExpectSepaPass("SEPA_2013-10-01_FRST.xml", "b2b_frst");
}

TEST_F(GoldenFiles, CreditTransfer) {
  in.SepaAART.Value = "Überweisung";
  in.SepaFPI2.Value = "-";
  AddDebits();
  EXPECT_EQ(Run(), "ok");
  ExpectSepaPass("SEPA_2013-10-01_FRST.xml", "transfer");
}

TEST_F(GoldenFiles, Dtaus) {
  AddDebits();
  rows[0].remittance = "\"Beitrag 2013\"";
  rows[1].remittance = "\"Beitrag 2013\",\"Mitglied 12\",\"Abteilung Tennis\"";
  rows[2].remittance = "\"Zeile 1\",\"Zeile 2\",\"Zeile 3\",\"Zeile 4\"";
  rows.push_back(rows[2]);
  rows.back().name = "Jürgen Sechzehn";
  rows.back().payment_id = "M006-2013-10";
  rows.back().remittance = "\"Zeile 1\"";
  for (int line = 2; line <= 16; ++line) {
    rows.back().remittance += ",\"Zeile " + std::to_string(line) + " mit einem langen Text\"";
  }
  EXPECT_EQ(Run(/*dtaus=*/true), "ok");
  ExpectGolden(File("DTAUS_2013-10-01_FRST (mit Umbruch).txt"), "dtaus_frst_readable.txt");
  ExpectGolden(File("DTAUS_2013-10-01_FRST.txt"), "dtaus_frst_transfer.txt");
  ExpectGolden(File("DTAUS_2013-10-01_FRST_Liste.txt"), "dtaus_frst_Liste.txt");
  ExpectGolden(File("DTAUS_2013-10-01_FRST_Begleitzettel.txt"), "dtaus_frst_Begleitzettel.txt");
  ExpectGolden(File("DTAUS_2013-10-01.txt"), "dtaus_rcur_transfer.txt");
}

}  // namespace
}  // namespace lastora::testing
