// Random member tables taken from processing to bank files: whatever the rows hold, every
// document written is one the bank's schema accepts, and every payment the processing run counted
// is either in exactly one document or marked as left out.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/cents.h"
#include "processing/run_findings.h"
#include "support/schema_validation.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

constexpr const char* kLeftOut = "Zahlung nicht in die Datei übernommen";

// What the documents of one generation run hold, gathered from their text.
struct Written {
  int64_t count = 0;
  int64_t cents = 0;
  std::multiset<std::string> end_to_end_ids;
};

void Gather(const std::string& document, Written& written) {
  // The amount is the first after the payment's reference, in either kind of document.
  static const std::regex kPayment(
      "<EndToEndId>([^<]*)</EndToEndId>[^]*?Ccy=\"EUR\">([^<]*)</InstdAmt>");
  for (std::sregex_iterator payment(document.begin(), document.end(), kPayment), end;
       payment != end; ++payment) {
    written.end_to_end_ids.insert((*payment)[1].str());
    written.cents += money::ToCents(std::stod((*payment)[2].str()));
    ++written.count;
  }
}

template <typename T>
const T& Pick(std::mt19937& random, const std::vector<T>& choices) {
  return choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random)];
}

class CollectionProperty : public FindingsTest {
 protected:
  void FillRandomTable(std::mt19937& random) {
    const std::vector<std::string> names = {"Anna Schmidt",        "Zoë Åkesson",
                                            "O'Brien & Co <GmbH>", "",
                                            std::string(80, 'x'),  "Jürgen Weiß"};
    // Few accounts, so that neighbours share one and are merged.
    const std::vector<std::string> ibans = {"DE89370400440532013000", "DE50512305000018102010",
                                            "DE26501108006231602308", ""};
    const std::vector<std::string> bics = {"COBADEFFXXX", "BYLADEM1001", "INGDDEFFXXX", "",
                                           "BYLADEM"};
    const std::vector<std::string> mandates = {"M-1", "M-2", "M/4", "M:5", "", "M 3"};
    const std::vector<Variant> amounts = {Variant(120.0), Variant(0.0),   Variant(0.12),
                                          Variant(1e9),   Variant(33.33), Variant()};
    const std::vector<Variant> dates = {DateCell(2011, 3, 1), Variant(), DateCell(2013, 11, 1)};
    const int32_t rows = std::uniform_int_distribution<int32_t>(1, 30)(random);
    StartTable(rows);
    for (int32_t row = 1; row <= rows; ++row) {
      Member member{.name = Pick(random, names),
                    .iban = Pick(random, ibans),
                    .bic = Pick(random, bics),
                    .mandate = Pick(random, mandates),
                    .contribution = Pick(random, amounts),
                    .first_collection = Pick(random, dates),
                    .one_off = Pick(random, amounts)};
      SetMember(row, member);
      Cell(row, 11) = Pick(random, dates);
    }
  }

  // The workbook numbers the payments before it generates the files; some numbers break the
  // identifier rules.
  void NumberPayments(std::mt19937& random) {
    for (int32_t row = 1; row <= values.RowUpper(); ++row) {
      Cell(row, 7) = Pick(random, std::vector<std::string>{"E2E-", "E2E-", "E2E ", "E2E_"}) +
                     std::to_string(row);
    }
  }
};

TEST_F(CollectionProperty, DocumentsAreValidAndHoldEveryCountedPaymentOnce) {
  int64_t all_written = 0;
  int64_t all_left_out = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    settings.SepaFuncCOLL.Value = "Sammeln";
    AddClubGenerationSettings(settings);
    FillRandomTable(random);
    ASSERT_EQ(Run(), "ok");
    NumberPayments(random);

    ScopedTempDir folder;
    VariantArray aVariablen;
    RecordToVariablen(aVariablen, reported);
    ASSERT_EQ(object.ext_SEPA_Erzeugung(aVariablen, values, colours, folder.path().string() + "/"),
              "ok");
    Written written;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      if (entry.path().extension() != ".xml") continue;
      const std::string document = ReadBytes(entry.path().string());
      EXPECT_EQ(SepaSchemaErrorsOfFile(entry.path().string()), "") << entry.path().filename();
      Gather(document, written);
    }

    int64_t left_out = 0;
    int64_t left_out_cents = 0;
    for (int32_t row = 1; row <= values.RowUpper(); ++row) {
      const std::string id = Text(row, 7);
      if (!IsNumeric(values(row, 8)) || CDbl(values(row, 8)) <= 0) continue;
      if (Text(row, 26).find(kLeftOut) != std::string::npos) {
        EXPECT_EQ(written.end_to_end_ids.count(id), 0u) << "row " << row;
        ++left_out;
        left_out_cents += money::ToCents(CDbl(values(row, 8)));
      } else {
        EXPECT_EQ(written.end_to_end_ids.count(id), 1u) << "row " << row;
      }
    }
    all_written += written.count;
    all_left_out += left_out;
    EXPECT_EQ(written.count + left_out, CDbl(Variant(reported.ProgBearDANZ.Value)));
    EXPECT_EQ(written.cents + left_out_cents,
              money::ToCents(CDbl(Variant(reported.ProgBearDSUM.Value))));
  }
  // The tables are random; these make sure they reached both outcomes.
  EXPECT_GT(all_written, 30);
  EXPECT_GT(all_left_out, 40);
}

}  // namespace
}  // namespace lastora::testing
