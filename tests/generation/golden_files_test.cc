// Every file of a run compared byte for byte with a checked-in copy that was read against the
// layouts line by line; the fixture's run validates every SEPA document against its schema.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "generation/generation_fixture.h"

namespace lastora::testing {
namespace {

using Names = std::vector<std::string>;

void ExpectGolden(const std::string& actual, const std::string& golden_name) {
  const std::string expected = Golden(golden_name);
  ASSERT_FALSE(expected.empty()) << "no golden file " << golden_name;
  EXPECT_TRUE(actual == expected) << golden_name << " differs";
}

using GoldenFiles = GenerationTest;

// kind, separate lines, second pass id, golden file prefix of each pass
using SepaCase = std::tuple<const char*, const char*, const char*, Names>;
class SepaGolden : public GoldenFiles, public ::testing::WithParamInterface<SepaCase> {};

TEST_P(SepaGolden, EveryFileOfThePasses) {
  const auto& [kind, separate, second_pass, prefixes] = GetParam();
  in.SepaAART.Value = kind;
  in.SepaFuncVER0.Value = separate;
  in.SepaFPI2.Value = second_pass;
  AddDebits();
  ASSERT_EQ(Run(), "ok");
  for (size_t pass = 0; pass < prefixes.size(); ++pass) {
    const std::string base = pass == 0 ? "SEPA_2013-10-01_FRST" : "SEPA_2013-10-01_RCUR";
    for (const char* suffix : {".xml", "_Liste.txt", "_Begleitzettel.txt"}) {
      ExpectGolden(File(base + suffix), prefixes[pass] + suffix);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    GoldenFiles, SepaGolden,
    ::testing::Values(
        SepaCase{"Basislastschrift", "", "PII-2013-10-RCUR", {"core_frst", "core_rcur"}},
        SepaCase{"Firmenlastschrift", "Trennen", "PII-2013-10-RCUR", {"b2b_frst"}},
        SepaCase{"Überweisung", "", "-", {"transfer"}}));

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
